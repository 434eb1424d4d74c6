#include "ui/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace vorlan {

namespace {

QString title() {
    return QApplication::applicationDisplayName();
}

}  // namespace

QString toQtFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        filters << parts[i].trimmed() + " (" + parts[i + 1].trimmed() + ")";
    }
    return filters.join(";;");
}

void WidgetDialogs::information(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title(), text, QMessageBox::Ok, parent);
    box.exec();
}

bool WidgetDialogs::question(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title(), text, QMessageBox::Ok | QMessageBox::Cancel,
                    parent);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

QString WidgetDialogs::openFile(QWidget* parent, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QString(), QString(), toQtFilter(filter));
}

}  // namespace vorlan
