#pragma once
// A demo executable in a folder of its own, opened as a document, and what its side files
// hold: shared by the document tests.

#include <filesystem>
#include <memory>
#include <vector>

#include "catalog/catalog.h"
#include "document/backup.h"
#include "document/document.h"
#include "document/journal.h"
#include "fixtures/fixtures.h"

namespace vorlan::test {

struct Exe {
    TempDir dir;
    std::filesystem::path path = writeDemo(dir / "SLKV_618.04");
    std::vector<std::uint8_t> original = readFile(path);

    std::vector<std::uint8_t> bytes() const { return readFile(path); }
    std::filesystem::path backup() const { return backupPath(path); }
    std::filesystem::path journalFile() const { return journalPath(path); }
    bool journal() const { return std::filesystem::exists(journalPath(path)); }
    std::unique_ptr<Document> open(DocumentOptions o = {}) const {
        return Document::open(path, tableLayout(), o);
    }
};

}  // namespace vorlan::test
