#include "toolkit/lazy_page.h"

namespace vorlan {

LazyPage::LazyPage(std::function<QWidget*()> build, QWidget* parent)
    : QScrollArea(parent), build_(std::move(build)) {
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
}

QWidget* LazyPage::page() {
    if (build_ != nullptr) {
        const auto build = std::exchange(build_, nullptr);
        const bool focused = hasFocus();
        setWidget(build());
        setFocusProxy(widget());
        if (focused)
            widget()->setFocus();
        emit built(widget());
    }
    return widget();
}

void LazyPage::showEvent(QShowEvent* event) {
    page();
    QScrollArea::showEvent(event);
}

}  // namespace vorlan
