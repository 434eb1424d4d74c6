#include "record_command.h"

#include "io/path_text.h"
#include "tables/catalog.h"

namespace vorlan::cli {

int RecordCommand::run(const GlobalOptions& options, std::ostream& out, std::ostream& err) {
    if (options.exe.empty())
        throw Refusal("请用 --exe 指定游戏主程序（SLKV_618.04）的路径。");
    DocumentOptions open;
    open.backup = !options.noBackup;
    open.readOnly = !writes();
    open.allowUnusualSize = options.force;
    std::unique_ptr<Document> document;
    try {
        document = Document::open(textPath(options.exe), tableLayout(), open);
    } catch (const UnusualSizeError& e) {
        throw Refusal(std::string(e.what()) + "\n确认要打开它，请加 --force。");
    } catch (const RecoveryError& e) {
        err << e.what() << "\n";
        return kWriteFailed;
    } catch (const DocumentError& e) {
        throw Refusal(e.what());
    }
    if (const std::string note = document->takeRecoveryNote(); !note.empty())
        err << note << "\n";
    Session session(std::move(document), options.dataDir, options.chars);
    try {
        return runOn(session, out, err);
    } catch (const RecoveryError& e) {
        err << e.what() << "\n";
        return kWriteFailed;
    } catch (const DocumentError& e) {
        throw Refusal(e.what());
    }
}

int RecordCommand::report(const WriteResult& result, std::ostream& err) {
    if (!result.recoveryNote.empty())
        err << result.recoveryNote << "\n";
    if (!result.backupNote.empty())
        err << result.backupNote << "\n";
    using Status = WriteResult::Status;
    switch (result.status) {
        case Status::Written:
        case Status::Unchanged:
            return kOk;
        case Status::BackupProblem:
            // Room is what a full disk lacks: writing without a backup is the last resort.
            if (result.backupKind == BackupCheck::Kind::DiskFull)
                throw Refusal(result.message +
                              "\n（也可以用 --no-backup 在不备份的情况下写入，但不建议。）");
            throw Refusal(result.message +
                          "\n没有写入任何内容。请移走或改名这个文件后再试，或者用 --no-backup "
                          "在不备份的情况下写入。");
        case Status::Refused:
        case Status::Busy:
        case Status::Replaced:
            throw Refusal(result.message);
        case Status::Failed:
            break;
    }
    err << result.message << "\n";
    return result.fileChanged ? kWriteFailed : kRefused;
}

}  // namespace vorlan::cli
