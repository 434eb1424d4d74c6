#pragma once
// The shared opening path of the record commands (get, set, copy, patch): the executable
// named by --exe opened as a document, the data folder's lists, and the entry editor over
// both; and the one way a command reports what a write did.

#include <memory>
#include <ostream>

#include "command.h"
#include "document/document.h"
#include "document/entry_editor.h"
#include "list_cache.h"

namespace vorlan::cli {

struct Session {
    Session(std::unique_ptr<Document> d, const ListFolder& dataDir,
            const std::filesystem::path& charFile = {})
        : document(std::move(d)), lists(dataDir, charFile), editor(*document, &lists) {}
    std::unique_ptr<Document> document;
    ListCache lists;
    EntryEditor editor;
};

// A command that works on the executable. run() opens it (read-only for commands that only
// read), reports a restored interrupted write on stderr, and hands over to runOn().
class RecordCommand : public Command {
public:
    int run(const GlobalOptions& options, std::ostream& out, std::ostream& err) final;

protected:
    virtual bool writes() const = 0;
    virtual int runOn(Session& session, std::ostream& out, std::ostream& err) = 0;
    // What a write did: the backup note on stderr; a refusal thrown as Refusal (exit 1);
    // a failed write reported with exit 1 when the file was left as before and
    // kWriteFailed when it was not. Returns kOk for a write or for nothing to write.
    static int report(const WriteResult& result, std::ostream& err);
};

}  // namespace vorlan::cli
