#pragma once
// A one-line note beside a box (what a name code will store): it never widens or heightens
// its form as its text changes; a text longer than its place ends in "…" and is shown whole
// as its tip.

#include <QLabel>

namespace vorlan {

class NoteLabel : public QLabel {
    Q_OBJECT
public:
    explicit NoteLabel(const QString& name, QWidget* parent = nullptr);

    void setNote(const QString& text, bool warn);
    const QString& note() const { return note_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();
    QString note_;
};

// A word-wrapped note line whose height does not follow its width: a page holding it keeps
// the height it is given (a scroll area would otherwise give a height-for-width page its
// whole preferred height, scrolling its buttons out of view). QLabel sets the height-for-width
// flag again with every text; this one never reports it.
class WrappedNote : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    bool hasHeightForWidth() const override { return false; }
};

}  // namespace vorlan
