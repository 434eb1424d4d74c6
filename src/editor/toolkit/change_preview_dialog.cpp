#include "toolkit/change_preview_dialog.h"

#include <QAbstractTableModel>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "toolkit/text.h"

namespace vorlan {

namespace {

class RowsModel final : public QAbstractTableModel {
public:
    RowsModel(QList<ChangeRow> rows, QObject* parent)
        : QAbstractTableModel(parent), rows_(std::move(rows)) {}
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : 4;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
            return {};
        const ChangeRow& r = rows_.at(index.row());
        switch (index.column()) {
            case 0:
                return r.entry;
            case 1:
                return r.field;
            case 2:
                return r.before;
            default:
                return r.after;
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        static const char* captions[] = {"条目", "字段", "原值", "新值"};
        return u(captions[section]);
    }

private:
    QList<ChangeRow> rows_;
};

}  // namespace

ChangePreviewDialog::ChangePreviewDialog(const ChangePreview& preview, QWidget* parent)
    : QDialog(parent) {
    setObjectName("ChangePreview");
    setWindowTitle(preview.title);
    auto* summary = new QLabel(preview.summary);
    summary->setWordWrap(true);
    auto* view = new QTableView;
    view->setObjectName("ChangeRows");
    view->setModel(new RowsModel(preview.rows, view));
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setStretchLastSection(true);
    view->resizeColumnsToContents();
    auto* buttons = new QDialogButtonBox;
    QPushButton* accept = buttons->addButton(preview.accept, QDialogButtonBox::AcceptRole);
    buttons->addButton(u("取消"), QDialogButtonBox::RejectRole);
    accept->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    if (!preview.notes.isEmpty()) {
        // What storing some values cut or completed: said before the write, not after.
        auto* notes = new QLabel(preview.notes.join('\n'));
        notes->setObjectName("ChangeNotes");
        notes->setWordWrap(true);
        notes->setTextFormat(Qt::PlainText);
        layout->addWidget(notes);
    }
    layout->addWidget(view, 1);
    layout->addWidget(buttons);
    resize(720, 480);
}

}  // namespace vorlan
