#pragma once
// The "机师修改" page: the pilot list with its filter and the three inner pages of one
// pilot record, written, copied and pasted through the shared record flow; three hints.

#include <QWidget>

class QTabWidget;

namespace vorlan {

class EditorContext;
class EntryListView;
class RecordBrowser;

class PilotPage : public QWidget {
    Q_OBJECT
public:
    explicit PilotPage(EditorContext& context, QWidget* parent = nullptr);

private:
    QWidget* buildBasicPage();
    QWidget* buildSpiritPage();
    QWidget* buildSkillPage();
    // A hint button of `page` shows `text`.
    void hint(QWidget* page, const char* button, const char* text);

    EditorContext& context_;
    RecordBrowser* browser_ = nullptr;
    EntryListView* pilotList_;
    QTabWidget* tabs_;
};

}  // namespace vorlan
