#include "toolkit/dialogs.h"

#include <algorithm>

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QStringList>

#include "text/shown_text.h"
#include "toolkit/change_preview_dialog.h"
#include "toolkit/text.h"

namespace vorlan {

namespace {

QString title() {
    return QApplication::applicationDisplayName();
}

// A short message would make the box narrower than its title, which the window manager then
// cuts to "VORL…": the box is kept at least as wide as the title needs.
void fitTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr)
        return;
    const int width = box.fontMetrics().horizontalAdvance(box.windowTitle()) + 160;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

// A message as the box shows it: plain text (a cell like "<img src=…>" is not markup), with
// control characters from files shown as codes.
void setMessage(QMessageBox& box, const QString& text) {
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(escapeControls(text.toStdString(), true)));
}

}  // namespace

QString toQtFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // The program's texts often carry the pattern already ("补丁文件(*.bps, *.ips)"): it is
        // shown once, in the form the dialog reads ("补丁文件 (*.bps *.ips)").
        QString caption = parts[i].trimmed();
        const QString patterns = parts[i + 1].trimmed();
        const qsizetype open = std::max(caption.lastIndexOf('('), caption.lastIndexOf(u'（'));
        if (open > 0 && (caption.endsWith(')') || caption.endsWith(u'）')))
            caption = caption.left(open).trimmed();
        // A caption that is its own pattern ("SLKV_618.04") is shown as the pattern alone.
        filters << (caption.isEmpty() || caption == patterns ? patterns
                                                             : caption + " (" + patterns + ")");
    }
    return filters.join(";;");
}

void WidgetDialogs::information(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title(), QString(), QMessageBox::Ok, parent);
    setMessage(box, text);
    fitTitle(box);
    box.exec();
}

bool WidgetDialogs::question(QWidget* parent, const QString& text, Default answer) {
    QMessageBox box(QMessageBox::NoIcon, title(), QString(), QMessageBox::Ok | QMessageBox::Cancel,
                    parent);
    setMessage(box, text);
    box.setDefaultButton(answer == Default::Ok ? QMessageBox::Ok : QMessageBox::Cancel);
    fitTitle(box);
    return box.exec() == QMessageBox::Ok;
}

Dialogs::Unsaved WidgetDialogs::askUnsaved(QWidget* parent, const UnsavedAsk& ask) {
    QMessageBox box(QMessageBox::NoIcon, title(), QString(), QMessageBox::NoButton, parent);
    setMessage(box, ask.text);
    QAbstractButton* write = nullptr;
    if (ask.canWrite) {
        write = box.addButton(QString::fromUtf8(ask.several ? "全部写入" : "写入"),
                              QMessageBox::AcceptRole);
    }
    auto* discard = box.addButton(QString::fromUtf8(ask.several ? "全部放弃" : "放弃"),
                                  QMessageBox::DestructiveRole);
    auto* cancel = box.addButton(QString::fromUtf8("取消"), QMessageBox::RejectRole);
    QPushButton* byDefault = cancel;
    if (ask.answer == Unsaved::Write && write != nullptr)
        byDefault = static_cast<QPushButton*>(write);
    else if (ask.answer == Unsaved::Discard)
        byDefault = discard;
    box.setDefaultButton(byDefault);
    box.setEscapeButton(cancel);
    fitTitle(box);
    box.exec();
    if (write != nullptr && box.clickedButton() == write)
        return Unsaved::Write;
    if (box.clickedButton() == discard)
        return Unsaved::Discard;
    return Unsaved::Cancel;
}

int WidgetDialogs::choose(QWidget* parent, const QString& text, const QStringList& options) {
    QMessageBox box(QMessageBox::NoIcon, title(), QString(), QMessageBox::NoButton, parent);
    setMessage(box, text);
    QList<QAbstractButton*> buttons;
    for (const QString& option : options)
        buttons << box.addButton(option, QMessageBox::AcceptRole);
    auto* cancel = box.addButton(QString::fromUtf8("取消"), QMessageBox::RejectRole);
    if (!buttons.isEmpty())
        box.setDefaultButton(static_cast<QPushButton*>(buttons.first()));
    box.setEscapeButton(cancel);
    fitTitle(box);
    box.exec();
    return static_cast<int>(buttons.indexOf(box.clickedButton()));
}

QString WidgetDialogs::openFile(QWidget* parent, const QString& filter, const QString& start) {
    return shownPath(QFileDialog::getOpenFileName(parent, QString(), start, toQtFilter(filter)));
}

QString WidgetDialogs::saveFile(QWidget* parent, const QString& filter, const QString& suggested) {
    return shownPath(
        QFileDialog::getSaveFileName(parent, QString(), suggested, toQtFilter(filter)));
}

QString Dialogs::saveFileAs(QWidget* parent, const QList<SaveChoice>& choices) {
    QStringList filter;
    for (const SaveChoice& c : choices)
        filter << c.caption + "(" + c.pattern + ")" << c.pattern;
    return saveFile(parent, filter.join(" | "), choices.value(0).suggested);
}

QString WidgetDialogs::saveFileAs(QWidget* parent, const QList<SaveChoice>& choices) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList filters;
    for (const SaveChoice& c : choices)
        filters << c.caption + " (" + c.pattern + ")";
    dialog.setNameFilters(filters);
    // A bare name in the folder: Windows' own dialog refuses a whole path in its name box.
    const QFileInfo first(choices.value(0).suggested);
    dialog.setDirectory(first.absolutePath());
    dialog.selectFile(first.fileName());
    // The file name follows the format chosen; the folder stays the one shown.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, &choices, &filters](const QString& chosen) {
                         const qsizetype i = filters.indexOf(chosen);
                         if (i >= 0)
                             dialog.selectFile(QFileInfo(choices[i].suggested).fileName());
                     });
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return shownPath(dialog.selectedFiles().value(0));
}

QString WidgetDialogs::chooseFolder(QWidget* parent, const QString& caption, const QString& start) {
    return shownPath(QFileDialog::getExistingDirectory(parent, caption, start));
}

bool WidgetDialogs::confirmChanges(QWidget* parent, const ChangePreview& preview) {
    ChangePreviewDialog dialog(preview, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace vorlan
