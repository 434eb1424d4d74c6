#pragma once
// What a record page picks its entry with: a list (the unit and pilot lists) or a choice
// box (the row choosers of "其他修改"). Every pick is one signal: a keyboard move, a click
// on another entry, and also a click on the entry already shown (which neither control
// reports by itself), so that picking the shown entry again reads it again from the file.

#include <QObject>
#include <QStringList>

class QComboBox;
class QListWidget;

namespace vorlan {

class EntryChooser : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Makes `row` current again without a pick (after the user cancelled leaving an entry).
    virtual void restore(int row) = 0;
    virtual void setLabels(const QStringList& labels) = 0;
    virtual QString label(int row) const = 0;
    // False when the control shows something other than entry `row` (a choice box whose
    // typed text names no entry).
    virtual bool shows(int row) const = 0;

signals:
    void picked(int row);
};

class ListChooser final : public EntryChooser {
    Q_OBJECT
public:
    explicit ListChooser(QListWidget* list);
    QListWidget* list() const { return list_; }
    void restore(int row) override;
    void setLabels(const QStringList& labels) override;
    QString label(int row) const override;
    bool shows(int) const override { return true; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* list_;
    int currentAtPress_ = -1;
    bool restoring_ = false;
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
