#pragma once
// Message boxes and file dialogs, behind one interface handed to every window, so that
// tests can answer them with a script instead of a modal dialog.

#include <QString>

class QWidget;

namespace vorlan {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A message with an OK button only.
    virtual void information(QWidget* parent, const QString& text) = 0;
    // A question with OK and Cancel; true only for OK.
    virtual bool question(QWidget* parent, const QString& text) = 0;
    // Unsaved edits are about to be left: "写入", "放弃" or "取消".
    enum class Unsaved { Write, Discard, Cancel };
    virtual Unsaved askUnsaved(QWidget* parent, const QString& text) = 0;
    // An open-file dialog; `filter` is in the "description | pattern" form. Empty when cancelled.
    virtual QString openFile(QWidget* parent, const QString& filter) = 0;
};

// The real dialogs: plain message boxes with the application's title and no icon.
class WidgetDialogs final : public Dialogs {
public:
    void information(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& text) override;
    Unsaved askUnsaved(QWidget* parent, const QString& text) override;
    QString openFile(QWidget* parent, const QString& filter) override;
};

// "SLKV_618.04(SLKV_618.04) | SLKV_618.04" -> "SLKV_618.04(SLKV_618.04) (SLKV_618.04)".
QString toQtFilter(const QString& filter);

}  // namespace vorlan
