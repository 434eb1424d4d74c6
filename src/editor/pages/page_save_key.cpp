#include "pages/page_save_key.h"

#include <QShortcut>
#include <QWidget>

#include "session/editor_context.h"
#include "session/record_browser.h"
#include "toolkit/text.h"

namespace vorlan {

void addPageSaveKey(QWidget* page, EditorContext& context, std::vector<RecordBrowser*> browsers) {
    auto* key = new QShortcut(QKeySequence::Save, page);
    key->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(key, &QShortcut::activated, page, [&context, browsers] {
        bool any = false;
        for (RecordBrowser* b : browsers) {
            if (!b->isDirty())
                continue;
            any = true;
            // A refused or failed write has said why; the groups after it wait.
            if (!b->write())
                return;
        }
        if (!any)
            emit context.session().note(u("本页没有尚未写入的修改，没有写入。"));
    });
}

}  // namespace vorlan
