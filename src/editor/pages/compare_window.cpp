#include "pages/compare_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>
#include <map>
#include <set>

#include "bulk/change_text.h"
#include "bulk/table_io.h"
#include "io/path_text.h"
#include "session/editor_context.h"
#include "tables/catalog.h"
#include "toolkit/dialogs.h"
#include "toolkit/secondary_window.h"
#include "toolkit/text.h"
#include "toolkit/widgets.h"

namespace vorlan {

namespace {

constexpr int ChangeRole = Qt::UserRole + 1;  // index into diff_.changes, -1 for others

std::vector<std::uint8_t> bytesOf(const std::filesystem::path& path, bool readOnly) {
    DocumentOptions options;
    options.readOnly = readOnly;
    options.allowUnusualSize = true;
    const auto doc = Document::open(path, tableLayout(), options);
    return doc->read(0, static_cast<std::size_t>(doc->size()));
}

// `path`'s name for a message about it and `other`: its file name, with its folder when
// both files have the same name (two copies called SLKV_618.04).
std::string shownName(const std::filesystem::path& path, const std::filesystem::path& other) {
    if (path.filename() != other.filename())
        return pathText(path.filename());
    return pathText(path.parent_path().filename() / path.filename());
}

}  // namespace

CompareWindow* CompareWindow::open(EditorContext& context, QWidget* mainWindow) {
    if (context.session().editor(mainWindow) == nullptr)
        return nullptr;
    const QString path = context.dialogs().openFile(
        mainWindow, u("SLKV_618.04(SLKV_618.04) | SLKV_618.04 | 所有文件 (*) | *"),
        context.places().folder(FilePlaces::Kind::Compare));
    if (path.isEmpty())
        return nullptr;
    context.places().chosen(FilePlaces::Kind::Compare, path);
    if (auto* old =
            mainWindow->findChild<CompareWindow*>("CompareWindow", Qt::FindDirectChildrenOnly))
        old->close();
    auto* window = new CompareWindow(context, toPath(path), mainWindow);
    window->refresh();
    window->show();
    return window;
}

CompareWindow::CompareWindow(EditorContext& context, std::filesystem::path other, QWidget* parent)
    : QWidget(parent),
      context_(context),
      other_(std::move(other)),
      model_(new QStandardItemModel(this)),
      view_(new QTreeView),
      filter_(new QLineEdit),
      summary_(new QLabel) {
    setObjectName("CompareWindow");
    setWindowTitle(u("比较：") + u(pathText(other_.filename())));
    setAttribute(Qt::WA_DeleteOnClose);
    makeSecondary(this);
    filter_->setObjectName("CompareFilter");
    filter_->setPlaceholderText(u("筛选：表、条目、字段或值"));
    filter_->setClearButtonEnabled(true);
    summary_->setObjectName("CompareSummary");
    summary_->setWordWrap(true);
    view_->setObjectName("CompareList");
    view_->setModel(model_);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setUniformRowHeights(true);

    auto* takeField = button("TakeFields", u("采用所选字段"));
    auto* takeEntry = button("TakeEntries", u("采用所选条目"));
    auto* takeAll = button("TakeShown", u("采用显示的全部"));
    auto* again = button("CompareRefresh", u("重新比较"));
    auto* close = button("CompareClose", u("关闭"));
    for (QPushButton* b : {takeField, takeEntry, takeAll})
        b->setEnabled(!context_.session().isReadOnly());
    takeField->setToolTip(u("把所选字段改为另一个文件中的值（一次写入，可撤销）"));
    takeEntry->setToolTip(u("把所选行所在条目的全部不同字段改为另一个文件中的值"));
    takeAll->setToolTip(u("把列表中显示的全部字段改为另一个文件中的值"));

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {takeField, takeEntry, takeAll, again})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(filter_);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);

    connect(filter_, &QLineEdit::textChanged, this, &CompareWindow::applyFilter);
    connect(takeField, &QPushButton::clicked, this, [this] { take(Take::Fields); });
    connect(takeEntry, &QPushButton::clicked, this, [this] { take(Take::Entries); });
    connect(takeAll, &QPushButton::clicked, this, [this] { take(Take::Shown); });
    connect(again, &QPushButton::clicked, this, &CompareWindow::refresh);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    // What this program or another one writes changes the comparison.
    connect(&context_.session(), &DocumentSession::stepWritten, this, &CompareWindow::refresh);
    connect(&context_.session(), &DocumentSession::fileChanged, this, &CompareWindow::refresh);
    connect(&context_.session(), &DocumentSession::executableOpened, this, &QWidget::close);
    resize(900, 560);
}

void CompareWindow::refresh() {
    try {
        Document* mine = context_.session().document();
        if (mine == nullptr)
            return;
        const auto ours = mine->read(0, static_cast<std::size_t>(mine->size()));
        const auto theirs = bytesOf(other_, true);
        if (theirs.size() != ours.size()) {
            context_.dialogs().information(
                this, u("两个文件的长度不同，不能逐字段比较：\n") + u(pathText(other_)));
            diff_ = {};
        } else {
            diff_ = diffExecutables(ours, theirs);
        }
    } catch (const std::exception& e) {
        context_.dialogs().information(this, u("无法读取要比较的文件：\n") + u(e.what()));
        diff_ = {};
    }
    fill();
}

void CompareWindow::fill() {
    model_->clear();
    // Each value column named by its file: either may be the older one.
    const std::filesystem::path mine = context_.session().document() != nullptr
                                           ? context_.session().document()->path()
                                           : std::filesystem::path();
    model_->setHorizontalHeaderLabels({u("条目"), u("字段"),
                                       u(shownName(mine, other_)) + u("（打开的）"),
                                       u(shownName(other_, mine))});
    std::map<const TableDef*, QStandardItem*> groups;
    NameSource* names = &context_.session();
    for (std::size_t i = 0; i < diff_.changes.size(); ++i) {
        const FieldChange& c = diff_.changes[i];
        QStandardItem*& group = groups[c.table];
        if (group == nullptr) {
            group = new QStandardItem(u(c.table->caption) + " (" + u(c.table->name) + ")");
            model_->appendRow({group, new QStandardItem, new QStandardItem, new QStandardItem});
        }
        const ChangeText t = describeChange(c, names);
        QList<QStandardItem*> row{new QStandardItem(u(t.index + " " + t.label)),
                                  new QStandardItem(u(t.caption)), new QStandardItem(u(t.before)),
                                  new QStandardItem(u(t.after))};
        row[0]->setData(static_cast<int>(i), ChangeRole);
        row[1]->setToolTip(u(t.key));
        group->appendRow(row);
    }
    for (auto& [table, group] : groups)
        group->setText(group->text() + u("：%1 处").arg(group->rowCount()));
    if (!diff_.other.empty()) {
        auto* group = new QStandardItem(u("不属于任何字段的字节（编辑器从不写这些字节）"));
        model_->appendRow({group, new QStandardItem, new QStandardItem, new QStandardItem});
        for (const ByteRange& r : diff_.other) {
            auto* item = new QStandardItem(
                u("偏移 0x%1，%2 字节").arg(QString::number(r.offset, 16).toUpper()).arg(r.length));
            item->setData(-1, ChangeRole);
            group->appendRow({item, new QStandardItem, new QStandardItem, new QStandardItem});
        }
    }
    summary_->setText(
        diff_.changes.empty() && diff_.other.empty()
            ? u("两个文件相同：") + u(pathText(other_))
            : u("与 %1 相比，有 %2 个字段不同").arg(u(pathText(other_))).arg(diff_.changes.size()) +
                  (diff_.other.empty()
                       ? QString()
                       : u("，另有 %1 段字节不属于任何字段").arg(diff_.other.size())) +
                  u("。"));
    view_->expandAll();
    for (int c = 0; c < 4; ++c)
        view_->resizeColumnToContents(c);
    applyFilter();
}

void CompareWindow::applyFilter() {
    const QString text = filter_->text().trimmed();
    for (int g = 0; g < model_->rowCount(); ++g) {
        QStandardItem* group = model_->item(g);
        const bool groupMatches = group->text().contains(text, Qt::CaseInsensitive);
        int shown = 0;
        for (int r = 0; r < group->rowCount(); ++r) {
            bool match = text.isEmpty() || groupMatches;
            for (int c = 0; c < 4 && !match; ++c) {
                if (QStandardItem* item = group->child(r, c))
                    match = item->text().contains(text, Qt::CaseInsensitive);
            }
            view_->setRowHidden(r, group->index(), !match);
            shown += match ? 1 : 0;
        }
        view_->setRowHidden(g, {}, shown == 0);
    }
}

std::vector<const FieldChange*> CompareWindow::chosen(Take what) const {
    std::set<int> picked;
    if (what == Take::Shown) {
        for (int g = 0; g < model_->rowCount(); ++g) {
            QStandardItem* group = model_->item(g);
            if (view_->isRowHidden(g, {}))
                continue;
            for (int r = 0; r < group->rowCount(); ++r) {
                if (!view_->isRowHidden(r, group->index()))
                    picked.insert(group->child(r, 0)->data(ChangeRole).toInt());
            }
        }
    } else {
        for (const QModelIndex& index : view_->selectionModel()->selectedRows(0)) {
            if (!index.parent().isValid())
                continue;  // a table's heading
            picked.insert(model_->itemFromIndex(index)->data(ChangeRole).toInt());
        }
        if (what == Take::Entries) {
            std::set<std::pair<const TableDef*, int>> entries;
            for (int i : picked) {
                if (i >= 0)
                    entries.insert({diff_.changes[static_cast<std::size_t>(i)].table,
                                    diff_.changes[static_cast<std::size_t>(i)].index});
            }
            for (std::size_t i = 0; i < diff_.changes.size(); ++i) {
                if (entries.contains({diff_.changes[i].table, diff_.changes[i].index}))
                    picked.insert(static_cast<int>(i));
            }
        }
    }
    std::vector<const FieldChange*> out;
    for (int i : picked) {
        if (i >= 0)
            out.push_back(&diff_.changes[static_cast<std::size_t>(i)]);
    }
    return out;
}

void CompareWindow::take(Take what) {
    const std::vector<const FieldChange*> changes = chosen(what);
    if (changes.empty()) {
        context_.dialogs().information(this, what == Take::Shown
                                                 ? u("列表中没有可以采用的字段。")
                                                 : u("请先在列表中选择要采用的字段。"));
        return;
    }
    const std::filesystem::path mine = context_.session().document()->path();
    ChangePreview preview;
    preview.title = u("采用另一个文件中的值");
    preview.summary =
        u("将把 %1 个字段改为 %2 中的值：").arg(changes.size()).arg(u(shownName(other_, mine)));
    preview.accept = u("采用");
    for (const FieldChange* c : changes) {
        const ChangeText t = describeChange(*c, &context_.session());
        preview.rows.push_back({u(t.index + " " + t.label), u(t.caption), u(t.before), u(t.after)});
    }
    if (!context_.dialogs().confirmChanges(this, preview))
        return;
    // Each entry's values as stored now, with the taken fields set to the other file's.
    std::vector<EntryEdit> edits;
    try {
        Document* document = context_.session().document();
        const auto ours = document->read(0, static_cast<std::size_t>(document->size()));
        std::map<std::pair<const TableDef*, int>, std::size_t> at;
        for (const FieldChange* c : changes) {
            const auto key = std::pair(c->table, c->index);
            if (!at.contains(key)) {
                at[key] = edits.size();
                const auto shown = entryValues(*c->table, ours, c->index);
                edits.push_back({c->table, c->index, shown, shown});
            }
            edits[at[key]].edited[static_cast<std::size_t>(c->field)] = c->after;
        }
    } catch (const std::exception& e) {
        context_.session().readFailed(this, e);
        return;
    }
    const std::string label = "从 " + shownName(other_, mine) + " 采用 " +
                              std::to_string(changes.size()) + " 个字段到 " +
                              shownName(mine, other_);
    const WriteResult result = context_.writer().write(
        this, [&](EntryEditor& editor) { return editor.save(edits, label); });
    if (result.status == WriteResult::Status::Refused)
        context_.dialogs().information(this, u(result.message));
}

}  // namespace vorlan
