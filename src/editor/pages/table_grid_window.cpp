#include "pages/table_grid_window.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "bulk/change_text.h"
#include "bulk/table_export.h"
#include "bulk/table_import.h"
#include "io/text_file.h"
#include "session/editor_context.h"
#include "session/entry_names.h"
#include "toolkit/choice_delegate.h"
#include "toolkit/dialogs.h"
#include "toolkit/drop_guard.h"
#include "toolkit/grid_header.h"
#include "toolkit/note_label.h"
#include "toolkit/secondary_window.h"
#include "toolkit/table_model.h"
#include "toolkit/table_proxy.h"
#include "toolkit/text.h"
#include "toolkit/undo_controls.h"
#include "toolkit/widgets.h"

namespace vorlan {

namespace {

QString gridName(const TableDef& table) {
    return "Grid_" + u(table.name);
}

}  // namespace

TableGridWindow* TableGridWindow::open(EditorContext& context, const TableDef& table, int entry,
                                       QWidget* from) {
    if (context.session().editor(from) == nullptr)
        return nullptr;
    QWidget* main = from->window();
    if (main->parentWidget() != nullptr)
        main = main->parentWidget()->window();  // from a secondary window: the main window
    auto* grid = main->findChild<TableGridWindow*>(gridName(table), Qt::FindDirectChildrenOnly);
    if (grid == nullptr) {
        grid = new TableGridWindow(context, table, main);
        grid->show();
    }
    grid->showEntry(entry);
    grid->raise();
    grid->activateWindow();
    return grid;
}

QPushButton* TableGridWindow::opener(EditorContext& context, const TableDef& table,
                                     std::function<int()> shown, const QString& name,
                                     const QString& caption) {
    auto* b = button(name, caption);
    b->setToolTip(u("以表格显示整个「") + u(table.caption) +
                  u("」表：排序、筛选、批量修改、导出和导入"));
    QObject::connect(b, &QPushButton::clicked, b, [&context, &table, shown, b] {
        open(context, table, shown ? shown() : -1, b);
    });
    return b;
}

TableGridWindow::TableGridWindow(EditorContext& context, const TableDef& table, QWidget* parent)
    : QWidget(parent),
      context_(context),
      table_(table),
      model_(new TableModel(table, context.session(), this)),
      proxy_(new TableProxy(*model_, this)),
      view_(new QTableView),
      filter_(new QLineEdit),
      count_(new QLabel) {
    setObjectName(gridName(table));
    setWindowTitle(u(table.caption) + u(" — 表格"));
    setAttribute(Qt::WA_DeleteOnClose);
    makeSecondary(this);  // Esc closes it as "返回" does
    // A table file dropped on the grid is imported as 导入… would (previewed first).
    refuseFileDrops(this, context_.dialogs(), [this](const QString& path) {
        if (!path.endsWith(".csv", Qt::CaseInsensitive) &&
            !path.endsWith(".json", Qt::CaseInsensitive))
            return false;
        if (context_.session().isReadOnly())
            context_.dialogs().information(this, u("游戏主程序以只读方式打开，不能导入。"));
        else if (resolveEdits(this))
            importFile(path);
        return true;
    });

    filter_->setObjectName("GridFilter");
    filter_->setPlaceholderText(u("筛选：编号、名称或游戏中的名称"));
    filter_->setClearButtonEnabled(true);
    count_->setObjectName("GridCount");
    view_->setObjectName("Grid");
    view_->setHorizontalHeader(new GridHeader(Qt::Horizontal, view_));
    view_->setVerticalHeader(new GridHeader(Qt::Vertical, view_));
    view_->setModel(proxy_);
    view_->setItemDelegate(new ChoiceDelegate(*model_, context.session(), view_));
    view_->setSortingEnabled(true);
    view_->sortByColumn(-1, Qt::AscendingOrder);  // file order until a header is clicked
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->horizontalHeader()->setSectionsMovable(false);
    // Rows of one height, never measured one by one: thousands of them cost nothing.
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);

    auto* write = writeButton("GridWrite", u("写入"));
    write->setToolTip(u("把表格中改过的格子一次写入游戏主程序 (Ctrl+S)"));
    auto* exportButton = button("GridExport", u("导出…"));
    exportButton->setToolTip(u("把整个表导出为 CSV 或 JSON 文件"));
    auto* importButton = writeButton("GridImport", u("导入…"));
    importButton->setToolTip(u("从 CSV 或 JSON 文件导入整个表（先显示将要改动的内容）"));
    auto* close = button("GridClose", u("返回"));
    // The editor's history from here: the main window may lie behind other windows.
    QUndoStack* history = context_.history().stack();
    const auto [undo, redo] = undoButtons(history, "Grid");
    addUndoKeys(this, history);

    auto* top = new QHBoxLayout;
    top->addWidget(filter_, 1);
    top->addWidget(count_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(write);
    bottom->addWidget(exportButton);
    bottom->addWidget(importButton);
    bottom->addSpacing(12);
    bottom->addWidget(undo);
    bottom->addWidget(redo);
    bottom->addStretch();
    bottom->addWidget(close);
    // What the current name cell will store, before it is written.
    auto* note = new NoteLabel("GridNote");
    const auto showNote = [this, note] {
        const QModelIndex at = proxy_->mapToSource(view_->currentIndex());
        bool warn = false;
        note->setNote(at.isValid() ? model_->cellNote(at.row(), at.column(), &warn) : QString(),
                      warn);
    };
    connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, note, showNote);
    connect(model_, &QAbstractItemModel::dataChanged, note, showNote);
    // This window's own last result: it covers the main window's status line.
    auto* status = new NoteLabel("WindowStatus");
    connect(&context_.session(), &DocumentSession::windowNote, status,
            [this, status](QWidget* window, const QString& text) {
                if (window == this)
                    status->setNote(text, false);
            });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(view_, 1);
    layout->addWidget(note);
    layout->addLayout(bottom);
    layout->addWidget(status);

    connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) {
        proxy_->setText(text);
        updateCount();
    });
    connect(write, &QPushButton::clicked, this, &TableGridWindow::write);
    connect(exportButton, &QPushButton::clicked, this, &TableGridWindow::exportTable);
    connect(importButton, &QPushButton::clicked, this, &TableGridWindow::importTable);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, this,
            &TableGridWindow::write);
    connect(model_, &TableModel::inputRefused, this,
            [this](const QString& message) { context_.dialogs().information(this, message); });
    connect(model_, &TableModel::editsChanged, this, [this](bool any) {
        context_.pending().setPending(this, any);
        showTitle();
    });
    context_.pending().addSource(
        this, {[this] { return pendingRecords(); }, [this](QWidget*) { return this->write(); },
               [this] { model_->dropEdits(); }, this});
    // Whatever this program or another one writes is shown; edits of other cells stay.
    connect(&context_.session(), &DocumentSession::stepWritten, this, [this] { reload(true); });
    connect(&context_.session(), &DocumentSession::fileChanged, this, [this] { reload(true); });
    connect(&context_.session(), &DocumentSession::executableOpened, this, [this] {
        reload(false);
        useReadOnly();
        connect(&context_.session(), &DocumentSession::executableMoved, this,
                &TableGridWindow::useReadOnly);
    });
    useReadOnly();
    connect(&context_.session(), &DocumentSession::executableMoved, this,
            &TableGridWindow::useReadOnly);

    reload(false);
    fitColumns();
    resize(1000, 600);
}

void TableGridWindow::showTitle() {
    setWindowTitle(u(table_.caption) + u(" — 表格") +
                   (context_.session().isReadOnly() ? u("（只读）") : QString()) +
                   (model_->hasEdits() ? " *" : ""));
}

void TableGridWindow::useReadOnly() {
    // A read-only file: no cell takes typing and nothing offers a write.
    const bool readOnly = context_.session().isReadOnly();
    for (QPushButton* b : findChildren<QPushButton*>()) {
        if (writesFile(b))
            b->setEnabled(!readOnly);
    }
    view_->setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                                    : QAbstractItemView::DoubleClicked |
                                          QAbstractItemView::EditKeyPressed |
                                          QAbstractItemView::AnyKeyPressed);
    showTitle();
}

std::vector<std::uint8_t> TableGridWindow::fileBytes() {
    Document* document = context_.session().document();
    if (document == nullptr)
        return {};
    return document->read(0, static_cast<std::size_t>(document->size()));
}

void TableGridWindow::reload(bool keepEdits) {
    try {
        // The table's bytes only: the model reads its entries from them when shown.
        const std::uint32_t first = table_.entryOffset(0);
        if (Document* document = context_.session().document())
            model_->load(document->read(first, table_.end() - first), keepEdits, first);
    } catch (const std::exception& e) {
        context_.session().readFailed(this, e);
    }
    updateCount();
}

void TableGridWindow::fitColumns() {
    // Each column as wide as its caption and the longest of the first rows' texts. Qt's
    // resizeColumnsToContents measures a thousand rows of every column, which cost more
    // than the rest of the window; a column can still be fitted with a double click.
    constexpr int kSampled = 24;
    const QFontMetrics cell = view_->fontMetrics();
    const QFontMetrics caption = view_->horizontalHeader()->fontMetrics();
    const int margins = 2 * (view_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 6);
    const auto span = [](const QString& text) {  // a CJK character counts as two
        qsizetype n = 0;
        for (const QChar c : text)
            n += c.unicode() < 0x2E80 ? 1 : 2;
        return n;
    };
    const int rows = std::min(proxy_->rowCount(), kSampled);
    for (int c = 0; c < proxy_->columnCount(); ++c) {
        QString widest;
        for (int r = 0; r < rows; ++r) {
            const QString text = proxy_->index(r, c).data().toString();
            if (span(text) > span(widest))
                widest = text;
        }
        const QString title = proxy_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        view_->setColumnWidth(c, std::max(cell.horizontalAdvance(widest) + margins,
                                          caption.horizontalAdvance(title) + margins + 12));
    }
}

void TableGridWindow::updateCount() {
    count_->setText(u("显示 %1 / %2 行").arg(proxy_->rowCount()).arg(model_->rowCount()));
}

void TableGridWindow::showEntry(int entry) {
    if (entry < 0 || entry >= model_->rowCount())
        return;
    QModelIndex at = proxy_->mapFromSource(model_->index(entry, 0));
    if (!at.isValid()) {
        filter_->clear();  // the entry was filtered out: show every row
        at = proxy_->mapFromSource(model_->index(entry, 0));
    }
    view_->setCurrentIndex(at);
    view_->scrollTo(at, QAbstractItemView::PositionAtCenter);
}

bool TableGridWindow::write() {
    view_->setFocus();  // an editor still open hands its value to the model first
    if (!model_->hasEdits()) {
        context_.session().say(this, u("没有改动，未写入"));
        return false;
    }
    const std::vector<EntryEdit> edits = model_->edits();
    const std::string label = "表格（" + table_.caption + "）：" + std::to_string(edits.size()) +
                              " 个条目的 " + std::to_string(model_->editedCells()) + " 个字段";
    const WriteResult result = context_.writer().write(
        this, [&](EntryEditor& editor) { return editor.save(edits, label); });
    if (result.status == WriteResult::Status::Refused) {
        refused(edits, result);
        return false;
    }
    if (!result.ok())
        return false;
    model_->dropEdits();
    reload(false);
    if (result.status != WriteResult::Status::Written)
        return false;
    context_.session().sayWriteNotes(this, edits);
    return true;
}

void TableGridWindow::refused(const std::vector<EntryEdit>& edits, const WriteResult& result) {
    // Every bad cell named, marked, the first one shown: hidden rows too, so one answer is enough.
    constexpr std::size_t kNamed = 20;  // the rest in one line: the message stays on screen
    std::vector<std::pair<int, int>> cells;
    QString lines;
    for (const FieldRefusal& r : result.refusals) {
        if (r.edit < 0 || r.field < 0) {
            lines += '\n' + u(r.message);
            continue;
        }
        const int row = edits[static_cast<std::size_t>(r.edit)].index;
        const FieldDef& f = table_.fields[static_cast<std::size_t>(r.field)];
        if (cells.size() < kNamed)
            lines +=
                '\n' + model_->describeCell(row, r.field) + u(" — ") + u(f.encoding->accepted(f));
        cells.emplace_back(row, r.field);
    }
    if (cells.size() > kNamed)
        lines += '\n' + u("……另有 %1 个字段的值不能写入").arg(cells.size() - kNamed);
    if (result.refusals.empty())
        lines = u(result.message);
    model_->markRefused(cells);
    if (!cells.empty()) {
        const auto [row, field] = cells.front();
        if (!proxy_->shows(row))
            filter_->clear();
        const QModelIndex at = proxy_->mapFromSource(model_->index(row, model_->columnOf(field)));
        view_->setCurrentIndex(at);
        view_->scrollTo(at);
    }
    context_.dialogs().information(
        this, u("没有写入：") +
                  (cells.size() > 1 ? u("%1 个字段的值不能写入。").arg(cells.size()) : QString()) +
                  lines + u("\n请改正后再写入。"));
}

void TableGridWindow::exportTable() {
    FilePlaces& places = context_.places();
    const QString path = context_.dialogs().saveFile(
        this, u("CSV 文件 (*.csv) | *.csv | JSON 文件 (*.json) | *.json"),
        places.file(FilePlaces::Kind::Table, u(table_.name) + ".csv"));
    if (path.isEmpty())
        return;
    places.chosen(FilePlaces::Kind::Table, path);
    const TableFormat format =
        path.endsWith(".json", Qt::CaseInsensitive) ? TableFormat::Json : TableFormat::Csv;
    try {
        const std::string text =
            vorlan::exportTable(table_, fileBytes(), &context_.session(), format);
        const std::span bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
        // The file dialog has asked before a file of that name is replaced.
        context_.session().writeOutput(path, bytes, true);
    } catch (const std::exception& e) {
        context_.dialogs().information(this, u("导出失败：\n") + u(e.what()));
        return;
    }
    context_.session().say(
        this, u("已导出") + u(table_.caption) + u("到 ") + path +
                  (model_->hasEdits() ? u("（表格中尚未写入的改动没有导出）") : QString()));
}

void TableGridWindow::importTable() {
    if (!resolveEdits(this))
        return;
    FilePlaces& places = context_.places();
    const QString path = context_.dialogs().openFile(
        this, u("表格文件 (*.csv *.json) | *.csv *.json | 所有文件 (*) | *"),
        places.folder(FilePlaces::Kind::Table));
    if (path.isEmpty())
        return;
    places.chosen(FilePlaces::Kind::Table, path);
    importFile(path);
}

void TableGridWindow::importFile(const QString& path) {
    ImportPlan plan;
    try {
        plan = planImport(table_, readTextFile(toPath(path), kMaxImportFile), fileBytes(),
                          &context_.session());
    } catch (const std::exception& e) {
        context_.dialogs().information(this, u("无法读取要导入的文件：\n") + u(e.what()));
        return;
    }
    if (!plan.ok()) {
        QString text = u("没有导入任何内容：") + path + "\n";
        if (!plan.error.empty())
            text += u(plan.error) + "\n";
        for (const std::string& p : plan.problems)
            text += u(p) + "\n";
        context_.dialogs().information(this, text.trimmed());
        return;
    }
    if (plan.edits.empty()) {
        context_.dialogs().information(this, u("文件与游戏主程序一致，没有需要写入的改动。"));
        return;
    }
    ChangePreview preview;
    preview.title = u("导入预览");
    preview.summary =
        u("将改动 %1 个条目的 %2 个字段：").arg(plan.edits.size()).arg(plan.changes.size());
    preview.accept = u("导入");
    constexpr std::size_t kShownNotes = 20;  // the rest in one line: the dialog stays on screen
    for (std::size_t i = 0; i < std::min(plan.notes.size(), kShownNotes); ++i)
        preview.notes.push_back(u("注意：") + u(plan.notes[i]));
    if (plan.notes.size() > kShownNotes)
        preview.notes.push_back(u("……另有 %1 条同类注意事项").arg(plan.notes.size() - kShownNotes));
    for (const FieldChange& c : plan.changes) {
        const ChangeText t = describeChange(c, &context_.session());
        preview.rows.push_back({u(t.index + " " + t.label), u(t.caption), u(t.before), u(t.after)});
    }
    if (!context_.dialogs().confirmChanges(this, preview))
        return;
    const std::string label = plan.label(QFileInfo(path).fileName().toStdString());
    const WriteResult result = context_.writer().write(
        this, [&](EntryEditor& editor) { return editor.save(plan.edits, label); });
    if (result.status == WriteResult::Status::Refused)
        context_.dialogs().information(this, u(result.message));
}

std::vector<PendingRecord> TableGridWindow::pendingRecords() const {
    std::vector<PendingRecord> records;
    const QString where = u("「") + u(table_.caption) + u("」表格");
    for (const EntryEdit& e : model_->edits()) {
        PendingRecord r{where, entryName(table_, e.index, &context_.session()), {}};
        for (std::size_t i = 0; i < e.edited.size(); ++i) {
            if (!(e.edited[i] == e.shown[i]))
                r.fields << u(table_.fields[i].fullCaption());
        }
        records.push_back(std::move(r));
    }
    return records;
}

bool TableGridWindow::resolveEdits(QWidget* parent) {
    const std::vector<PendingRecord> records = pendingRecords();
    if (records.empty())
        return true;
    bringForward(this);
    return context_.pending().ask(
        parent, records, [this] { return write(); }, [this] { model_->dropEdits(); });
}

void TableGridWindow::closeEvent(QCloseEvent* event) {
    if (!resolved_ && !resolveEdits(this)) {
        event->ignore();
        return;
    }
    resolved_ = true;
    event->accept();
}

}  // namespace vorlan
