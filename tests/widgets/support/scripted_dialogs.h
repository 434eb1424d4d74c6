#pragma once
// Dialogs for widget tests: records every message, answers questions from a script, and
// fails the test on a question or file dialog it was not told to expect, and on a scripted
// answer that was never asked for.

#include <QString>
#include <QStringList>
#include <deque>
#include <memory>

class QTimer;

#include "ui/dialogs.h"

namespace vorlan::test {

class ScriptedDialogs final : public Dialogs {
public:
    // Starts a watchdog that fails the test if a real modal dialog ever appears.
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    void information(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& text) override;
    Unsaved askUnsaved(QWidget* parent, const QString& text) override;
    QString openFile(QWidget* parent, const QString& filter) override;
    void answerNextUnsaved(Unsaved choice) { unsaved_.push_back(choice); }

    void answerNextQuestion(bool ok) { answers_.push_back(ok); }
    void chooseNextFile(const QString& path) { files_.push_back(path); }

    QStringList messages;   // every information text, in order
    QStringList questions;  // every question text (also the unsaved-edits ones), in order
    QStringList filters;    // every file dialog filter, in order
    QString lastMessage() const { return messages.isEmpty() ? QString() : messages.last(); }

private:
    std::unique_ptr<QTimer> watchdog_;
    std::deque<bool> answers_;
    std::deque<Unsaved> unsaved_;
    std::deque<QString> files_;
};

}  // namespace vorlan::test
