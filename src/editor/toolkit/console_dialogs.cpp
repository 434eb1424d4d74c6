#include "toolkit/console_dialogs.h"

#include "toolkit/console_text.h"

namespace vorlan {

namespace {

void print(const QString& text) {
    printEscaped(stderr, text);
}

}  // namespace

void ConsoleDialogs::information(QWidget*, const QString& text) {
    print(text);
}

bool ConsoleDialogs::question(QWidget*, const QString& text, Default) {
    print(text + QString::fromUtf8("\n（不能回答，按“取消”处理）"));
    return false;
}

Dialogs::Unsaved ConsoleDialogs::askUnsaved(QWidget*, const UnsavedAsk& ask) {
    print(ask.text);
    return Unsaved::Cancel;
}

int ConsoleDialogs::choose(QWidget*, const QString& text, const QStringList&) {
    print(text + QString::fromUtf8("\n（不能回答，按“取消”处理）"));
    return -1;
}

QString ConsoleDialogs::openFile(QWidget*, const QString&, const QString&) {
    return {};
}

QString ConsoleDialogs::saveFile(QWidget*, const QString&, const QString&) {
    return {};
}

QString ConsoleDialogs::chooseFolder(QWidget*, const QString&, const QString&) {
    return {};
}

bool ConsoleDialogs::confirmChanges(QWidget*, const ChangePreview& preview) {
    const QString notes = preview.notes.isEmpty() ? QString() : "\n" + preview.notes.join('\n');
    print(preview.summary + notes + QString::fromUtf8("\n（不能确认，没有写入）"));
    return false;
}

}  // namespace vorlan
