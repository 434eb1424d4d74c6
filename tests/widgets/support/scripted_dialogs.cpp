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
    if (!answers_.empty() || !unsaved_.empty() || !files_.empty() || !previewAnswers_.empty() ||
        !choices_.empty()) {
        QTest::qFail(qPrintable(QString("scripted answers never asked for: %1 question(s), %2 "
                                        "unsaved-edits question(s), %3 file dialog(s), %4 "
                                        "preview(s), %5 choice(s)")
                                    .arg(answers_.size())
                                    .arg(unsaved_.size())
                                    .arg(files_.size())
                                    .arg(previewAnswers_.size())
                                    .arg(choices_.size())),
                     __FILE__, __LINE__);
    }
}

void ScriptedDialogs::information(QWidget*, const QString& text) {
    messages << text;
}

bool ScriptedDialogs::question(QWidget*, const QString& text, Default answer) {
    questions << text;
    questionDefaults << answer;
    if (answers_.empty()) {
        QTest::qFail(qPrintable("unexpected question: " + text), __FILE__, __LINE__);
        return false;
    }
    const bool ok = answers_.front();
    answers_.pop_front();
    return ok;
}

Dialogs::Unsaved ScriptedDialogs::askUnsaved(QWidget*, const UnsavedAsk& ask) {
    questions << ask.text;
    unsavedAsks << ask;
    if (unsaved_.empty()) {
        QTest::qFail(qPrintable("unexpected unsaved-edits question: " + ask.text), __FILE__,
                     __LINE__);
        return Unsaved::Cancel;
    }
    const Unsaved choice = unsaved_.front();
    unsaved_.pop_front();
    if (choice == Unsaved::Write && !ask.canWrite) {
        QTest::qFail(qPrintable("写入 was not offered: " + ask.text), __FILE__, __LINE__);
        return Unsaved::Cancel;
    }
    return choice;
}

int ScriptedDialogs::choose(QWidget*, const QString& text, const QStringList& options) {
    choiceTexts << text + " [" + options.join('|') + "]";
    if (choices_.empty()) {
        QTest::qFail(qPrintable("unexpected choice: " + text), __FILE__, __LINE__);
        return -1;
    }
    const int option = choices_.front();
    choices_.pop_front();
    return option;
}

QString ScriptedDialogs::openFile(QWidget*, const QString& filter, const QString& start) {
    filters << filter;
    starts << start;
    return nextFile();
}

QString ScriptedDialogs::saveFile(QWidget*, const QString& filter, const QString& suggested) {
    filters << filter;
    starts << suggested;
    return nextFile();
}

QString ScriptedDialogs::saveFileAs(QWidget* parent, const QList<SaveChoice>& choices) {
    saveChoices = choices;
    return Dialogs::saveFileAs(parent, choices);
}

QString ScriptedDialogs::chooseFolder(QWidget*, const QString& caption, const QString& start) {
    filters << caption;
    starts << start;
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
