#include "widgets/support/scripted_dialogs.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace vorlan::test {

ScriptedDialogs::ScriptedDialogs() : watchdog_(std::make_unique<QTimer>()) {
    QObject::connect(watchdog_.get(), &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
            QTest::qFail("a modal dialog appeared that bypassed the dialogs interface", __FILE__,
                         __LINE__);
        }
    });
    watchdog_->start(100);
}

ScriptedDialogs::~ScriptedDialogs() = default;

void ScriptedDialogs::information(QWidget*, const QString& text) {
    messages << text;
}

bool ScriptedDialogs::question(QWidget*, const QString& text) {
    questions << text;
    if (answers_.empty()) {
        QTest::qFail(qPrintable("unexpected question: " + text), __FILE__, __LINE__);
        return false;
    }
    const bool ok = answers_.front();
    answers_.pop_front();
    return ok;
}

Dialogs::Unsaved ScriptedDialogs::askUnsaved(QWidget*, const QString& text) {
    questions << text;
    if (unsaved_.empty()) {
        QTest::qFail(qPrintable("unexpected unsaved-edits question: " + text), __FILE__, __LINE__);
        return Unsaved::Cancel;
    }
    const Unsaved choice = unsaved_.front();
    unsaved_.pop_front();
    return choice;
}

QString ScriptedDialogs::openFile(QWidget*, const QString& filter) {
    filters << filter;
    if (files_.empty()) {
        QTest::qFail("unexpected file dialog", __FILE__, __LINE__);
        return {};
    }
    const QString path = files_.front();
    files_.pop_front();
    return path;
}

}  // namespace vorlan::test
