#pragma once
// The list a page picks its entry from. It never moves by itself: a click or a key only asks
// for a row (pickRequested), and the list stands on a row only when told (showRow). So it
// always shows the entry the form shows, also when leaving an entry with unsaved edits is
// cancelled or a read fails.

#include <QListView>

namespace vorlan {

class EntryListModel;

class EntryListView : public QListView {
    Q_OBJECT
public:
    // `name` is the object name the binder, the tests and the command line know it by.
    explicit EntryListView(const QString& name, QWidget* parent = nullptr);

    EntryListModel* entries() const { return entries_; }
    // Makes `row` current and selected (-1: none) without asking for it.
    void showRow(int row);
    int shownRow() const { return shown_; }
    // Asks for `row` as a click on it does.
    void requestRow(int row) { emit pickRequested(row); }

signals:
    // A click (also on the row shown) or a key asked for this row.
    void pickRequested(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    EntryListModel* entries_;
    int shown_ = -1;
    bool following_ = false;  // the list moves because it was told to
    bool inKey_ = false;      // a key is being handled: its move is a request
    int keyRow_ = -1;         // the row that key moved to
};

}  // namespace vorlan
