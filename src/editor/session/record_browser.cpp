#include "session/record_browser.h"

#include <algorithm>
#include <map>

#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>

#include "session/editor_context.h"
#include "session/entry_names.h"
#include "toolkit/dialogs.h"
#include "toolkit/entry_chooser.h"
#include "toolkit/entry_form.h"
#include "toolkit/form_binder.h"
#include "toolkit/list_filter.h"
#include "toolkit/secondary_window.h"
#include "toolkit/text.h"

namespace vorlan {

RecordBrowser::RecordBrowser(EditorContext& context, QWidget* page, EntryForm& form,
                             EntryChooser* chooser, QLineEdit* offsetBox, Words words)
    : QObject(page),
      context_(context),
      page_(page),
      form_(form),
      chooser_(chooser),
      offsetBox_(offsetBox),
      words_(std::move(words)) {
    connect(&context_.session(), &DocumentSession::executableOpened, this,
            &RecordBrowser::executableOpened);
    // The same bytes under another name (另存为): what is shown and edited stays, now writable.
    connect(&context_.session(), &DocumentSession::executableMoved, this, [this] {
        form_.setReadOnly(context_.session().isReadOnly());
        for (EntryForm* d : dependents_)
            d->setReadOnly(context_.session().isReadOnly());
    });
    connect(&context_.session(), &DocumentSession::fileChanged, this, &RecordBrowser::fileChanged);
    if (chooser_ != nullptr)
        connect(chooser_, &EntryChooser::picked, this, &RecordBrowser::showEntry);
    connect(&context_.session(), &DocumentSession::stepWritten, this, &RecordBrowser::stepWritten);
    // Fixed names are there from the start; names from the data folder come with a file.
    const TableDef& table = form_.table();
    if (chooser_ != nullptr && !table.labelRule && table.labelList == NameList::None &&
        !table.labelItems.empty())
        chooser_->setLabels(toStringList(table.labelItems));
    if (chooser_ != nullptr && !table.decoded.empty())
        chooser_->setGameNames([this] { return readGameNames(); });
    connect(&form_, &EntryForm::dirtyChanged, this, &RecordBrowser::updatePending);
    context_.pending().addSource(
        this, {[this] { return pendingRecords(); }, [this](QWidget*) { return write(); },
               [this] { discardEdits(); }, page_});
}

int RecordBrowser::shown() const {
    return form_.shownIndex();
}

void RecordBrowser::addDependent(EntryForm& form) {
    dependents_.push_back(&form);
    connect(&form, &EntryForm::dirtyChanged, this, &RecordBrowser::updatePending);
}

void RecordBrowser::setFilter(QLineEdit* box, EntryListView* list) {
    filter_ = new ListFilter(box, list);
}

void RecordBrowser::executableOpened() {
    load();
}

void RecordBrowser::load() {
    // Line k names entry k: the labels of the entries (names of the data folder's lists).
    if (chooser_ != nullptr) {
        QStringList labels;
        for (int i = 0; i < form_.table().count; ++i)
            labels << u(form_.table().label(i, &context_.session()));
        chooser_->setLabels(labels);
    }
    // Nothing takes typing until an entry is picked (typing would have nowhere to go), and
    // nothing at all in a read-only file.
    const bool readOnly = context_.session().isReadOnly();
    form_.fillNameLists();
    form_.setReadOnly(readOnly);
    form_.clear(false);
    for (EntryForm* d : dependents_) {
        d->fillNameLists();
        d->setReadOnly(readOnly);
        d->clear(false);
    }
    if (offsetBox_ != nullptr)
        offsetBox_->clear();
}

QString RecordBrowser::entryText(int index) const {
    return chooser_ != nullptr ? chooser_->label(index)
                               : u(form_.table().label(index, &context_.session()));
}

bool RecordBrowser::isDirty() const {
    bool dirty = form_.isDirty();
    for (const EntryForm* d : dependents_)
        dirty = dirty || d->isDirty();
    return dirty;
}

void RecordBrowser::updatePending() {
    context_.pending().setPending(this, isDirty());
}

bool RecordBrowser::showIn(EntryForm& form, int index) {
    EntryEditor* editor = context_.session().editor(page_);
    if (editor == nullptr)
        return false;
    const bool another = &form == &form_ && index != form_.shownIndex();
    try {
        form.show(*editor, index);
    } catch (const std::exception& e) {
        context_.session().readFailed(page_, e);
        return false;
    }
    // A note about the entry shown before is over once another is shown.
    if (another && staleNoted_) {
        staleNoted_ = false;
        emit context_.session().note(QString());
    }
    return true;
}

std::vector<PendingRecord> RecordBrowser::pendingRecords(const EntryForm* only) const {
    std::vector<PendingRecord> records;
    if (shown() < 0)
        return records;
    std::vector<const EntryForm*> forms{&form_};
    forms.insert(forms.end(), dependents_.begin(), dependents_.end());
    for (const EntryForm* f : forms) {
        if ((only != nullptr && f != only) || f->shownIndex() < 0 || !f->isDirty())
            continue;
        PendingRecord r{
            words_.where, entryName(f->table(), f->shownIndex(), &context_.session()), {}};
        for (int field : f->changedFields())
            r.fields << u(f->table().fields[static_cast<std::size_t>(field)].fullCaption());
        records.push_back(std::move(r));
    }
    return records;
}

void RecordBrowser::discardEdits() {
    // Dropped even when the file cannot be read again (it was replaced).
    form_.revert();
    for (EntryForm* d : dependents_)
        d->revert();
    refresh();
}

bool RecordBrowser::resolveEdits(QWidget* parent, EntryForm* only) {
    const std::vector<PendingRecord> records = pendingRecords(only);
    if (records.empty())
        return true;
    // Asked from elsewhere: the edits are shown while asked about.
    if (parent != page_) {
        bringForward(page_);
        parent = page_;
    }
    return context_.pending().ask(
        parent, records, [this] { return write(); },
        [this, only] {
            if (only != nullptr)
                only->clear(false);
            else
                discardEdits();
        });
}

void RecordBrowser::showEntry(int row) {
    // Whatever happens, the chooser ends on the entry the form shows.
    struct Follow {
        RecordBrowser& b;
        ~Follow() {
            if (b.chooser_ != nullptr)
                b.chooser_->restore(b.shown());
        }
    } follow{*this};
    if (!resolveEdits(page_))
        return;
    const int opened = context_.session().openCount();
    if (!showIn(form_, row)) {
        // A read that found the file replaced may have opened it again: read from there.
        if (context_.session().openCount() == opened || !showIn(form_, row))
            return;
    }
    staleOnDisk_ = false;
    for (EntryForm* d : dependents_)
        d->clear(false);
    if (offsetBox_ != nullptr)
        offsetBox_->setText(QString::number(form_.table().entryOffset(row), 16).toUpper());
    emit entryShown(row);
    emit entryRead();
}

bool RecordBrowser::showsBytesOf(const WriteStep& step) const {
    std::vector<const EntryForm*> forms{&form_};
    forms.insert(forms.end(), dependents_.begin(), dependents_.end());
    for (const EntryForm* f : forms) {
        if (f->shownIndex() < 0)
            continue;
        const std::uint64_t from = f->table().entryOffset(f->shownIndex());
        const std::uint64_t to = from + static_cast<std::uint64_t>(f->table().size);
        for (const ByteRun& r : step.runs) {
            if (r.offset < to && r.offset + r.after.size() > from)
                return true;
        }
    }
    return false;
}

bool RecordBrowser::touchesTable(const WriteStep& step) const {
    const TableDef& table = form_.table();
    const std::uint64_t from = table.entryOffset(0);
    const std::uint64_t to = table.end();
    for (const ByteRun& r : step.runs) {
        if (r.offset < to && r.offset + r.after.size() > from)
            return true;
    }
    return false;
}

void RecordBrowser::stepWritten(const WriteStep& step) {
    if (chooser_ != nullptr && touchesTable(step))
        chooser_->gameNamesChanged();
    if (writing_ || shown() < 0 || !showsBytesOf(step))
        return;
    if (!isDirty()) {
        refresh();
        return;
    }
    staleOnDisk_ = true;
    staleNoted_ = true;
    emit context_.session().note(u("注意：") + entryText(shown()) +
                                 u(" 显示之后已在另一处被写入改动；写入前会先询问。"));
}

void RecordBrowser::refresh() {
    const int index = shown();
    if (index < 0 || !showIn(form_, index))
        return;
    staleOnDisk_ = false;
    for (EntryForm* d : dependents_) {
        if (d->shownIndex() >= 0)
            showIn(*d, d->shownIndex());
    }
    emit entryRead();
}

void RecordBrowser::fileChanged(bool byOtherProgram) {
    if (chooser_ != nullptr)
        chooser_->gameNamesChanged();
    if (shown() < 0)
        return;
    if (isDirty()) {
        if (!byOtherProgram ||
            !context_.dialogs().question(
                page_, u("游戏主程序已被其他程序改动。要重新读取当前显示的") + words_.noun +
                           u("吗？\n（尚未写入的修改将被放弃；选“取消”保留这些修改）")))
            return;
    }
    refresh();
}

bool RecordBrowser::needEntry(const QString& action) {
    if (context_.session().editor(page_) == nullptr)
        return false;
    if (shown() < 0) {
        context_.dialogs().information(page_, words_.pickFirst.arg(action));
        return false;
    }
    if (chooser_ != nullptr && !chooser_->shows(shown())) {
        context_.dialogs().information(page_, u("选择框中输入的文字不是列表中的任何一项，没有") +
                                                  action + u("。请从列表中选择一项。"));
        return false;
    }
    return true;
}

std::optional<RecordBrowser::Batch> RecordBrowser::prepareWrite() {
    if (!needEntry(u("写入")))
        return std::nullopt;
    Batch batch{{form_.edit()}, {&form_}};
    for (EntryForm* d : dependents_) {
        if (d->shownIndex() >= 0) {
            batch.edits.push_back(d->edit());
            batch.forms.push_back(d);
        }
    }
    // A name shown cut short would lose the rest of the stored name: say so first.
    std::vector<std::string> cleared;
    try {
        cleared = context_.session().editor(page_)->clearedNameBytes(batch.edits);
    } catch (const std::exception& e) {
        context_.session().readFailed(page_, e);
        return std::nullopt;
    }
    if (!cleared.empty()) {
        QString text;
        for (const std::string& line : cleared)
            text += u(line) + '\n';
        if (!context_.dialogs().question(page_, text + u("\n仍然写入吗？"))) {
            context_.dialogs().information(page_, u("没有写入任何内容。"));
            return std::nullopt;
        }
    }
    if (staleOnDisk_ &&
        !context_.dialogs().question(
            page_,
            entryText(shown()) + u(" 显示之后，它的数据已在另一处被写入改动。写入会用这里的值覆盖"
                                   "你改过的字段。仍然写入吗？"))) {
        context_.dialogs().information(page_, u("没有写入任何内容。"));
        return std::nullopt;
    }
    return batch;
}

bool RecordBrowser::write() {
    return writeTogether({this});
}

bool RecordBrowser::writeTogether(const std::vector<RecordBrowser*>& browsers) {
    if (browsers.empty())
        return false;
    RecordBrowser& first = *browsers.front();
    // Every browser's edits in one write: one step, one status line.
    std::vector<Batch> batches;
    Batch all;
    for (RecordBrowser* b : browsers) {
        std::optional<Batch> batch = b->prepareWrite();
        if (!batch)
            return false;
        all.edits.insert(all.edits.end(), batch->edits.begin(), batch->edits.end());
        all.forms.insert(all.forms.end(), batch->forms.begin(), batch->forms.end());
        batches.push_back(std::move(*batch));
    }
    for (RecordBrowser* b : browsers)
        b->writing_ = true;
    const WriteResult result = first.context_.writer().write(
        first.page_, [&](EntryEditor& editor) { return editor.save(all.edits); });
    for (RecordBrowser* b : browsers)
        b->writing_ = false;
    if (result.status == WriteResult::Status::Refused && !result.message.empty()) {
        first.refused(all.forms, result);
        return false;
    }
    if (!result.ok())
        return false;
    for (std::size_t i = 0; i < browsers.size(); ++i) {
        browsers[i]->refresh();
        emit browsers[i]->written(batches[i].forms.size() > 1);
    }
    if (result.status == WriteResult::Status::Written)
        first.context_.session().sayWriteNotes(first.page_, all.edits);
    return true;
}

void RecordBrowser::copy() {
    if (!needEntry(u("复制")))
        return;
    if (!context_.dialogs().question(page_, words_.copyAsk)) {
        context_.dialogs().information(page_, u("没有进行复制操作"));
        return;
    }
    try {
        copied_ = context_.session().editor(page_)->copy(form_.table(), shown());
    } catch (const std::exception& e) {
        context_.session().readFailed(page_, e);
        return;
    }
    const QString name = entryText(shown());
    context_.dialogs().information(page_, u("已经复制") + name + u("的数据"));
    copiedName_ = name;
}

void RecordBrowser::paste() {
    if (!needEntry(u("粘贴到")))
        return;
    if (copied_.empty()) {
        context_.dialogs().information(page_, words_.nothingCopied);
        return;
    }
    if (!context_.dialogs().question(page_, words_.pasteAsk)) {
        context_.dialogs().information(page_, u("没有进行粘贴操作"));
        return;
    }
    const int index = shown();
    writing_ = true;
    const WriteResult result = context_.writer().write(page_, [&](EntryEditor& editor) {
        return editor.paste(form_.table(), index, copied_, copiedName_.toStdString());
    });
    writing_ = false;
    if (!result.ok())
        return;
    context_.dialogs().information(
        page_, u("已经把") + copiedName_ + u("的数据粘贴到") + entryText(index) + u("上"));
    // The page shows what is stored now, so a following write cannot undo the paste.
    refresh();
}

namespace {

// The tab pages a control lies on, outermost first: the order a player reads the pages in.
std::vector<int> tabPath(const QWidget* w) {
    std::vector<int> path;
    for (const QWidget* child = w; child != nullptr; child = child->parentWidget()) {
        const QWidget* parent = child->parentWidget();
        if (qobject_cast<const QStackedWidget*>(parent) != nullptr) {
            if (auto* tabs = qobject_cast<const QTabWidget*>(parent->parentWidget()))
                path.insert(path.begin(), tabs->indexOf(const_cast<QWidget*>(child)));
        }
    }
    return path;
}

}  // namespace

void RecordBrowser::refused(const std::vector<EntryForm*>& forms, const WriteResult& result) {
    // The bad fields in the order the page shows them: inner page by inner page, and in each
    // in its keyboard order; not the record's. Inner pages not built yet are built first.
    for (const FieldRefusal& r : result.refusals) {
        EntryForm* f = r.edit >= 0 ? forms[static_cast<std::size_t>(r.edit)] : nullptr;
        if (f != nullptr && r.field >= 0 && f->control(r.field) == nullptr)
            f->buildAll();
    }
    std::map<const QWidget*, int> place;
    int at = 0;
    QWidget* start = page_->window();
    for (QWidget* w = start->nextInFocusChain(); w != start && at < 100000;
         w = w->nextInFocusChain())
        place.emplace(w, ++at);
    const auto where = [&](const FieldRefusal& r) {
        const QWidget* w = forms[static_cast<std::size_t>(r.edit)]->control(r.field);
        const auto it = place.find(w);
        return std::pair(tabPath(w), it == place.end() ? at + 1 : it->second);
    };
    std::vector<FieldRefusal> bad = result.refusals;
    std::stable_sort(bad.begin(), bad.end(), [&](const FieldRefusal& a, const FieldRefusal& b) {
        return where(a) < where(b);
    });
    // One message for every bad field: its caption, its value and what it accepts.
    QString text = u("没有写入：");
    if (bad.size() > 1)
        text += u("%1 个字段的值不能写入。").arg(bad.size());
    for (const FieldRefusal& r : bad) {
        const EntryForm& form = *forms[static_cast<std::size_t>(r.edit)];
        const FieldDef& f = form.table().fields[static_cast<std::size_t>(r.field)];
        const QString value = form.controlText(r.field);
        text += u("\n「") + u(f.fullCaption()) + u("」") +
                (value.isEmpty() ? u("没有填写") : u("填的是“") + value + u("”")) + u("：") +
                u(f.encoding->accepted(f)) + u("。");
    }
    if (bad.empty())
        text += u(result.message);
    context_.dialogs().information(page_, text + u("\n请改正后再写入。"));
    // Every bad field marked; the form of the first one last, so that it takes the focus.
    const auto fieldsOf = [&bad](int edit) {
        std::vector<int> fields;
        for (const FieldRefusal& r : bad) {
            if (r.edit == edit)
                fields.push_back(r.field);
        }
        return fields;
    };
    const int first = bad.empty() ? -1 : bad.front().edit;
    for (std::size_t k = 0; k < forms.size(); ++k) {
        if (static_cast<int>(k) != first)
            forms[k]->markRefused(fieldsOf(static_cast<int>(k)));
    }
    if (first >= 0)
        forms[static_cast<std::size_t>(first)]->markRefused(fieldsOf(first));
}

QStringList RecordBrowser::readGameNames() {
    // Called while the list is painted: no message, a failed read shows the labels alone.
    if (context_.session().document() == nullptr)
        return {};
    try {
        QStringList names;
        for (const std::string& name :
             context_.session().editor(page_)->decodedNames(form_.table(), 0, form_.table().count))
            names << u(name);
        return names;
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace vorlan
