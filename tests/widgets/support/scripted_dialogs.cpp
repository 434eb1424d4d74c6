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

// An answer scripted but never asked for means the program skipped a question the test
// expected: that fails the test as much as an unexpected question does.
ScriptedDialogs::~ScriptedDialogs() {
    if (!answers_.empty() || !unsaved_.empty() || !files_.empty() || !previewAnswers_.empty()) {
        QTest::qFail(qPrintable(QString("scripted answers never asked for: %1 question(s), %2 "
                                        "unsaved-edits question(s), %3 file dialog(s), %4 "
                                        "preview(s)")
                                    .arg(answers_.size())
                                    .arg(unsaved_.size())
                                    .arg(files_.size())
                                    .arg(previewAnswers_.size())),
                     __FILE__, __LINE__);
    }
}

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
    return nextFile();
}

QString ScriptedDialogs::saveFile(QWidget*, const QString& filter, const QString&) {
    filters << filter;
    return nextFile();
}

QString ScriptedDialogs::saveFileAs(QWidget* parent, const QList<SaveChoice>& choices) {
    saveChoices = choices;
    return Dialogs::saveFileAs(parent, choices);
}

QString ScriptedDialogs::chooseFolder(QWidget*, const QString& caption) {
    filters << caption;
    return nextFile();
}

QString ScriptedDialogs::nextFile() {
    if (files_.empty()) {
        QTest::qFail("unexpected file dialog", __FILE__, __LINE__);
        return {};
    }
    const QString path = files_.front();
    files_.pop_front();
    return path;
}

bool ScriptedDialogs::confirmChanges(QWidget*, const ChangePreview& preview) {
    previews << preview;
    if (previewAnswers_.empty()) {
        QTest::qFail(qPrintable("unexpected change preview: " + preview.summary), __FILE__,
                     __LINE__);
        return false;
    }
    const bool ok = previewAnswers_.front();
    previewAnswers_.pop_front();
    return ok;
}

}  // namespace vorlan::test
