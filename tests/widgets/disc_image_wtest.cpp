// The disc image frame driven as a user does: a good image enables "替换", a bad one after
// it disables it and empties the path; a replace runs with its progress bar, asks about
// unsaved edits first, and reports the saved region; "恢复" puts it back; "提取…" writes
// the image's executable where the save dialog says and offers to open it.

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "fixtures/disc_images.h"
#include "image/disc_image.h"
#include "pages/disc_image_frame.h"
#include "toolkit/text.h"
#include "widgets/support/editor_fixture.h"
#include "widgets/support/field_names.h"
#include "widgets/support/test_main.h"

using namespace vorlan;
using test::unitField;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct Frame : test::EditorFixture {
    test::TempDir images;
    std::filesystem::path image = test::makeImage(images.path(), test::demoBytes(), false);
    Frame() {
        showWindow();
        clickTab("SSTab1", 4);
    }
    void choose(const std::filesystem::path& p) {
        dialogs().chooseNextFile(QString::fromStdString(p.string()));
        click("Command14");
    }
    QPushButton* replace() { return child<QPushButton>("Command20"); }
    QString path() { return child<QLineEdit>("Text44")->text(); }
    Bytes region() {
        const Bytes b = test::readFile(image);
        return Bytes(b.begin() + static_cast<std::ptrdiff_t>(kImageExeOffset),
                     b.begin() + static_cast<std::ptrdiff_t>(kImageExeOffset + kImageExeLength));
    }
};

}  // namespace

class DiscImageTest : public QObject {
    Q_OBJECT
private slots:
    void aBadImageAfterAGoodOneDisablesReplace();
    void replaceWritesTheExecutableAndRestorePutsItBack();
    void aForeignRegionIsWrittenOnlyAfterTheWarningIsAccepted();
    void extractWritesTheExecutableAndOffersToOpenIt();
};

void DiscImageTest::aBadImageAfterAGoodOneDisablesReplace() {
    Frame f;
    QVERIFY(!f.replace()->isEnabled());
    f.click("Command20");  // disabled: nothing happens
    f.choose(f.image);
    // Disc images offered first, then the program's own filter of every file.
    QVERIFY(f.dialogs().filters.last().startsWith(u("VORLAN镜像文件(*.iso, *.bin, *.img)")));
    QVERIFY(f.dialogs().filters.last().endsWith(u("VORLAN镜像文件(*.*) | *.*")));
    QCOMPARE(f.path().toStdString(), f.image.string());
    QVERIFY(f.replace()->isEnabled());
    Bytes bad = test::readFile(f.image);
    bad[kImageExeOffset] = 0;
    const auto other = f.images / "bad.iso";
    test::writeFile(other, bad);
    f.choose(other);
    // The program's refusal, then which check failed.
    QVERIFY(f.dialogs().lastMessage().startsWith(
        u("你打开的不是符合格式的VORLAN镜像文件,请重新选择正确的镜像文件\n")));
    QVERIFY(f.dialogs().lastMessage().contains(u("实际为 00 45 4C 46")));
    QVERIFY(f.path().isEmpty());
    QVERIFY(!f.replace()->isEnabled());
    QCOMPARE(test::readFile(other), bad);
}

void DiscImageTest::replaceWritesTheExecutableAndRestorePutsItBack() {
    Frame f;
    const Bytes before = test::readFile(f.image);
    f.choose(f.image);
    // An unsaved edit on the unit page is asked about first, and written.
    f.clickTab("SSTab1", 0);
    f.clickRow("List1", 5);
    f.type(unitField("hp"), "4321");
    f.clickTab("SSTab1", 4);
    f.dialogs().answerNextUnsaved(Dialogs::Unsaved::Write);
    f.click("Command20");
    QVERIFY(f.child<QProgressBar>("ImageProgress")->isVisible() ||
            f.dialogs().lastMessage().startsWith(u("替换完成")));
    QTRY_VERIFY_WITH_TIMEOUT(f.dialogs().lastMessage().startsWith(u("替换完成")), 10000);
    QVERIFY(f.dialogs().lastMessage().contains(u(savedRegionPath(f.image).string())));
    QCOMPARE(f.region(), f.bytes());
    QVERIFY(!f.child<QProgressBar>("ImageProgress")->isVisible());
    QVERIFY(f.replace()->isEnabled());

    // Refused (its executable's magic gone), the image is offered for no restore either.
    const Bytes replaced = test::readFile(f.image);
    Bytes refused = replaced;
    refused[kImageExeOffset] = 0;
    test::writeFile(f.image, refused);
    f.choose(f.image);
    QVERIFY(!f.child<QPushButton>("RestoreImage")->isEnabled());
    test::writeFile(f.image, replaced);
    f.choose(f.image);
    f.dialogs().answerNextQuestion(true);
    f.click("RestoreImage");
    QTRY_VERIFY_WITH_TIMEOUT(f.dialogs().lastMessage().startsWith(u("已把保存的原内容")), 10000);
    QCOMPARE(test::readFile(f.image), before);
}

void DiscImageTest::aForeignRegionIsWrittenOnlyAfterTheWarningIsAccepted() {
    Frame f;
    const Bytes before = test::readFile(f.image);
    Bytes edited = f.bytes();
    edited[0x200000] ^= 1;
    const Bytes foreign = test::foreignRegionFile(f.image, edited);
    QVERIFY(replaceExecutable(f.image, edited).ok);
    std::filesystem::remove(savedRegionPath(f.image));
    test::writeFile(savedRegionPath(f.image), foreign);
    f.choose(f.image);

    // Cancelled, then accepted: the warning names the file; cancelled, the image keeps what
    // it holds.
    for (const bool ok : {false, true}) {
        f.dialogs().answerNextQuestion(true);
        f.dialogs().answerNextQuestion(ok);
        f.click("RestoreImage");
        QTRY_VERIFY_WITH_TIMEOUT(
            f.dialogs().questions.size() >= 2 && !f.child<DiscImageFrame>("Frame14")->busy(),
            10000);
        QVERIFY(f.dialogs().questions.last().contains(u("不是本程序在这台电脑上为你保存的")));
        QVERIFY(
            f.dialogs().questions.last().contains(u(savedRegionPath(f.image).filename().string())));
        if (!ok) {
            QCOMPARE(f.region(), edited);
            f.dialogs().questions.clear();
        }
    }
    QTRY_VERIFY_WITH_TIMEOUT(f.dialogs().lastMessage().startsWith(u("已把保存的原内容")), 10000);
    QVERIFY(f.dialogs().lastMessage().contains(u("加上你在这台电脑上的校验")));
    QCOMPARE(test::readFile(f.image), before);
}

void DiscImageTest::extractWritesTheExecutableAndOffersToOpenIt() {
    Frame f;
    QVERIFY(!f.child<QPushButton>("ExtractImage")->isEnabled());
    f.choose(f.image);
    const QString out = QString::fromStdString((f.images / "extracted.elf").string());
    f.dialogs().chooseNextFile(out);
    f.dialogs().answerNextQuestion(true);
    f.click("ExtractImage");
    QCOMPARE(test::readFile(toPath(out)), test::demoBytes());
    QVERIFY(f.dialogs().questions.last().contains(out));
    // Opened as 打开 opens a file: its path is the one shown at the top.
    QCOMPARE(f.child<QLineEdit>("Text1")->text(), out);
}

VORLAN_WIDGET_TEST_MAIN(DiscImageTest)
#include "disc_image_wtest.moc"
