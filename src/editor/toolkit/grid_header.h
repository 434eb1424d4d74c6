#pragma once
// A grid's header that takes its size from a few of its sections, once. Qt's header measures
// the captions of up to 200 sections each time its sections or their captions change
// (opening, sorting, each filter keystroke, each edit), and the view asks for that size many
// times on its way to the screen: more than the rest of a grid's work. The first and last
// few sections say as much about the width and height, and the size is measured again only
// when the sections or their captions change. Clickable, as a table view's own headers.

#include <QHeaderView>
#include <optional>

namespace vorlan {

class GridHeader final : public QHeaderView {
public:
    GridHeader(Qt::Orientation orientation, QWidget* parent);
    void setModel(QAbstractItemModel* model) override;
    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;

private:
    void forget() { hint_.reset(); }
    mutable std::optional<QSize> hint_;
};

}  // namespace vorlan
