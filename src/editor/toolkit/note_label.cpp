#include "toolkit/note_label.h"

#include <QResizeEvent>

namespace vorlan {

NoteLabel::NoteLabel(const QString& name, QWidget* parent) : QLabel(parent) {
    setObjectName(name);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setTextFormat(Qt::PlainText);
}

void NoteLabel::setNote(const QString& text, bool warn) {
    note_ = text;
    setToolTip(text);
    // A warning in the warm colour of the page's note line, readable on light and dark
    // palettes; a plain note in the window's own colour.
    if (warn) {
        QPalette p = palette();
        p.setColor(QPalette::WindowText, QColor(0xc0, 0x50, 0x2a));
        setPalette(p);
    } else {
        setPalette(QPalette());
    }
    elide();
}

QSize NoteLabel::sizeHint() const {
    return {160, fontMetrics().height()};
}

QSize NoteLabel::minimumSizeHint() const {
    return {40, fontMetrics().height()};
}

void NoteLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void NoteLabel::elide() {
    setText(fontMetrics().elidedText(note_, Qt::ElideRight, std::max(0, width())));
}

}  // namespace vorlan
