#pragma once
// A scroll area that asks for its content's whole size, where Qt's own asks for at most a
// few dozen lines: a window made around it opens showing everything when the screen has the
// room, and its content scrolls only when the screen or the user makes the window smaller.

#include <QScrollArea>

namespace vorlan {

class FittingScroll : public QScrollArea {
    Q_OBJECT
public:
    explicit FittingScroll(QWidget* content, QWidget* parent = nullptr);

    QSize sizeHint() const override;
};

}  // namespace vorlan
