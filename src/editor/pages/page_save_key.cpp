#include "pages/page_save_key.h"

#include <QShortcut>
#include <QWidget>
#include <algorithm>
#include <iterator>

#include "session/editor_context.h"
#include "session/record_browser.h"
#include "toolkit/text.h"

namespace vorlan {

void addPageSaveKey(QWidget* page, EditorContext& context, std::vector<RecordBrowser*> browsers) {
    auto* key = new QShortcut(QKeySequence::Save, page);
    key->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(key, &QShortcut::activated, page, [&context, browsers] {
        std::vector<RecordBrowser*> dirty;
        std::copy_if(browsers.begin(), browsers.end(), std::back_inserter(dirty),
                     [](RecordBrowser* b) { return b->isDirty(); });
        if (dirty.empty())
            emit context.session().note(u("本页没有尚未写入的修改，没有写入。"));
        else
            RecordBrowser::writeTogether(dirty);
    });
}

}  // namespace vorlan
