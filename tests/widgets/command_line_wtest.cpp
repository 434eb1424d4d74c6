// The editor's command line with --table: a table name checked before any window shows (an
// unknown one refused with the known ones named), the help telling of it, the grid opened
// over the main window at the start, and the program itself painting the grid and quitting.
// Both programs, started as their own helper, answer it before anything else.

#include <QAbstractItemView>
#include <QProcess>
#include <QTest>

#include "app/editor_options.h"
#include "app/main_window.h"
#include "fixtures/disc_images.h"
#include "image/directory_report.h"
#include "io/child_work.h"
#include "toolkit/text.h"
#include "widgets/support/editor_fixture.h"
#include "widgets/support/test_main.h"

using namespace vorlan;
using Action = EditorOptions::Action;

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void tableNamesAreCheckedAtOnce_data();
    void tableNamesAreCheckedAtOnce();
    void theHelpTellsOfTheTableOption();
    void theNamedGridOpensOverTheWindow();
    void theProgramPaintsTheGridAndQuits();
    void bothProgramsAnswerTheirHelperRequest();
};

void CommandLineTest::tableNamesAreCheckedAtOnce_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("table");  // Run: the table; UsageError: text the message holds
    QTest::newRow("name") << QStringList{"--table", "weapon", "SLKV_618.04"} << int(Action::Run)
                          << "weapon";
    QTest::newRow("name joined") << QStringList{"--table=pilot"} << int(Action::Run) << "pilot";
    QTest::newRow("none") << QStringList{"SLKV_618.04"} << int(Action::Run) << QString();
    QTest::newRow("unknown") << QStringList{"--table", "weapons"} << int(Action::UsageError)
                             << u("没有名为「weapons」的表。可用的表：unit, weapon, pilot, ");
    QTest::newRow("caption") << QStringList{"--table", u("机体")} << int(Action::UsageError)
                             << u("没有名为「机体」的表。");
    QTest::newRow("missing") << QStringList{"SLKV_618.04", "--table"} << int(Action::UsageError)
                             << u("选项 --table 后面缺少表名。可用的表：unit, weapon, ");
}

void CommandLineTest::tableNamesAreCheckedAtOnce() {
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QString, table);
    const EditorOptions options = parseEditorOptions(QStringList{"vorlan-editor"} + arguments);
    QCOMPARE(int(options.action), action);
    if (options.action == Action::Run) {
        QCOMPARE(options.table, table);
    } else {
        QVERIFY2(options.error.contains(table), qPrintable(options.error));
        QVERIFY(options.error.contains("spirit"));  // every table, the last one too
        QVERIFY(options.error.contains(u("用法 / usage: ")));
    }
}

void CommandLineTest::theHelpTellsOfTheTableOption() {
    const QString help = editorHelp({}, {});
    QVERIFY(help.contains("--table TABLE"));
    QVERIFY(help.contains("unit, weapon, pilot"));
}

void CommandLineTest::theNamedGridOpensOverTheWindow() {
    test::EditorFixture f;
    f.showWindow();
    QWidget* grid = f.window().openGridAtStart("weapon");
    QVERIFY(grid != nullptr);
    QCOMPARE(grid->objectName(), QString("Grid_weapon"));
    QVERIFY(QTest::qWaitForWindowExposed(grid));
    QCOMPARE(grid->findChild<QAbstractItemView*>("Grid")->model()->rowCount(), 8658);

    // Without an executable there is no grid, and the player is told what to do.
    test::EditorFixture fresh(false);
    fresh.showWindow();
    QCOMPARE(fresh.window().openGridAtStart("weapon"), nullptr);
    QVERIFY(fresh.dialogs().lastMessage().contains(u("打开")));
}

void CommandLineTest::theProgramPaintsTheGridAndQuits() {
    test::EditorFixture f(false);
    const QString data = QString::fromStdString(f.dataDir().string());
    const QString exe = QString::fromStdString(f.exe().string());
    const auto run = [&](const QStringList& arguments) {
        QProcess editor;
        editor.start(VORLAN_EDITOR_PATH, QStringList{"--data", data} + arguments);
        if (!editor.waitForFinished(60000))
            editor.kill();
        return std::pair{editor.exitCode(), QString::fromLocal8Bit(editor.readAllStandardError())};
    };
    const auto [painted, said] = run({"--table", "weapon", "--quit-after-paint", exe});
    QVERIFY2(painted == 0, qPrintable(said));
    const auto [refused, why] = run({"--table", "bogus", "--quit-after-paint", exe});
    QCOMPARE(refused, 2);
    QVERIFY2(why.contains(u("没有名为「bogus」的表。可用的表：unit, weapon")), qPrintable(why));
    // What the player typed reaches the terminal with its controls shown as codes.
    const auto [odd, shown] = run({"--table", "x\x1b[2Jy", "--quit-after-paint", exe});
    QCOMPARE(odd, 2);
    QVERIFY2(shown.contains("x\\x1B[2Jy") && !shown.contains(QChar(0x1b)), qPrintable(shown));
}

// The image tool reads an image's directories in a helper process, on Windows the running
// program started again: a program that does not answer it first refuses every image.
void CommandLineTest::bothProgramsAnswerTheirHelperRequest() {
    test::TempDir dir;
    const auto image = test::makeImage(dir.path(), test::demoBytes(), false);
    const std::string argument =
        std::to_string(std::filesystem::file_size(image)) + " " + image.string();
    QStringList request;
    for (const std::string& word : childRequest("image-directories", argument))
        request << QString::fromStdString(word);
    for (const char* program : {VORLAN_EDITOR_PATH, VORLAN_CLI_PATH}) {
        QProcess helper;
        helper.start(program, request);
        QVERIFY(helper.waitForFinished(60000));
        const QByteArray answer = helper.readAllStandardOutput();
        QVERIFY2(helper.exitCode() == 0, program);
        const auto report = decodeReport(answer.toStdString());
        QVERIFY2(report && report->verdict == DirectoryReport::Verdict::Ok, answer.constData());
    }
}

VORLAN_WIDGET_TEST_MAIN(CommandLineTest)
#include "command_line_wtest.moc"
