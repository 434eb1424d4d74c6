// The main window: captions, fixed vocabularies, opening executables, help texts.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "io/path_text.h"
#include "session/editor_context.h"
#include "tables/skill_training_table.h"
#include "toolkit/text.h"
#include "widgets/support/editor_fixture.h"
#include "widgets/support/field_names.h"
#include "widgets/support/test_main.h"

using namespace vorlan;
using test::fieldName;
using test::pilotField;
using test::unitField;
using test::weaponField;

namespace {

// A main window with no executable open yet.
struct Fresh : test::EditorFixture {
    Fresh() : EditorFixture(false) {}
    QString exePath() const { return QString::fromStdString(exe().string()); }
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void captionsAndTabs();
    void fixedVocabulariesAtCreation();
    void openingFillsTheListsOnce();
    void aFirstStartSaysHowToOpenAFile();
    void cancelledAndRefusedOpensKeepTheExecutable();
    void missingListFileRefusesTheOpen();
    void anExecutableOfAnotherLengthOpensOnlyWhenConfirmed();
    void helpTexts();
    void lookupOfCharacters();
};

void MainWindowTest::captionsAndTabs() {
    Fresh f;
    QCOMPARE(f.window().windowTitle(), u("VORLAN静态修改器V1.20"));
    QCOMPARE(f.child<QPushButton>("Command1")->text(), u("打开"));
    QCOMPARE(f.child<QPushButton>("Command2")->text(), u("退出"));
    auto* tabs = f.child<QTabWidget>("SSTab1");
    const QStringList captions{u("机体武器修改"), u("机师修改"), u("其他修改"), u("其他修改2"),
                               u("使用相关")};
    QCOMPARE(tabs->count(), 5);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(tabs->tabText(i), captions[i]);
    const QStringList windows{u("底力补正"), u("防护立场"), u("机师特技补正"),
                              u("强化配件"), u("武器改造"), u("主角精神")};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(f.child<QPushButton>("Command" + QString::number(23 + i))->text(), windows[i]);
    }
    QCOMPARE(f.child<QTabWidget>("SSTab2")->tabText(3), u("机体技能"));
    QCOMPARE(f.child<QTabWidget>("SSTab3")->tabText(1), u("机师精神"));
}

void MainWindowTest::fixedVocabulariesAtCreation() {
    Fresh f;
    const std::pair<QString, int> counts[] = {
        {unitField("size"), 6},
        {weaponField("terrain-air"), 6},
        {weaponField("terrain-space"), 6},
        {unitField("move-type"), 9},
        {unitField("terrain-air"), 6},
        {unitField("terrain-space"), 6},
        {weaponField("required-skill"), 3},
        {weaponField("kind"), 11},
        {weaponField("upgrade-type"), 5},
        {unitField("transfer"), 5},
        {pilotField("terrain-air"), 6},
        {pilotField("terrain-space"), 6},
        {pilotField("spirit1"), 31},
        {pilotField("spirit6"), 31},
        {fieldName(skillTrainingTable(), "type"), 4},
        {"Combo31", 4},
        {"Combo32", 5}};  // the row choosers of the upgrade tables
    for (const auto& [name, count] : counts) {
        auto* combo = f.child<QComboBox>(name);
        QVERIFY2(combo->count() == count, qPrintable(name));
        QVERIFY2(combo->currentIndex() == -1, qPrintable(name));
    }
    QCOMPARE(f.child<QListWidget>(unitField("skills1"))->count(), 16);
    QCOMPARE(f.child<QListWidget>(unitField("skills2"))->item(15)->text(), u("キャリアー机能"));
    QCOMPARE(f.child<QComboBox>(weaponField("kind"))->itemText(10), u("0A－合体技"));
    QCOMPARE(f.child<QComboBox>(unitField("move-type"))->itemText(8), u("地中"));
    for (const char* name : {"List1", "List5"})
        QCOMPARE(f.child<QListView>(name)->model()->rowCount(), 0);
    for (const QString& name : {unitField("code"), unitField("pilot"), pilotField("code"),
                                pilotField("skill1"), QString("Combo29")}) {
        QCOMPARE(f.child<QComboBox>(name)->count(), 0);
    }
}

void MainWindowTest::openingFillsTheListsOnce() {
    Fresh f;
    const QString exe = f.exePath();
    MainWindow& w = f.window();
    test::ScriptedDialogs& dialogs = f.dialogs();
    dialogs.chooseNextFile(exe);
    QTest::mouseClick(f.child<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(dialogs.filters.value(0),
             u("SLKV_618.04(SLKV_618.04) | SLKV_618.04 | 所有文件 (*) | *"));
    QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.lastMessage()));
    QCOMPARE(f.child<QLineEdit>("Text1")->text(), exe);
    QCOMPARE(w.context().session().exepath(), exe);

    // Opening again (here from the command line path) must not append the lists twice.
    for (int round = 0; round < 2; ++round) {
        if (round == 1)
            QVERIFY(w.openExecutable(exe));
        QCOMPARE(f.child<QListView>("List1")->model()->rowCount(), 481);
        QCOMPARE(f.child<QListView>("List5")->model()->rowCount(), 485);
        QCOMPARE(f.child<QComboBox>(unitField("code"))->count(), 481);
        QCOMPARE(f.child<QComboBox>(unitField("pilot"))->count(), 485);
        QCOMPARE(f.child<QComboBox>(pilotField("code"))->count(), 485);
        QCOMPARE(f.child<QComboBox>(pilotField("skill1"))->count(), 35);
        QCOMPARE(f.child<QComboBox>(pilotField("skill6"))->count(), 35);
        auto* combo29 = f.child<QComboBox>("Combo29");
        QCOMPARE(combo29->count(), 32);
        QCOMPARE(combo29->itemText(0),
                 QString::fromStdString(w.context().session().lists().skills[1]));
        QCOMPARE(combo29->itemText(31),
                 QString::fromStdString(w.context().session().lists().skills[32]));
    }
}

void MainWindowTest::aFirstStartSaysHowToOpenAFile() {
    Fresh f;
    f.showWindow();
    // Every page that needs a file says how to open one, instead of showing empty boxes.
    const auto hintShown = [&f] {
        for (QLabel* hint : f.window().findChildren<QLabel*>("StartHint")) {
            if (hint->isVisible())
                return hint->text();
        }
        return QString();
    };
    for (int page = 0; page < 4; ++page) {
        f.clickTab("SSTab1", page);
        for (const QString& word : {u("打开"), QString("Ctrl+O"), u("拖"), u("最近")})
            QVERIFY2(hintShown().contains(word), qPrintable(hintShown()));
    }
    f.clickTab("SSTab1", 0);
    QVERIFY(!f.child<QListView>("List1")->isVisible());
    f.dialogs().chooseNextFile(f.exePath());
    f.click("Command1");
    QVERIFY(hintShown().isEmpty());
    QVERIFY(f.child<QListView>("List1")->isVisible());
    f.clickTab("SSTab1", 3);
    QVERIFY(hintShown().isEmpty());
    QVERIFY(f.child<QPushButton>("Command23")->isVisible());
}

void MainWindowTest::cancelledAndRefusedOpensKeepTheExecutable() {
    Fresh f;
    const QString exe = f.exePath();
    auto bytes = test::demoBytes();
    bytes[0] = 0;
    const auto other = f.exe().parent_path() / "other";
    test::writeFile(other, bytes);
    MainWindow& w = f.window();
    test::ScriptedDialogs& dialogs = f.dialogs();
    QVERIFY(w.openExecutable(exe));

    dialogs.chooseNextFile(QString());  // cancelled
    QTest::mouseClick(f.child<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(w.context().session().exepath(), exe);
    QVERIFY(dialogs.messages.isEmpty());

    dialogs.chooseNextFile(QString::fromStdString(other.string()));
    QTest::mouseClick(f.child<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.lastMessage().contains("ELF"));
    QCOMPARE(w.context().session().exepath(), exe);
    QCOMPARE(f.child<QLineEdit>("Text1")->text(), exe);
}

void MainWindowTest::anExecutableOfAnotherLengthOpensOnlyWhenConfirmed() {
    Fresh f;
    auto bytes = test::demoBytes();
    bytes.resize(bytes.size() + 2048, 0);
    test::writeFile(f.exe(), bytes);
    const QString exe = f.exePath();
    MainWindow& w = f.window();
    test::ScriptedDialogs& dialogs = f.dialogs();
    dialogs.answerNextQuestion(false);
    QVERIFY(!w.openExecutable(exe));
    QVERIFY(dialogs.questions.last().contains("3542016"));
    QVERIFY(w.context().session().exepath().isEmpty());
    dialogs.answerNextQuestion(true);
    QVERIFY(w.openExecutable(exe));
    QCOMPARE(w.context().session().exepath(), exe);
}

void MainWindowTest::missingListFileRefusesTheOpen() {
    Fresh f;
    std::filesystem::remove(f.dataDir() / "string.txt");
    MainWindow& w = f.window();
    test::ScriptedDialogs& dialogs = f.dialogs();
    const QString exe = f.exePath();
    QVERIFY(!w.openExecutable(exe));
    QVERIFY(dialogs.lastMessage().contains("string.txt"));
    QVERIFY(dialogs.lastMessage().contains("7302"));
    QVERIFY(w.context().session().exepath().isEmpty());
    QCOMPARE(f.child<QListView>("List1")->model()->rowCount(), 0);
    QVERIFY(f.child<QLineEdit>("Text1")->text().isEmpty());
}

void MainWindowTest::helpTexts() {
    Fresh f;
    test::writeText(f.dataDir() / "struct.txt", "line one, with comma\r\nlast line without break");
    test::ScriptedDialogs& dialogs = f.dialogs();
    auto* text56 = f.child<QPlainTextEdit>("Text56");
    QVERIFY(text56->toPlainText().isEmpty());
    QVERIFY(!f.child<QRadioButton>("Option1")->isChecked());

    f.child<QRadioButton>("Option2")->click();
    QCOMPARE(text56->toPlainText(), u("line one, with comma\nlast line without break\n"));
    f.child<QRadioButton>("Option1")->click();
    const QString guide = text56->toPlainText();
    QVERIFY(guide.startsWith(QString::fromStdString(
        vorlan::splitLines(vorlan::readTextFile(f.dataDir() / vorlan::textPath("使用说明.txt")))
            .front())));
    QVERIFY(!guide.contains("line one"));
    // Showing the same text again replaces it rather than appending.
    f.child<QRadioButton>("Option2")->click();
    f.child<QRadioButton>("Option2")->click();
    QCOMPARE(text56->toPlainText(), u("line one, with comma\nlast line without break\n"));

    std::filesystem::remove(f.dataDir() / vorlan::textPath("使用说明.txt"));
    f.child<QRadioButton>("Option1")->click();
    QVERIFY(text56->toPlainText().isEmpty());
    QVERIFY(dialogs.lastMessage().contains(u("使用说明.txt")));
}

void MainWindowTest::lookupOfCharacters() {
    Fresh f;
    const QString exe = f.exePath();
    MainWindow& w = f.window();
    test::ScriptedDialogs& dialogs = f.dialogs();
    auto* text54 = f.child<QLineEdit>("Text54");
    auto* text55 = f.child<QLineEdit>("Text55");
    auto* command15 = f.child<QPushButton>("Command15");

    text54->setText(u("机体"));
    QTest::mouseClick(command15, Qt::LeftButton);
    QVERIFY(dialogs.lastMessage().contains(u("打开")));  // no table before an executable is open
    QVERIFY(w.openExecutable(exe));

    QTest::mouseClick(command15, Qt::LeftButton);
    const auto& chars = w.context().session().charTable();
    QCOMPARE(text55->text(), QString::fromStdString(*chars.codeOf("机") + *chars.codeOf("体")));
    const int before = static_cast<int>(dialogs.messages.size());
    text54->setText(u("机体\xF0\x9F\x98\x80"));  // an emoji has no entry
    QTest::mouseClick(command15, Qt::LeftButton);
    QCOMPARE(dialogs.messages.size(), before + 1);
    QVERIFY(dialogs.lastMessage().startsWith(u("没有查找到匹配的字符串\n")));
    QVERIFY(dialogs.lastMessage().contains(u("（第 3 个字）")));  // named, with its place
    QVERIFY(text55->text().isEmpty());                            // the old result is gone

    text54->setText(QString(256, QChar('A')));
    QTest::mouseClick(command15, Qt::LeftButton);
    QVERIFY(dialogs.lastMessage().contains("255"));

    // The other way: code text back into characters, an unknown group named.
    auto* code = f.child<QLineEdit>("DecodeInput");
    code->setText(QString::fromStdString(*chars.codeOf("机") + *chars.codeOf("体")));
    QTest::mouseClick(f.child<QPushButton>("DecodeButton"), Qt::LeftButton);
    QCOMPARE(f.child<QLineEdit>("DecodeOutput")->text(), u("机体"));
    code->setText(code->text() + "FFFF");
    QTest::mouseClick(f.child<QPushButton>("DecodeButton"), Qt::LeftButton);
    QVERIFY(dialogs.lastMessage().contains(u("第 3 组「FFFF」")));
}

VORLAN_WIDGET_TEST_MAIN(MainWindowTest)
#include "main_window_wtest.moc"
