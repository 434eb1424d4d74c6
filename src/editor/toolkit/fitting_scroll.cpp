#include "toolkit/fitting_scroll.h"

#include <QScrollBar>

namespace vorlan {

FittingScroll::FittingScroll(QWidget* content, QWidget* parent) : QScrollArea(parent) {
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setWidget(content);
}

QSize FittingScroll::sizeHint() const {
    const int frame = 2 * frameWidth();
    // Room for the vertical bar too: a window cut short by the screen then scrolls its
    // content up and down without also scrolling it sideways.
    return widget()->sizeHint() + QSize(frame + verticalScrollBar()->sizeHint().width(), frame);
}

}  // namespace vorlan
