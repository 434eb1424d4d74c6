#include "app/history_side.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLayout>
#include <QScreen>
#include <QSplitter>
#include <QWidget>
#include <algorithm>

namespace vorlan {

HistorySide::HistorySide(QWidget* window, QSplitter* splitter, QWidget* pages, QWidget* history,
                         std::function<int()> pagesNeed)
    : QObject(window),
      window_(window),
      splitter_(splitter),
      pages_(pages),
      history_(history),
      pagesNeed_(std::move(pagesNeed)) {}

void HistorySide::setShown(bool shown) {
    if (!shown) {
        history_->hide();
        pages_->setMinimumWidth(0);
        splitter_->setOrientation(Qt::Horizontal);
        // The width it had, whatever the window manager made of the widening; the window's
        // least size is worked out again first (the history gone, the splitter told so), or
        // the window keeps the width.
        if (widthBefore_ > 0) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            if (QLayout* layout = window_->layout())
                layout->activate();
            window_->resize(widthBefore_, window_->height());
        }
        widthBefore_ = 0;
        return;
    }
    const int need = pagesNeed_();
    const int least = std::max(history_->minimumWidth(), history_->minimumSizeHint().width());
    const int beside = need + splitter_->handleWidth() + least;
    const int grow = std::max(0, beside - splitter_->width());
    const QScreen* screen = window_->screen();
    const int room = screen != nullptr
                         ? screen->availableGeometry().width() - window_->frameGeometry().width()
                         : 0;
    if (grow <= room)
        showBeside(need, grow);
    else
        showBelow();
}

void HistorySide::showBeside(int need, int grow) {
    splitter_->setOrientation(Qt::Horizontal);
    // The splitter cannot take from the page the width it needs.
    pages_->setMinimumWidth(need);
    history_->show();
    widthBefore_ = grow > 0 ? window_->width() : 0;
    if (grow > 0)
        window_->resize(window_->width() + grow, window_->height());
}

void HistorySide::showBelow() {
    splitter_->setOrientation(Qt::Vertical);
    history_->show();
    const int total = splitter_->height();
    const int height = std::max(history_->minimumSizeHint().height(), total / 3);
    splitter_->setSizes({total - height, height});
}

}  // namespace vorlan
