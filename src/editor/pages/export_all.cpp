#include "pages/export_all.h"

#include <QDir>
#include <QStringList>

#include "bulk/table_export.h"
#include "io/output_file.h"
#include "session/editor_context.h"
#include "tables/catalog.h"
#include "toolkit/dialogs.h"
#include "toolkit/text.h"

namespace vorlan {

void exportAllTables(EditorContext& context, QWidget* parent) {
    if (context.session().editor(parent) == nullptr)
        return;
    const int format =
        context.dialogs().choose(parent, u("把全部表格导出为哪种文件？每个表一个文件。"),
                                 {u("CSV（电子表格）"), u("JSON（脚本）")});
    if (format < 0)
        return;
    const bool json = format == 1;
    const QString extension = json ? ".json" : ".csv";
    const QString folder =
        context.dialogs().chooseFolder(parent, u("选择导出全部表格的文件夹"),
                                       context.places().folder(FilePlaces::Kind::AllTables));
    if (folder.isEmpty())
        return;
    context.places().chosen(FilePlaces::Kind::AllTables, folder);
    const QDir dir(folder);
    QStringList existing;
    for (const TableDef* table : allTables()) {
        if (dir.exists(u(table->name) + extension))
            existing << u(table->name) + extension;
    }
    if (!existing.isEmpty() &&
        !context.dialogs().question(
            parent, u("文件夹中已有这些文件，要替换它们吗？\n") + existing.join(u("、")))) {
        return;
    }
    try {
        std::vector<std::filesystem::path> outputs;
        for (const TableDef* table : allTables())
            outputs.push_back(toPath(dir.filePath(u(table->name) + extension)));
        const OutputFolder lock(systemFileOps(), toPath(folder), outputs);
        Document* document = context.session().document();
        const auto bytes = document->read(0, static_cast<std::size_t>(document->size()));
        for (const TableDef* table : allTables()) {
            const std::string text = exportTable(*table, bytes, &context.session(),
                                                 json ? TableFormat::Json : TableFormat::Csv);
            const std::span data(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
            const QString name = u(table->name) + extension;
            context.session().writeOutput(dir.filePath(name), data, existing.contains(name), true);
        }
    } catch (const std::exception& e) {
        context.dialogs().information(parent, u("导出失败：\n") + u(e.what()));
        return;
    }
    emit context.session().note(u("已把全部 %1 个表导出为 %2 文件到 ")
                                    .arg(allTables().size())
                                    .arg(json ? u("JSON") : u("CSV")) +
                                folder);
}

}  // namespace vorlan
