// The main window: captions, fixed vocabularies, opening executables, help texts.

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "app/editor_context.h"
#include "app/main_window.h"
#include "fixtures/fixtures.h"
#include "ui/text.h"
#include "widgets/support/scripted_dialogs.h"

using namespace vorlan;

namespace {

template <typename T>
T* child(QWidget& w, const QString& name) {
    auto* c = w.findChild<T*>(name);
    if (c == nullptr)
        qFatal("no control %s", qPrintable(name));
    return c;
}

// A data folder of its own, so that tests may change the files.
struct DataCopy {
    test::TempDir dir;
    DataCopy() {
        for (const auto& e : std::filesystem::directory_iterator(test::sourceDataDir())) {
            std::filesystem::copy_file(e.path(), dir / e.path().filename().string());
        }
    }
    QString path() const { return QString::fromStdString(dir.path().string()); }
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void captionsAndTabs();
    void fixedVocabulariesAtCreation();
    void openingFillsTheListsOnce();
    void cancelledAndRefusedOpensKeepTheExecutable();
    void missingListFileRefusesTheOpen();
    void anExecutableOfAnotherLengthOpensOnlyWhenConfirmed();
    void helpTexts();
    void lookupOfCharacters();
};

void MainWindowTest::captionsAndTabs() {
    DataCopy data;
    test::ScriptedDialogs dialogs;
    MainWindow w(dialogs, data.path());
    QCOMPARE(w.windowTitle(), u("VORLAN静态修改器V1.20"));
    QCOMPARE(child<QPushButton>(w, "Command1")->text(), u("打开"));
    QCOMPARE(child<QPushButton>(w, "Command2")->text(), u("退出"));
    auto* tabs = child<QTabWidget>(w, "SSTab1");
    const QStringList captions{u("机体武器修改"), u("机师修改"), u("其他修改"), u("其他修改2"),
                               u("使用相关")};
    QCOMPARE(tabs->count(), 5);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(tabs->tabText(i), captions[i]);
    const QStringList windows{u("底力补正"), u("防护立场"), u("机师特技补正"),
                              u("强化配件"), u("武器改造"), u("主角精神")};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(child<QPushButton>(w, "Command" + QString::number(23 + i))->text(), windows[i]);
    }
    QCOMPARE(child<QTabWidget>(w, "SSTab2")->tabText(3), u("机体技能"));
    QCOMPARE(child<QTabWidget>(w, "SSTab3")->tabText(1), u("机师精神"));
}

void MainWindowTest::fixedVocabulariesAtCreation() {
    DataCopy data;
    test::ScriptedDialogs dialogs;
    MainWindow w(dialogs, data.path());
    const std::pair<const char*, int> counts[] = {
        {"Combo2", 6},  {"Combo3", 6},  {"Combo6", 6},      {"Combo7", 9},      {"Combo8", 6},
        {"Combo11", 6}, {"Combo13", 3}, {"Combo14", 11},    {"Combo15", 5},     {"Combo16", 5},
        {"Combo18", 6}, {"Combo21", 6}, {"Combo22(0)", 31}, {"Combo22(5)", 31}, {"Combo30", 4},
        {"Combo31", 4}, {"Combo32", 5}};
    for (const auto& [name, count] : counts) {
        auto* combo = child<QComboBox>(w, name);
        QVERIFY2(combo->count() == count, name);
        QVERIFY2(combo->currentIndex() == -1, name);
    }
    QCOMPARE(child<QListWidget>(w, "List3")->count(), 16);
    QCOMPARE(child<QListWidget>(w, "List4")->item(15)->text(), u("キャリアー机能"));
    QCOMPARE(child<QComboBox>(w, "Combo14")->itemText(10), u("0A－合体技"));
    QCOMPARE(child<QComboBox>(w, "Combo7")->itemText(8), u("地中"));
    for (const char* name : {"List1", "List5"})
        QCOMPARE(child<QListWidget>(w, name)->count(), 0);
    for (const char* name : {"Combo1", "Combo12", "Combo17", "Combo23", "Combo29"}) {
        QCOMPARE(child<QComboBox>(w, name)->count(), 0);
    }
}

void MainWindowTest::openingFillsTheListsOnce() {
    test::TempDir dir;
    const QString exe = QString::fromStdString(test::writeDemo(dir / "SLKV_618.04").string());
    DataCopy data;
    test::ScriptedDialogs dialogs;
    MainWindow w(dialogs, data.path());
    dialogs.chooseNextFile(exe);
    QTest::mouseClick(child<QPushButton>(w, "Command1"), Qt::LeftButton);
    QCOMPARE(dialogs.filters.value(0), u("SLKV_618.04(SLKV_618.04) | SLKV_618.04"));
    QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.lastMessage()));
    QCOMPARE(child<QLineEdit>(w, "Text1")->text(), exe);
    QCOMPARE(w.context().exepath(), exe);

    // Opening again (here from the command line path) must not append the lists twice.
    for (int round = 0; round < 2; ++round) {
        if (round == 1)
            QVERIFY(w.openExecutable(exe));
        QCOMPARE(child<QListWidget>(w, "List1")->count(), 481);
        QCOMPARE(child<QListWidget>(w, "List5")->count(), 485);
        QCOMPARE(child<QComboBox>(w, "Combo1")->count(), 481);
        QCOMPARE(child<QComboBox>(w, "Combo12")->count(), 485);
        QCOMPARE(child<QComboBox>(w, "Combo17")->count(), 485);
        QCOMPARE(child<QComboBox>(w, "Combo23")->count(), 35);
        QCOMPARE(child<QComboBox>(w, "Combo28")->count(), 35);
        auto* combo29 = child<QComboBox>(w, "Combo29");
        QCOMPARE(combo29->count(), 32);
        QCOMPARE(combo29->itemText(0), QString::fromStdString(w.context().lists().skills[1]));
        QCOMPARE(combo29->itemText(31), QString::fromStdString(w.context().lists().skills[32]));
    }
}

void MainWindowTest::cancelledAndRefusedOpensKeepTheExecutable() {
    test::TempDir dir;
    const QString exe = QString::fromStdString(test::writeDemo(dir / "SLKV_618.04").string());
    auto bytes = test::demoBytes();
    bytes[0] = 0;
    test::writeFile(dir / "other", bytes);
    DataCopy data;
    test::ScriptedDialogs dialogs;
    MainWindow w(dialogs, data.path());
    QVERIFY(w.openExecutable(exe));

    dialogs.chooseNextFile(QString());  // cancelled
    QTest::mouseClick(child<QPushButton>(w, "Command1"), Qt::LeftButton);
    QCOMPARE(w.context().exepath(), exe);
    QVERIFY(dialogs.messages.isEmpty());

    dialogs.chooseNextFile(QString::fromStdString((dir / "other").string()));
    QTest::mouseClick(child<QPushButton>(w, "Command1"), Qt::LeftButton);
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.lastMessage().contains("ELF"));
    QCOMPARE(w.context().exepath(), exe);
    QCOMPARE(child<QLineEdit>(w, "Text1")->text(), exe);
}

void MainWindowTest::anExecutableOfAnotherLengthOpensOnlyWhenConfirmed() {
    test::TempDir dir;
    auto bytes = test::demoBytes();
    bytes.resize(bytes.size() + 2048, 0);
    test::writeFile(dir / "SLKV_618.04", bytes);
    const QString exe = QString::fromStdString((dir / "SLKV_618.04").string());
    DataCopy data;
    test::ScriptedDialogs dialogs;
    MainWindow w(dialogs, data.path());
    dialogs.answerNextQuestion(false);
    QVERIFY(!w.openExecutable(exe));
    QVERIFY(dialogs.questions.last().contains("3542016"));
    QVERIFY(w.context().exepath().isEmpty());
    dialogs.answerNextQuestion(true);
    QVERIFY(w.openExecutable(exe));
    QCOMPARE(w.context().exepath(), exe);
}

void MainWindowTest::missingListFileRefusesTheOpen() {
    test::TempDir dir;
    const QString exe = QString::fromStdString(test::writeDemo(dir / "SLKV_618.04").string());
    DataCopy data;
    std::filesystem::remove(data.dir / "string.txt");
    test::ScriptedDialogs dialogs;
    MainWindow w(dialogs, data.path());
    QVERIFY(!w.openExecutable(exe));
    QVERIFY(dialogs.lastMessage().contains("string.txt"));
    QVERIFY(dialogs.lastMessage().contains("7302"));
    QVERIFY(w.context().exepath().isEmpty());
    QCOMPARE(child<QListWidget>(w, "List1")->count(), 0);
    QVERIFY(child<QLineEdit>(w, "Text1")->text().isEmpty());
}

void MainWindowTest::helpTexts() {
    DataCopy data;
    test::writeText(data.dir / "struct.txt", "line one, with comma\r\nlast line without break");
    test::ScriptedDialogs dialogs;
    MainWindow w(dialogs, data.path());
    auto* text56 = child<QPlainTextEdit>(w, "Text56");
    QVERIFY(text56->toPlainText().isEmpty());
    QVERIFY(!child<QRadioButton>(w, "Option1")->isChecked());

    child<QRadioButton>(w, "Option2")->click();
    QCOMPARE(text56->toPlainText(), u("line one, with comma\nlast line without break\n"));
    child<QRadioButton>(w, "Option1")->click();
    const QString guide = text56->toPlainText();
    QVERIFY(guide.startsWith(QString::fromStdString(
        vorlan::splitLines(vorlan::readTextFile(data.dir / "使用说明.txt")).front())));
    QVERIFY(!guide.contains("line one"));
    // Showing the same text again replaces it rather than appending.
    child<QRadioButton>(w, "Option2")->click();
    child<QRadioButton>(w, "Option2")->click();
    QCOMPARE(text56->toPlainText(), u("line one, with comma\nlast line without break\n"));

    std::filesystem::remove(data.dir / "使用说明.txt");
    child<QRadioButton>(w, "Option1")->click();
    QVERIFY(text56->toPlainText().isEmpty());
    QVERIFY(dialogs.lastMessage().contains(u("使用说明.txt")));
}

void MainWindowTest::lookupOfCharacters() {
    test::TempDir dir;
    const QString exe = QString::fromStdString(test::writeDemo(dir / "SLKV_618.04").string());
    DataCopy data;
    test::ScriptedDialogs dialogs;
    MainWindow w(dialogs, data.path());
    auto* text54 = child<QLineEdit>(w, "Text54");
    auto* text55 = child<QLineEdit>(w, "Text55");
    auto* command15 = child<QPushButton>(w, "Command15");

    text54->setText(u("机体"));
    QTest::mouseClick(command15, Qt::LeftButton);
    QVERIFY(dialogs.lastMessage().contains(u("打开")));  // no table before an executable is open
    QVERIFY(w.openExecutable(exe));

    QTest::mouseClick(command15, Qt::LeftButton);
    const auto& chars = w.context().charTable();
    QCOMPARE(text55->text(), QString::fromStdString(*chars.codeOf("机") + *chars.codeOf("体")));
    const int before = static_cast<int>(dialogs.messages.size());
    text54->setText(u("机体\xF0\x9F\x98\x80"));  // an emoji has no entry
    QTest::mouseClick(command15, Qt::LeftButton);
    QCOMPARE(dialogs.messages.size(), before + 1);
    QCOMPARE(dialogs.lastMessage(), u("没有查找到匹配的字符串"));
    QVERIFY(text55->text().isEmpty());

    text54->setText(QString(256, QChar('A')));
    QTest::mouseClick(command15, Qt::LeftButton);
    QVERIFY(dialogs.lastMessage().contains("255"));
}

QTEST_MAIN(MainWindowTest)
#include "main_window_wtest.moc"
