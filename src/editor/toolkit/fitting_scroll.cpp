#include "toolkit/fitting_scroll.h"

#include <QEvent>
#include <QScrollBar>

namespace vorlan {

FittingScroll::FittingScroll(QWidget* content, QWidget* parent, bool upDownOnly)
    : QScrollArea(parent), upDownOnly_(upDownOnly) {
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setWidget(content);
    if (upDownOnly_) {
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // The content's least width may grow (an inner page built later): the layout around
        // the area asks again.
        content->installEventFilter(this);
    }
}

bool FittingScroll::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget() && event->type() == QEvent::LayoutRequest)
        updateGeometry();
    return QScrollArea::eventFilter(watched, event);
}

QSize FittingScroll::sizeHint() const {
    const int frame = 2 * frameWidth();
    // Room for the vertical bar too: a window cut short by the screen then scrolls its
    // content up and down without also scrolling it sideways.
    return widget()->sizeHint() + QSize(frame + verticalScrollBar()->sizeHint().width(), frame);
}

QSize FittingScroll::minimumSizeHint() const {
    const QSize least = QScrollArea::minimumSizeHint();
    if (!upDownOnly_)
        return least;
    const int frame = 2 * frameWidth();
    return {widget()->minimumSizeHint().width() + frame + verticalScrollBar()->sizeHint().width(),
            least.height()};
}

}  // namespace vorlan
