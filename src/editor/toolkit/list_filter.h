#pragma once
// A filter box above a long list of entries: rows stay in place (a row's number is its
// entry number) and rows that do not match are hidden. A row matches when the text is in
// its number, its label or the name the game stores for it. Up and Down in the box move
// through the visible rows of the list; Enter asks for the first visible row when the shown
// one is hidden and puts the focus on the list. Clearing the box shows every row and keeps
// the selection. A text that matches no row says so in the list.

#include <QObject>

class QLabel;
class QLineEdit;

namespace vorlan {

class EntryListView;

class ListFilter : public QObject {
    Q_OBJECT
public:
    ListFilter(QLineEdit* box, EntryListView* list);
    // Applies the box's text again (after the list or the game's names changed).
    void apply();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* box_;
    EntryListView* list_;
    QLabel* none_;  // "没有匹配的条目", over the empty list
};

}  // namespace vorlan
