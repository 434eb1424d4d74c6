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

}  // namespace vorlan
