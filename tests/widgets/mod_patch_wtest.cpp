// "应用补丁…", "制作补丁…" and "字码表…" on 使用相关, driven by clicks: a patch is listed, written
// only when accepted, exactly its bytes, as one undo step, and made again from the backup (a
// .pnach under the name the emulator looks for); a chosen .tbl replaces the character table.

#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QUndoStack>
#include <algorithm>

#include "bulk/ips.h"
#include "bulk/mod_patch.h"
#include "bulk/pnach_name.h"
#include "session/editor_context.h"
#include "tables/catalog.h"
#include "tables/unit_table.h"
#include "toolkit/text.h"
#include "widgets/support/editor_fixture.h"
#include "widgets/support/test_main.h"

using namespace vorlan;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct Tools : test::EditorFixture {
    test::TempDir files;
    Tools() {
        showWindow();
        clickTab("SSTab1", 4);
    }
    QUndoStack* undo() { return window().context().history().stack(); }
    void apply(const std::filesystem::path& patch, bool accept) {
        dialogs().chooseNextFile(QString::fromStdString(patch.string()));
        dialogs().answerNextPreview(accept);
        click("ApplyPatchButton");
    }
};

}  // namespace

class ModPatchTest : public QObject {
    Q_OBJECT
private slots:
    void applyWritesThePatchAsOneUndoStepOnlyWhenAccepted();
    void aPnachAppliesAsOneUndoStepAndIsMadeUnderTheEmulatorsName();
    void aChosenTblReplacesTheCharacterTable();
};

void ModPatchTest::applyWritesThePatchAsOneUndoStepOnlyWhenAccepted() {
    Tools f;
    const Bytes original = f.bytes();
    Bytes edited = original;
    for (int unit : {5, 9})
        edited[unitTable().entryOffset(unit) + 40] ^= 0x0F;
    const auto patch = f.files / "mod.bps";
    test::writeFile(patch,
                    makeModPatch(PatchFormat::Bps, original, edited, tableLayout().writable));

    f.apply(patch, false);
    QCOMPARE(f.dialogs().previews.size(), 1);
    const ChangePreview& shown = f.dialogs().previews.last();
    QCOMPARE(shown.accept, u("应用"));
    QVERIFY(shown.summary.contains(u("mod.bps")));
    QVERIFY(shown.rows.size() >= 2);
    QVERIFY(f.bytes() == original);
    QCOMPARE(f.undo()->count(), 0);

    f.apply(patch, true);
    QVERIFY(f.bytes() == edited);
    QCOMPARE(f.undo()->count(), 1);
    QVERIFY(f.undo()->undoText().contains(u("应用补丁 mod.bps")));

    // Again: refused by its checksums, before any preview.
    f.dialogs().chooseNextFile(QString::fromStdString(patch.string()));
    f.click("ApplyPatchButton");
    QVERIFY(f.dialogs().lastMessage().contains(u("已经应用过了")));
    QCOMPARE(f.dialogs().previews.size(), 2);
    QVERIFY(f.bytes() == edited);

    // 制作补丁… from the backup the write made: the same change, as IPS.
    const auto made = f.files / "again.ips";
    f.dialogs().chooseNextFile(QString::fromStdString(made.string()));
    f.click("MakePatchButton");
    QVERIFY(applyIps(test::readFile(made), original) == edited);

    f.undo()->undo();
    QVERIFY(f.bytes() == original);
}

void ModPatchTest::aPnachAppliesAsOneUndoStepAndIsMadeUnderTheEmulatorsName() {
    Tools f;
    const Bytes original = f.bytes();
    // The demo loads file offset 0x1000 at 0x100000.
    const std::uint64_t hp = unitTable().entryOffset(5) + 36;
    const auto patch = f.files / "hp.pnach";
    test::writeText(patch, "gametitle=VORLAN\n[HP]\npatch=0,EE," +
                               hex32(static_cast<std::uint32_t>(hp + 0xFF000)) +
                               ",word,00003039 // 12345\n");
    f.apply(patch, true);
    QVERIFY(f.dialogs().previews.last().summary.contains(u("hp.pnach")));
    Bytes edited = original;
    std::copy_n(Bytes{0x39, 0x30, 0, 0}.begin(), 4, edited.begin() + static_cast<long>(hp));
    QVERIFY(f.bytes() == edited);
    QCOMPARE(f.undo()->count(), 1);

    const auto made = f.files / "again.pnach";
    f.dialogs().chooseNextFile(QString::fromStdString(made.string()));
    f.click("MakePatchButton");
    const auto offered =
        std::find_if(f.dialogs().saveChoices.begin(), f.dialogs().saveChoices.end(),
                     [](const SaveChoice& c) { return c.pattern == u("*.pnach"); });
    QVERIFY(offered != f.dialogs().saveChoices.end());
    QVERIFY(offered->suggested.endsWith(QDir::separator() + u(pnachFileName(original))));
    QVERIFY(f.dialogs().lastMessage().contains(u(pnachFileName(original))));
    QVERIFY(f.dialogs().lastMessage().contains(u("cheats")));
    const Bytes text = test::readFile(made);
    QVERIFY(std::string(text.begin(), text.end())
                .find("patch=0,EE," + hex32(static_cast<std::uint32_t>(hp + 0xFF000)) +
                      ",word,00003039") != std::string::npos);
}

void ModPatchTest::aChosenTblReplacesTheCharacterTable() {
    Tools f;
    const auto lookup = [&f](const QString& text) {
        f.type("Text54", text);
        f.click("Command15");
        return f.child<QLineEdit>("Text55")->text();
    };
    const QString before = lookup("Q");
    QVERIFY(!before.isEmpty());
    test::writeText(f.files / "bad.tbl", "9999=Q\nnonsense\n");
    test::writeText(f.files / "mine.tbl", "; mine\n9999=Q\n");
    f.dialogs().chooseNextFile(QString::fromStdString((f.files / "bad.tbl").string()));
    f.click("CharTableButton");
    QVERIFY(f.dialogs().lastMessage().contains(u("第 2 行")));
    QCOMPARE(lookup("Q"), before);
    f.dialogs().chooseNextFile(QString::fromStdString((f.files / "mine.tbl").string()));
    f.click("CharTableButton");
    QCOMPARE(lookup("Q"), u("9999"));
}

VORLAN_WIDGET_TEST_MAIN(ModPatchTest)
#include "mod_patch_wtest.moc"
