#include "info_commands.h"

#include <fstream>
#include <iomanip>

#include "catalog/catalog.h"
#include "demo/demo_executable.h"
#include "lists/name_lists.h"
#include "table_files.h"
#include "text/char_table.h"

namespace vorlan::cli {

namespace {

// --force replaces an earlier demo only: a file of the demo's length whose first bytes (headers
// and the filler before the tables, the same in every demo) are the demo's. Anything else at
// that name (the player's game, a disc image, a text file, a journal) is somebody's data.
void refuseUnlessAnEarlierDemo(const std::filesystem::path& path,
                               const std::vector<std::uint8_t>& demo) {
    constexpr std::size_t kHead = 64 * 1024;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(path, ec)))
        return;  // nothing there, or nothing writeOutput replaces
    const auto size = std::filesystem::file_size(path, ec);
    std::vector<char> head(kHead);
    if (!ec && size == demo.size()) {
        std::ifstream in(path, std::ios::binary);
        in.read(head.data(), static_cast<std::streamsize>(head.size()));
        head.resize(static_cast<std::size_t>(in.gcount()));
    } else {
        head.clear();
    }
    const bool isDemo =
        head.size() == kHead &&
        std::equal(head.begin(), head.end(), demo.begin(),
                   [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
    if (!isDemo) {
        throw Refusal("「" + path.string() +
                      "」不是本程序做的演示文件（可能是真正的游戏主程序、光盘镜像或别的文件），"
                      "--force 只替换以前做的演示文件，没有写入。请换一个文件名。");
    }
}

}  // namespace

int TablesCommand::run(const GlobalOptions&, std::ostream& out, std::ostream&) {
    out << std::left << std::setw(20) << "name" << std::setw(11) << "offset" << std::setw(9)
        << "entries" << std::setw(6) << "size"
        << "caption\n";
    for (const TableDef* t : allTables()) {
        std::ostringstream offset;
        offset << "0x" << std::uppercase << std::hex << t->offset;
        out << std::left << std::setw(20) << t->name << std::setw(11) << offset.str()
            << std::setw(9) << t->count << std::setw(6) << t->size << t->caption;
        if (t->perGroup > 0)
            out << " (index UNIT:SLOT, " << t->perGroup << " per unit)";
        out << "\n";
    }
    return kOk;
}

void MakeDemoCommand::declare(CLI::App& sub) {
    sub.add_option("PATH", path_, "Where to write the demo executable")->required();
    sub.add_flag("--force", force_, "Overwrite an existing file");
}

int MakeDemoCommand::run(const GlobalOptions& options, std::ostream& out, std::ostream&) {
    std::vector<std::string> entries;
    try {
        entries = readListFile(options.dataDir, kCharList);
    } catch (const DataFileError& e) {
        throw Refusal(e.what());
    }
    const auto bytes = makeDemoExecutable(CharTable(std::move(entries)));
    if (force_)
        refuseUnlessAnEarlierDemo(path_, bytes);
    // Written whole under a fresh name beside its place and named only when complete: a full
    // disk or an unwritable folder leaves no partial file.
    writeOutput(options.exe, path_, bytes, force_, "演示用的游戏主程序", "--force");
    out << "Wrote " << bytes.size() << " bytes to " << path_ << "\n";
    return kOk;
}

}  // namespace vorlan::cli
