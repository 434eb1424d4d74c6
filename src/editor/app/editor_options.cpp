#include "app/editor_options.h"

#include <QCommandLineParser>

#include "io/path_text.h"
#include "tables/catalog.h"
#include "toolkit/text.h"

namespace vorlan {

namespace {

const char* const kUsage = "vorlan-editor [--data DIR] [--table TABLE] [SLKV_618.04]";

QString usageError(const QString& what) {
    return what + u("\n用法 / usage: ") + u(kUsage) + u("\n运行 vorlan-editor --help 查看说明。");
}

QString tableNames() {
    QStringList names;
    for (const TableDef* t : allTables())
        names << u(t->name);
    return names.join(", ");
}

// The same names in lines of the help's width, each indented by `indent` spaces.
QString wrappedTableNames(int indent) {
    constexpr int kWidth = 92;
    QString text;
    QString line = QString(indent, ' ');
    for (const TableDef* t : allTables()) {
        const QString name = u(t->name);
        if (line.size() > indent && line.size() + 2 + name.size() > kWidth) {
            text += line + ",\n";
            line = QString(indent, ' ');
        }
        line += (line.size() > indent ? ", " : "") + name;
    }
    return text + line;
}

QString shown(const std::filesystem::path& path) {
    return path.empty() ? u("（无：没有设置 HOME）") : QString::fromStdString(pathText(path));
}

}  // namespace

EditorOptions parseEditorOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption help({"h", "help"}, {});
    const QCommandLineOption version({"v", "version"}, {});
    const QCommandLineOption data("data", {}, "DIR");
    const QCommandLineOption table("table", {}, "TABLE");
    const QCommandLineOption quit("quit-after-paint", {});
    parser.addOptions({help, version, data, table, quit});
    parser.addPositionalArgument("SLKV_618.04", {});

    EditorOptions options;
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(help)) {
        options.action = EditorOptions::Action::Help;
        return options;
    }
    if (parser.isSet(version)) {
        options.action = EditorOptions::Action::Version;
        return options;
    }
    options.action = EditorOptions::Action::UsageError;
    if (!parsed) {
        const QStringList unknown = parser.unknownOptionNames();
        // Otherwise an option with a value came last, without its value.
        if (!unknown.isEmpty())
            options.error = usageError(
                u("未知的选项：") + (unknown.first().size() == 1 ? "-" : "--") + unknown.first());
        else if (arguments.last() == "--table")
            options.error = usageError(u("选项 --table 后面缺少表名。可用的表：") + tableNames());
        else
            options.error = usageError(u("选项 --data 后面缺少数据文件夹。"));
        return options;
    }
    if (parser.isSet(table) && findTable(parser.value(table).toStdString()) == nullptr) {
        // As the command-line tool says it.
        options.error = usageError(u("没有名为「") + parser.value(table) + u("」的表。可用的表：") +
                                   tableNames());
        return options;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        options.error =
            usageError(u("只能打开一个游戏主程序，多余的参数：") + files.mid(1).join(' '));
        return options;
    }
    options.action = EditorOptions::Action::Run;
    options.dataDir = parser.value(data);
    options.executable = files.value(0);
    options.table = parser.value(table);
    options.quitAfterPaint = parser.isSet(quit);
    return options;
}

QString editorHelp(const DataFolders& inUse, const std::filesystem::path& userFolder) {
    return u("用法 / usage: ") + u(kUsage) + u(R"(

打开游戏主程序 SLKV_618.04；不给出时，在窗口中点击“打开”选择。
Opens the game executable SLKV_618.04; without it, choose one with 打开 in the window.

  --data DIR          数据文件夹（名称列表和说明文字），代替下面的查找
                      the data folder (name lists and help texts), instead of the search below
  --table TABLE       启动时打开这个表的表格窗口（批量修改），TABLE 为下列之一：
                      open the grid of TABLE at the start (for editing in bulk), one of:
)") + wrappedTableNames(22) +
           u(R"(
  --quit-after-paint  窗口第一次画出后立即退出（用于计时；有 --table 时为表格窗口）
                      quit as soon as the window (with --table: the grid) has first been
                      painted (for timing)
  -h, --help          显示本说明 / show this help
  -v, --version       显示版本 / show the version

名称列表逐个文件查找：个人文件夹中有的列表用它，没有的取自程序自带的数据文件夹。
Each name list comes from your own folder when it holds that file, else from the
program's data folder.
  个人文件夹 / your own lists:   )") +
           shown(userFolder) + u("\n  本次使用的名称列表 / lists used: ") +
           (inUse.lists.folder.empty() ? shown(inUse.lists.folder) : u(inUse.lists.shown())) +
           u("\n  说明文字 / help texts:        ") + shown(inUse.help) + "\n";
}

QString editorVersion() {
    return u("vorlan-editor " VORLAN_VERSION);
}

}  // namespace vorlan
