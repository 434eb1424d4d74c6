#pragma once
// A scroll area that asks for its content's whole size, where Qt's own asks for at most a
// few dozen lines: a window made around it opens showing everything when the screen has the
// room, and its content scrolls only when the screen or the user makes the window smaller.

#include <QScrollArea>

namespace vorlan {

class FittingScroll : public QScrollArea {
    Q_OBJECT
public:
    // `upDownOnly`: the area is never narrower than its content (it scrolls up and down only),
    // so a page keeps its columns while its buttons beside the area stay in view.
    explicit FittingScroll(QWidget* content, QWidget* parent = nullptr, bool upDownOnly = false);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool upDownOnly_;
};

}  // namespace vorlan
