#include "toolkit/lazy_tab.h"

#include <QVBoxLayout>

#include "toolkit/wheel_guard.h"

namespace vorlan {

LazyTab::LazyTab(std::function<QWidget*()> build, QWidget* parent)
    : QWidget(parent), build_(std::move(build)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

QWidget* LazyTab::page() {
    if (build_) {
        const auto build = std::exchange(build_, nullptr);
        QWidget* content = build();
        layout()->addWidget(content);
        setFocusProxy(content);
        // Choice boxes built now take the wheel only when focused, as the others do.
        guardWheel(content);
        emit built(content);
    }
    return layout()->itemAt(0)->widget();
}

void LazyTab::showEvent(QShowEvent* event) {
    page();
    QWidget::showEvent(event);
}

void buildLazyTabs(QWidget* root) {
    for (LazyTab* tab : root->findChildren<LazyTab*>()) {
        if (!tab->isBuilt())
            tab->page();
    }
}

}  // namespace vorlan
