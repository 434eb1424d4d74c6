// "应用补丁…", "制作补丁…" and "字码表…" on 使用相关, driven by clicks: a patch is listed, written
// only when accepted, exactly its bytes, as one undo step, and made again from the backup; a
// chosen .tbl replaces the character table.

#include <QLineEdit>
#include <QTest>
#include <QUndoStack>

#include "bulk/ips.h"
#include "bulk/mod_patch.h"
#include "session/editor_context.h"
#include "tables/unit_table.h"
#include "toolkit/text.h"
#include "widgets/support/editor_fixture.h"

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
    void aChosenTblReplacesTheCharacterTable();
};

void ModPatchTest::applyWritesThePatchAsOneUndoStepOnlyWhenAccepted() {
    Tools f;
    const Bytes original = f.bytes();
    Bytes edited = original;
    for (int unit : {5, 9})
        edited[unitTable().entryOffset(unit) + 40] ^= 0x0F;
    const auto patch = f.files / "mod.bps";
    test::writeFile(patch, makeModPatch(PatchFormat::Bps, original, edited));

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

QTEST_MAIN(ModPatchTest)
#include "mod_patch_wtest.moc"
