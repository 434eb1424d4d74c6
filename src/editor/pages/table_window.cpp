#include "pages/table_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "pages/table_grid_window.h"
#include "pages/window_layouts.h"
#include "session/editor_context.h"
#include "session/record_browser.h"
#include "toolkit/drop_guard.h"
#include "toolkit/entry_chooser.h"
#include "toolkit/entry_form.h"
#include "toolkit/entry_list_view.h"
#include "toolkit/field_controls.h"
#include "toolkit/fitting_scroll.h"
#include "toolkit/note_label.h"
#include "toolkit/secondary_window.h"
#include "toolkit/text.h"
#include "toolkit/undo_controls.h"
#include "toolkit/wheel_guard.h"
#include "toolkit/widgets.h"

namespace vorlan {

namespace {

// The control of a field: a choice box for a choice, else a box wide enough for its values.
QWidget* control(const TableDef& table, const std::string& key) {
    const FieldDef& f = fieldByKey(table, key);
    if (f.encoding->kind() == ValueKind::Choice)
        return fieldControl(table, key, 100);
    return fieldControl(table, key, f.width == 1 ? 40 : f.width == 2 ? 56 : 84);
}

QLabel* centred(const QString& text) {
    auto* l = new QLabel(text);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

}  // namespace

TableWindow::TableWindow(EditorContext& context, const WindowLayout& layout, QWidget* parent)
    : QWidget(parent), context_(context), layout_(layout) {
    setObjectName(u(layout.form));
    setWindowTitle(u(layout.caption));
    setAttribute(Qt::WA_DeleteOnClose);
    makeSecondary(this);  // Esc is "返回"; it closes the window, asking first

    // The grids and notes scroll when the screen (or the user) makes the window smaller than
    // they are; the list and the buttons stay in view.
    auto* content = new QWidget;
    auto* right = new QVBoxLayout(content);
    auto* grids = new QGridLayout;
    for (std::size_t i = 0; i < layout.grids.size(); ++i) {
        const int per = layout.gridsPerRow;
        grids->addWidget(buildGrid(layout.grids[i]), static_cast<int>(i) / per,
                         static_cast<int>(i) % per, Qt::AlignLeft | Qt::AlignTop);
    }
    right->addLayout(grids);
    for (const std::string& note : layout.notes) {
        auto* label = new QLabel(u(note));
        label->setWordWrap(false);
        right->addWidget(label);
    }
    right->addStretch();
    auto* buttons = new QHBoxLayout;
    auto* save = writeButton("save", u("保存"));
    auto* back = button("open", u("返回"));
    buttons->addWidget(save);
    buttons->addWidget(back);
    buttons->addWidget(TableGridWindow::opener(
        context_, *layout.table, [this] { return browser_ != nullptr ? browser_->shown() : -1; },
        "GridButton", u("表格")));
    // The editor's history from here: the main window may lie behind other windows.
    QUndoStack* history = context_.history().stack();
    const auto [undo, redo] = undoButtons(history, "Table");
    buttons->addSpacing(12);
    buttons->addWidget(undo);
    buttons->addWidget(redo);
    buttons->addStretch();
    // A window made narrow keeps all five in view: each may shrink to its caption.
    for (int i = 0; i < buttons->count(); ++i) {
        if (auto* b = qobject_cast<QPushButton*>(buttons->itemAt(i)->widget()))
            b->setMinimumWidth(b->fontMetrics().horizontalAdvance(b->text()) + 24);
    }

    auto* body = new QHBoxLayout;
    EntryListView* list = nullptr;
    QLineEdit* filter = nullptr;
    if (layout.list) {
        list = new EntryListView("List1");
        list->setMinimumWidth(200);
        auto* side = new QVBoxLayout;
        if (layout.filter) {
            filter = textBox("FilterEntries", 200);
            side->addWidget(filter);
        }
        side->addWidget(list, 1);
        body->addLayout(side);
    }
    body->addWidget(new FittingScroll(content), 1);
    // This window's own last result: it covers the main window's status line.
    auto* status = new NoteLabel("WindowStatus");
    connect(&context_.session(), &DocumentSession::windowNote, status,
            [this, status](QWidget* window, const QString& text) {
                if (window == this)
                    status->setNote(text, false);
            });
    auto* whole = new QVBoxLayout(this);
    whole->addLayout(body, 1);
    whole->addLayout(buttons);
    whole->addWidget(status);
    guardWheel(this);
    refuseFileDrops(this, context_.dialogs());

    auto* form = new EntryForm(this, *layout.table, context_.session());
    browser_ = new RecordBrowser(context_, this, *form,
                                 list != nullptr ? new ListChooser(list) : nullptr, nullptr,
                                 {u(layout.caption),
                                  u(layout.caption),
                                  u("请先在左边的列表中选择一项，再%1。"),
                                  {},
                                  {},
                                  {}});
    if (filter != nullptr)
        browser_->setFilter(filter, list);
    // A read-only file: said in the caption, and 保存 is off.
    const auto readOnly = [this, save] {
        const bool on = context_.session().isReadOnly();
        setWindowTitle(u(layout_.caption) + (on ? u("（只读）") : QString()));
        save->setEnabled(!on);
    };
    readOnly();
    connect(&context_.session(), &DocumentSession::executableOpened, this, readOnly);
    connect(&context_.session(), &DocumentSession::executableMoved, this, readOnly);
    connect(save, &QPushButton::clicked, browser_, &RecordBrowser::write);
    connect(back, &QPushButton::clicked, this, &TableWindow::back);
    auto* saveKey = new QShortcut(QKeySequence::Save, this);
    connect(saveKey, &QShortcut::activated, browser_, &RecordBrowser::write);
    addUndoKeys(this, history);  // the main window's keys stop at its frame
    browser_->load();
    // A block window opens with its block shown (and shows it again for another
    // executable); a list window opens with nothing picked.
    if (!layout.list) {
        browser_->showEntry(0);
        connect(&context_.session(), &DocumentSession::executableOpened, browser_,
                [this] { browser_->showEntry(0); });
    }
    if (list != nullptr)
        setFocusProxy(list);
    // Opens at the size that shows everything; its first showing fits it into the screen.
    ensurePolished();
    resize(sizeHint());
}

QWidget* TableWindow::buildGrid(const WindowGrid& grid) {
    auto* box = new QWidget;
    auto* g = new QGridLayout(box);
    g->setContentsMargins(0, 0, 0, 0);
    int row = 0;
    const int first = grid.rows.empty() ? 0 : 1;  // column of the first box
    if (!grid.heading.empty())
        g->addWidget(centred(u(grid.heading)), row++, first, 1,
                     static_cast<int>(grid.cells.empty() ? 1 : grid.cells.front().size()));
    if (!grid.columns.empty()) {
        for (std::size_t c = 0; c < grid.columns.size(); ++c)
            g->addWidget(centred(u(grid.columns[c])), row, first + static_cast<int>(c));
        ++row;
    }
    for (std::size_t r = 0; r < grid.cells.size(); ++r) {
        if (r < grid.rows.size())
            g->addWidget(new QLabel(u(grid.rows[r])), row, 0);
        for (std::size_t c = 0; c < grid.cells[r].size(); ++c) {
            QWidget* w = control(*layout_.table, grid.cells[r][c]);
            if (grid.captionsAbove) {
                // Each box with its own caption above it.
                auto* cell = new QWidget;
                auto* v = new QVBoxLayout(cell);
                v->setContentsMargins(0, 0, 0, 0);
                auto* caption = new QLabel(fieldCaption(*layout_.table, grid.cells[r][c]));
                caption->setBuddy(w);
                v->addWidget(caption);
                v->addWidget(w);
                g->addWidget(cell, row, first + static_cast<int>(c));
            } else {
                // A box narrower than its column's caption stands in the column's middle,
                // under the caption.
                const Qt::Alignment middle =
                    qobject_cast<QLineEdit*>(w) != nullptr ? Qt::AlignHCenter : Qt::Alignment();
                g->addWidget(w, row, first + static_cast<int>(c), middle);
            }
        }
        ++row;
    }
    if (!grid.footers.empty() && !grid.cells.empty()) {
        const int span = static_cast<int>(grid.cells.front().size() / grid.footers.size());
        for (std::size_t k = 0; k < grid.footers.size(); ++k)
            g->addWidget(centred(u(grid.footers[k])), row, first + static_cast<int>(k) * span, 1,
                         span);
    }
    return box;
}

void TableWindow::back() {
    close();
}

void TableWindow::closeEvent(QCloseEvent* event) {
    if (!browser_->resolveEdits(this)) {
        event->ignore();
        return;
    }
    if (QWidget* main = parentWidget()) {
        main->raise();
        main->activateWindow();
    }
    QWidget::closeEvent(event);
}

}  // namespace vorlan
