#include "app/start_hint.h"

#include <QFont>
#include <QLabel>

#include "session/document_session.h"
#include "toolkit/lazy_page.h"
#include "toolkit/text.h"

namespace vorlan {

namespace {

QLabel* startHint() {
    // Short lines broken by hand, not wrapped: a word-wrapped label is laid out anew for every
    // width the layouts try, on four pages, which cost the start more than the rest of the
    // window.
    auto* hint =
        new QLabel(u("还没有打开游戏主程序。\n\n"
                     "点击上方的“打开”（Ctrl+O），选择 SLKV_618.04；\n"
                     "或者把文件拖到本窗口的任意位置；\n"
                     "或者从“最近”中选择打开过的文件。\n\n"
                     "使用说明在“使用相关”页（F1）。"));
    hint->setObjectName("StartHint");
    hint->setAlignment(Qt::AlignCenter);
    hint->setMargin(24);
    QFont larger = hint->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.2);
    hint->setFont(larger);
    return hint;
}

}  // namespace

NeedsFile::NeedsFile(LazyPage* page, DocumentSession& session, QWidget* parent)
    : QStackedWidget(parent) {
    addWidget(startHint());
    addWidget(page);
    // The page keeps the keyboard focus it is given, for when it is shown.
    setFocusProxy(page);
    if (session.document() != nullptr)
        setCurrentWidget(page);
    connect(&session, &DocumentSession::executableOpened, this, [this, page] {
        if (currentWidget() == page)
            return;
        // The keyboard stays here if it was here: on the page, when it is built.
        QWidget* focus = window()->focusWidget();
        const bool focused = focus == nullptr || focus == this || isAncestorOf(focus);
        setCurrentWidget(page);
        if (focused)
            page->setFocus();
    });
}

}  // namespace vorlan
