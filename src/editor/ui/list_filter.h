#pragma once
// A filter box above a long list of names: rows stay in place (a row's number is its
// entry number) and rows that do not match are hidden. A row matches when the text is in
// its number, its list name or a further text of its own (the decoded in-game name).
// Up and Down in the box move through the visible rows of the list; Enter takes the
// first visible row when the current one is hidden and puts the focus on the list.
// Clearing the box shows every row and keeps the selection.

#include <QObject>
#include <functional>

class QLineEdit;
class QListWidget;

namespace vorlan {

class ListFilter : public QObject {
    Q_OBJECT
public:
    ListFilter(QLineEdit* box, QListWidget* list, std::function<QString(int row)> extra = {});
    // Applies the box's text again (after the list or the extra texts changed).
    void apply();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* box_;
    QListWidget* list_;
    std::function<QString(int)> extra_;
};

}  // namespace vorlan
