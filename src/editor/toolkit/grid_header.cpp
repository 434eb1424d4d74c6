#include "toolkit/grid_header.h"

#include <QEvent>
#include <algorithm>

namespace vorlan {

GridHeader::GridHeader(Qt::Orientation orientation, QWidget* parent)
    : QHeaderView(orientation, parent) {
    // As a table view's own headers: a click selects the column or row, or sorts.
    setSectionsClickable(true);
    setHighlightSections(true);
    connect(this, &QHeaderView::sectionCountChanged, this, &GridHeader::forget);
}

void GridHeader::setModel(QAbstractItemModel* model) {
    if (QAbstractItemModel* old = this->model())
        disconnect(old, nullptr, this, nullptr);
    QHeaderView::setModel(model);
    forget();
    if (model == nullptr)
        return;
    connect(model, &QAbstractItemModel::headerDataChanged, this, [this](Qt::Orientation changed) {
        if (changed == orientation())
            forget();
    });
    // Other rows or columns at the ends.
    connect(model, &QAbstractItemModel::layoutChanged, this, &GridHeader::forget);
    connect(model, &QAbstractItemModel::modelReset, this, &GridHeader::forget);
}

bool GridHeader::event(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        forget();
    return QHeaderView::event(event);
}

QSize GridHeader::sizeHint() const {
    if (hint_)
        return *hint_;
    constexpr int kSampled = 24;  // at each end
    QSize hint(0, 0);
    const int sections = count();
    const auto measure = [&](int section) {
        if (!isSectionHidden(section))
            hint = hint.expandedTo(sectionSizeFromContents(section));
    };
    for (int i = 0; i < std::min(sections, kSampled); ++i)
        measure(i);
    for (int i = std::max(kSampled, sections - kSampled); i < sections; ++i)
        measure(i);
    hint_ = hint;
    return hint;
}

}  // namespace vorlan
