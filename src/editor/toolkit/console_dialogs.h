#pragma once
// Dialogs that never wait for anyone, for runs nobody watches (timing the start): every
// message goes to standard error, questions are declined, unsaved edits are kept, and no
// file is chosen.

#include "toolkit/dialogs.h"

namespace vorlan {

class ConsoleDialogs final : public Dialogs {
public:
    void information(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& text, Default answer = Default::Ok) override;
    Unsaved askUnsaved(QWidget* parent, const UnsavedAsk& ask) override;
    int choose(QWidget* parent, const QString& text, const QStringList& options) override;
    QString openFile(QWidget* parent, const QString& filter, const QString& start) override;
    QString saveFile(QWidget* parent, const QString& filter, const QString& suggested) override;
    QString chooseFolder(QWidget* parent, const QString& caption, const QString& start) override;
    bool confirmChanges(QWidget* parent, const ChangePreview& preview) override;
};

}  // namespace vorlan
