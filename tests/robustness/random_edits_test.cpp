// Seeded random edits over every table: a save changes only the bytes of the fields it
// changed, and saving an entry unchanged changes nothing.

#include <gtest/gtest.h>

#include <random>

#include "fixtures/engine.h"
#include "fixtures/fixtures.h"
#include "tables/catalog.h"

namespace vorlan {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A value the field may take: a random item of a choice, random marks, a toggle, or a
// number or hex text within the field's width.
FieldValue randomValue(const FieldDef& f, std::mt19937& rng) {
    switch (f.encoding->kind()) {
        case ValueKind::Choice:
            return FieldValue::ofChoice(
                static_cast<int>(rng() % static_cast<unsigned>(f.encoding->itemCount())));
        case ValueKind::Marks: {
            std::vector<int> marks;
            for (int k = 0; k < static_cast<int>(f.encoding->items().size()); ++k) {
                if (rng() % 4 == 0)
                    marks.push_back(k);
            }
            return FieldValue::ofMarks(marks);
        }
        case ValueKind::Toggle:
            return FieldValue::ofToggle(rng() % 2 == 0);
        case ValueKind::Text:
            break;
    }
    const std::string name = f.encoding->name();
    if (name == "name-code" || name == "hex-run" || name == "hex") {
        static const char digits[] = "0123456789ABCDEF";
        const int pairs =
            name == "hex" ? 1 : 1 + static_cast<int>(rng() % static_cast<unsigned>(f.width));
        std::string t;
        for (int i = 0; i < 2 * pairs; ++i)
            t += digits[rng() % 16];
        if (name == "hex" && f.mask != 0)
            t = t.substr(0, 1);
        return FieldValue::ofText(t);
    }
    const std::uint64_t limit =
        f.mask == 0x0F || f.mask == 0xF0 ? 16 : std::uint64_t{1} << (8 * f.width);
    return FieldValue::ofText(std::to_string(rng() % limit));
}

TEST(RandomEdits, SavesChangeOnlyTheEditedFieldsBytes) {
    std::mt19937 rng(20261207);
    ByteStore image(test::demoBytes());
    // The file as it must be: each save may change only its own entry, checked entry by
    // entry, and the whole file is compared with this every few hundred saves.
    Bytes expected = image.bytes();
    int saves = 0;
    while (saves < 10000) {
        const auto& tables = allTables();
        const TableDef& t = *tables[rng() % tables.size()];
        const int index = static_cast<int>(rng() % static_cast<unsigned>(t.count));
        const std::uint64_t base = t.entryOffset(index);
        const auto size = static_cast<std::size_t>(t.size);
        const auto shown = test::showIn(image, t, index);
        const Bytes before = image.readBlock(base, size);

        // Unchanged: nothing at all is written.
        ASSERT_TRUE(test::saveIn(image, t, index, shown, shown).ok());
        ASSERT_TRUE(image.readBlock(base, size) == before) << t.name << " " << index;

        auto edited = shown;
        std::vector<bool> owned(static_cast<std::size_t>(t.size), false);
        const int edits = 1 + static_cast<int>(rng() % 3);
        for (int k = 0; k < edits; ++k) {
            const auto field = rng() % t.fields.size();
            const FieldDef& f = t.fields[field];
            edited[field] = randomValue(f, rng);
            for (int b = f.offset; b < f.offset + f.width; ++b)
                owned[static_cast<std::size_t>(b)] = true;
        }
        const SaveOutcome out = test::saveIn(image, t, index, shown, edited);
        ASSERT_TRUE(out.ok()) << t.name << ": " << out.refusals.front().message;
        const Bytes after = image.readBlock(base, size);
        for (std::size_t i = 0; i < size; ++i) {
            if (after[i] != before[i]) {
                ASSERT_TRUE(owned[i]) << t.name << " " << index << " byte " << i;
            }
        }
        // Every edited value reached the file: saving it again changes nothing.
        const SaveOutcome again =
            test::saveIn(image, t, index, test::showIn(image, t, index), edited);
        ASSERT_TRUE(again.ok() && again.writeLength == 0) << t.name << " " << index;
        std::copy(after.begin(), after.end(), expected.begin() + static_cast<std::ptrdiff_t>(base));
        saves += 2;
        if (saves % 500 == 0) {
            ASSERT_TRUE(image.bytes() == expected) << "a save wrote outside its entry";
        }
    }
}

}  // namespace
}  // namespace vorlan
