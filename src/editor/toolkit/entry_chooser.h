#pragma once
// What a record page picks its entry with: a list (the unit and pilot lists) or a choice
// box (the row choosers of "其他修改"). Every pick is one signal: a keyboard move, a click
// on another entry, and also a click on the entry already shown, so that picking the shown
// entry again reads it again from the file. The page answers each pick by telling the
// chooser which entry its form shows now (restore): the chooser never stands elsewhere.

#include <QObject>
#include <QStringList>
#include <functional>

class QComboBox;

namespace vorlan {

class EntryListView;

class EntryChooser : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Makes `row` (the entry the form shows, -1: none) current without a pick.
    virtual void restore(int row) = 0;
    virtual void setLabels(const QStringList& labels) = 0;
    virtual QString label(int row) const = 0;
    // False when the control shows something other than entry `row` (a choice box whose
    // typed text names no entry).
    virtual bool shows(int row) const = 0;
    // Where the names the game stores for the entries come from (one per entry), for the
    // choosers that show them; and that they may have changed.
    virtual void setGameNames(std::function<QStringList()>) {}
    virtual void gameNamesChanged() {}

signals:
    void picked(int row);
};

class ListChooser final : public EntryChooser {
    Q_OBJECT
public:
    explicit ListChooser(EntryListView* list);
    EntryListView* list() const { return list_; }
    void restore(int row) override;
    void setLabels(const QStringList& labels) override;
    QString label(int row) const override;
    bool shows(int) const override { return true; }
    void setGameNames(std::function<QStringList()> read) override;
    void gameNamesChanged() override;

private:
    EntryListView* list_;
};

class ComboChooser final : public EntryChooser {
    Q_OBJECT
public:
    explicit ComboChooser(QComboBox* combo);
    void restore(int row) override;
    void setLabels(const QStringList& labels) override;
    QString label(int row) const override;
    bool shows(int row) const override;

private:
    QComboBox* combo_;
};

}  // namespace vorlan
