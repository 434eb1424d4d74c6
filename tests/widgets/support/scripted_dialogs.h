#pragma once
// Dialogs for widget tests: records every message, answers questions from a script, and
// fails the test on a question or file dialog it was not told to expect, and on a scripted
// answer that was never asked for.

#include <QString>
#include <QStringList>
#include <deque>
#include <memory>

class QTimer;

#include "toolkit/dialogs.h"

namespace vorlan::test {

class ScriptedDialogs final : public Dialogs {
public:
    // Starts a watchdog that fails the test if a real modal dialog ever appears.
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    void information(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& text, Default answer = Default::Ok) override;
    Unsaved askUnsaved(QWidget* parent, const UnsavedAsk& ask) override;
    int choose(QWidget* parent, const QString& text, const QStringList& options) override;
    QString openFile(QWidget* parent, const QString& filter, const QString& start) override;
    QString saveFile(QWidget* parent, const QString& filter, const QString& suggested) override;
    QString saveFileAs(QWidget* parent, const QList<SaveChoice>& choices) override;
    QString chooseFolder(QWidget* parent, const QString& caption, const QString& start) override;
    bool confirmChanges(QWidget* parent, const ChangePreview& preview) override;
    // An answer of "写入" to a question that offers no write fails the test.
    void answerNextUnsaved(Unsaved choice) { unsaved_.push_back(choice); }
    void answerNextPreview(bool ok) { previewAnswers_.push_back(ok); }
    // The option chosen in the next choice (-1: cancelled).
    void answerNextChoice(int option) { choices_.push_back(option); }

    void answerNextQuestion(bool ok) { answers_.push_back(ok); }
    // The answer of the next open, save or folder dialog (empty: cancelled).
    void chooseNextFile(const QString& path) { files_.push_back(path); }

    QStringList messages;             // every information text, in order
    QStringList questions;            // every question text (also the unsaved-edits ones), in order
    QStringList filters;              // every file dialog filter, in order
    QStringList starts;               // the folder (or file) every file dialog started at
    QList<Default> questionDefaults;  // the default answer of every question
    QList<UnsavedAsk> unsavedAsks;    // every unsaved-edits question as asked
    QStringList choiceTexts;          // every choice's text
    QList<ChangePreview> previews;    // every change preview shown, in order
    QList<SaveChoice> saveChoices;    // the formats the last saveFileAs offered
    QString lastMessage() const { return messages.isEmpty() ? QString() : messages.last(); }

private:
    QString nextFile();
    std::unique_ptr<QTimer> watchdog_;
    std::deque<bool> answers_;
    std::deque<Unsaved> unsaved_;
    std::deque<QString> files_;  // answers of open, save and folder dialogs
    std::deque<bool> previewAnswers_;
    std::deque<int> choices_;
};

}  // namespace vorlan::test
