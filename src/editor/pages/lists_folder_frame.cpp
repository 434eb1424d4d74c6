#include "pages/lists_folder_frame.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "lists/name_lists.h"
#include "session/editor_context.h"
#include "toolkit/dialogs.h"
#include "toolkit/text.h"
#include "toolkit/widgets.h"

namespace vorlan {

ListsFolderFrame::ListsFolderFrame(EditorContext& context, QWidget* parent)
    : QGroupBox(u("名称列表（unit.txt、pilot.txt、jn.txt、string.txt）"), parent),
      context_(context),
      path_(readOnlyBox("ListsFolder", 200)) {
    setObjectName("ListsFrame");
    auto* choose = button("ListsFolderButton", u("选择文件夹…"));
    choose->setToolTip(u("选择放有你自己的名称列表的文件夹；下次启动时仍然使用它"));
    auto* row = new QHBoxLayout;
    row->addWidget(path_, 1);
    row->addWidget(choose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    connect(choose, &QPushButton::clicked, this, &ListsFolderFrame::choose);
    showFolder();
}

void ListsFolderFrame::showFolder() {
    path_->setText(context_.session().listsShown());
}

void ListsFolderFrame::choose() {
    const QString folder = context_.dialogs().chooseFolder(
        this, u("选择名称列表所在的文件夹"), context_.places().folder(FilePlaces::Kind::Lists));
    if (folder.isEmpty())
        return;
    context_.places().chosen(FilePlaces::Kind::Lists, folder);
    try {
        loadNameLists(toPath(folder));
    } catch (const DataFileError& e) {
        context_.dialogs().information(
            this, u("这个文件夹的名称列表不能使用，没有改用它：\n") + u(e.what()));
        return;
    }
    emit folderChosen(folder);
}

}  // namespace vorlan
