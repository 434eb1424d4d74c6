#pragma once
// Every pick in a list as one signal: a keyboard move, a click on another row, and also a
// click on the row that is already current (which a list alone does not report), so that
// picking the shown entry again shows it again from the file.

#include <QObject>

class QListWidget;

namespace vorlan {

class ListPicker : public QObject {
    Q_OBJECT
public:
    explicit ListPicker(QListWidget* list);

    // Makes `row` current again without a pick (after the user cancelled leaving an entry).
    void restore(int row);

signals:
    void picked(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* list_;
    int currentAtPress_ = -1;
    bool restoring_ = false;
};

}  // namespace vorlan
