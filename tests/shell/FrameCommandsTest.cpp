// The commands of the menus and the toolbar: what each one asks for, the
// warnings before a run, the SMP check, and the bars themselves.
#include <QAction>
#include <QDir>
#include <QMdiArea>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QToolBar>
#include <map>
#include <thread>

#include "FrameTestSupport.h"
#include "engine/Messages.h"
#include "engine/RunRequest.h"
#include "engine/TestInfo.h"
#include "shell/CommandTable.h"
#include "shell/FrameConfig.h"
#include "shell/PlaceholderDlg.h"
#include "shell/ProgressDlg.h"
#include "shell/ProjectDocuments.h"
#include "shell/ResultsDlg.h"
#include "shell/SmpProgressDlg.h"
#include "suites/SmpRun.h"

namespace veltrane::shell::test {

namespace {

// The WM_RUN_BENCH requests the frame received, as "suite/mask".
QStringList runRequests(const QSignalSpy& spy) {
    QStringList runs;
    for (const auto& arguments : spy) {
        if (arguments.at(0).toInt() == engine::WM_RUN_BENCH) {
            runs.append(QStringLiteral("%1/%2")
                            .arg(arguments.at(1).toLongLong())
                            .arg(arguments.at(2).toLongLong()));
        }
    }
    return runs;
}

// What a command visibly did, one effect after the other: runs ("sent" when
// handled before the command returned, else "posted"), messages, modal
// windows and choosers, opened addresses, windows and bars.
QString effects(const CMainFrame& frame, const RecordingDialogs& dialogs,
                const QSignalSpy& requests, qsizetype sentAtOnce) {
    QStringList seen;
    const QStringList runs = runRequests(requests);
    for (qsizetype i = 0; i < runs.size(); ++i) {
        seen << (i < sentAtOnce ? "sent " : "posted ") + runs[i];
    }
    for (const ShownMessage& shown : dialogs.messages) {
        seen << shown.title + ": " + shown.text;
    }
    seen << dialogs.modalTitles << dialogs.choosers;
    for (const QUrl& url : dialogs.openedUrls) {
        seen << "open " + (url.isLocalFile() ? url.fileName() : url.toString());
    }
    for (const PlaceholderDlg* window : frame.findChildren<PlaceholderDlg*>()) {
        if (window->isVisible()) {
            seen << window->objectName() + QStringLiteral(" page %1").arg(window->currentPage());
        }
    }
    const std::pair<bool, const char*> states[] = {
        {!frame.mdiArea().subWindowList().isEmpty(), "document"},
        {frame.toolbar().isHidden(), "no toolbar"},
        {frame.statusBar()->isHidden(), "no status bar"},
        {!frame.isVisible(), "closed"}};
    for (const auto& [state, text] : states) {
        if (state) {
            seen << text;
        }
    }
    return seen.join("; ");
}

// What each command of the table does on a frame that has not run yet, with
// one processor; a command not listed does nothing.
const std::map<int, QString>& commandEffects() {
    const QString runFirst = "Veltrane Warning: Please run at least a benchmark!";
    static const std::map<int, QString> table{
        {cmd::NewCustom, "document"},
        {cmd::NewDefault, "sent 3/255"},
        {cmd::NewDefaultMenu, "sent 3/255"},
        {cmd::OpenProject, "Open"},
        {cmd::OpenProjectMenu, "Open"},
        {cmd::Exit, "closed"},
        {cmd::RunAluOnly, "sent 3/1"},
        {cmd::RunFpuOnly, "sent 3/6"},
        {cmd::RunMipsOnly, "sent 3/8"},
        {cmd::RunMflopsOnly, "sent 3/16"},
        {cmd::RunRamOnly, "sent 3/96"},
        {cmd::BenchSse, "posted 0/255"},
        {cmd::BenchSse2, "posted 1/255"},
        {cmd::Bench3DNow, "posted 2/255"},
        {cmd::BenchStandard, "sent 3/255"},
        {cmd::BenchSmp, "Veltrane Error: " + QString::fromLatin1(suites::kSmpOnlyError)},
        {cmd::GraphOverall, runFirst},
        {cmd::GraphAluFpu, runFirst},
        {cmd::GraphFpuSpDp, runFirst},
        {cmd::GraphMipsMflops, runFirst},
        {cmd::GraphRam, runFirst},
        {cmd::CpuInfo, "AdvancedInfoDlg page 0"},
        {cmd::CacheInfo, "AdvancedInfoDlg page 1"},
        {cmd::MotherboardInfo, "AdvancedInfoDlg page 2"},
        {cmd::OsInfo, "AdvancedInfoDlg page 3"},
        {cmd::ReportWizard, "ReportWizardDlg page -1"},
        {cmd::ConfigureLooping, "LoopDlg page -1"},
        {cmd::ViewToolbar, "no toolbar"},
        {cmd::ViewStatusBar, "no status bar"},
        {cmd::HelpSystem, "open index.htm"},
        {cmd::MakerWebSite, "open " + QString::fromLatin1(kMakerWebSite)},
        {cmd::About, "About Veltrane"}};
    return table;
}

}  // namespace

class FrameCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void barsFollowTheCommandTable();
    void everyCommandDoesItsPart_data();
    void everyCommandDoesItsPart();
    void partialRunWritesNoScoreAndOpensTheGraphs();
    void unsupportedSuiteWarnsAndRunsStandard();
    void secondRunAndClosingAreRefusedWhileRunning();
    void frameGoingAwayMidRunWaitsWithoutBlocking();
    void documentsSwitchTheMenusAndTakeTheirCommands();
    void badRequestsChangeNothing();
    void writeReportRequestWritesTheChosenFileOrSaysWhy();
};

void FrameCommandsTest::barsFollowTheCommandTable() {
    FrameBench bench;
    auto frame = bench.startedFrame();
    QVERIFY(frame != nullptr);
    for (const CommandInfo& command : commandTable()) {
        QAction* action = frame->menuAction(command.id);
        QVERIFY(action != nullptr);
        QCOMPARE(action->text(), command.text);
        QCOMPARE(action->isVisible(), command.shown != MenuShown::WithDocument);
        // Unhandled ones are shown unavailable; saving needs a document.
        if (!command.handled || command.id == cmd::SaveProject) {
            QVERIFY2(!action->isEnabled(), command.text);
        }
    }
    QStringList toolbar;
    for (QAction* action : frame->toolbar().actions()) {
        toolbar.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        QVERIFY(action->isSeparator() || !action->icon().isNull());
    }
    QCOMPARE(toolbar, QStringList({"New Custom", "New Default", "Save Project", "-", "SSE2 Bench",
                                   "SSE Bench", "K7 Bench", "SMP Bench", "-", "Sys Info", "OS Info",
                                   "Cache Info", "-", "Graph of res", "Loop Mode", "HTML Report"}));
    QStringList keys;
    for (QAction* action : frame->actions()) {
        keys.append(action->shortcut().toString());
    }
    QCOMPARE(keys, QStringList({"Ctrl+N", "Ctrl+O", "Ctrl+S", "F6", "Shift+F6"}));
}

// Every command of the table through its menu item, and K7 from the toolbar.
void FrameCommandsTest::everyCommandDoesItsPart_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("toolbarButton");
    QTest::addColumn<QString>("expected");
    for (const CommandInfo& command : commandTable()) {
        const auto found = commandEffects().find(command.id);
        QTest::newRow(command.text)
            << command.id << QString() << (found != commandEffects().end() ? found->second : "");
    }
    QTest::newRow("K7 Bench") << cmd::Bench3DNow << "K7 Bench"
                              << "posted 2/255";
}

void FrameCommandsTest::everyCommandDoesItsPart() {
    QFETCH(int, command);
    QFETCH(QString, toolbarButton);
    QFETCH(QString, expected);
    FrameBench bench;
    auto frame = bench.startedFrame();
    QVERIFY(frame != nullptr);
    frame->show();
    bench.dialogs.modalTitles.clear();  // the chooser at start-up
    QSignalSpy requests(frame.get(), &CMainFrame::requestArrived);
    QAction* action =
        toolbarButton.isEmpty() ? frame->menuAction(command) : frame->toolbarAction(toolbarButton);
    action->trigger();
    const qsizetype sentAtOnce = runRequests(requests).size();
    QTest::qWait(20);  // posted requests and commands
    if (frame->runInProgress()) {
        QVERIFY(waitForResults(*frame));
    }
    const QString seen = effects(*frame, bench.dialogs, requests, sentAtOnce);
    // The frame is destroyed with any document still open: that must not
    // reach the half-destroyed menus.
    QCOMPARE(seen, expected);

    // A run leaves the record of the suite and the tests it was given.
    if (!runRequests(requests).isEmpty()) {
        const QStringList run = runRequests(requests).first().split('/');
        const engine::BenchResult& result = frame->currentResult();
        QCOMPARE(result.suite, run[0].toInt());
        QCOMPARE(result.fullRun, std::uint8_t{run[1] == "255"});
        if (run[1] != "255") {
            QCOMPARE(result.selected, engine::unpackMask(run[1].toInt()));
        }
    }
}

void FrameCommandsTest::partialRunWritesNoScoreAndOpensTheGraphs() {
    FrameBench bench;
    auto frame = bench.startedFrame();
    QVERIFY(frame != nullptr);
    frame->handleCommand(cmd::RunFpuOnly);
    QVERIFY(waitForResults(*frame));
    QCOMPARE(frame->resultsWindow().scoreText(), "N/A ");
    QByteArray expected("N/A  CPUMarks");
    expected.append(QByteArray(40 - expected.size(), '\0'));
    QCOMPARE(readFile(bench.path("tempdata")), expected);

    PlaceholderDlg* graphs = frame->placeholder("GraphResultsDlg");
    const std::pair<int, int> pages[] = {{cmd::GraphOverall, 0},
                                         {cmd::GraphAluFpu, 1},
                                         {cmd::GraphFpuSpDp, 2},
                                         {cmd::GraphMipsMflops, 5},
                                         {cmd::GraphRam, 3}};
    for (const auto& [command, page] : pages) {
        frame->handleCommand(command);
        QVERIFY(graphs->isVisible());
        QCOMPARE(graphs->currentPage(), page);
    }
    QVERIFY(!frame->resultsWindow().isVisible());
    QVERIFY(bench.dialogs.messages.empty());
}

void FrameCommandsTest::unsupportedSuiteWarnsAndRunsStandard() {
    FrameBench bench(FakeProcessor{.processors = 1, .simd = false});
    auto frame = bench.startedFrame();
    QVERIFY(frame != nullptr);
    // A custom selection keeps its tests.
    frame->sendRequest(engine::WM_RUN_BENCH, engine::SuiteSSE2, 0x85);
    QVERIFY(waitForResults(*frame));
    QCOMPARE(frame->currentResult().suite, std::int32_t{engine::SuiteStandard});
    QCOMPARE(frame->currentResult().selected, engine::unpackMask(0x85));
    QCOMPARE(bench.dialogs.messages.size(), std::size_t{1});
    const ShownMessage& shown = bench.dialogs.messages[0];
    QCOMPARE(shown.text,
             "Warning: Your CPU doesn't support this optimization mode: "
             "Continuing in Standard mode.");
    QCOMPARE(shown.title, "Veltrane Error");
    QCOMPARE(shown.icon, MessageIcon::Exclamation);
}

void FrameCommandsTest::secondRunAndClosingAreRefusedWhileRunning() {
    FrameBench bench(FakeProcessor{.processors = 2}, heldSuiteThreads());
    auto frame = bench.startedFrame();
    QVERIFY(frame != nullptr);
    frame->show();
    holdRuns();
    frame->handleCommand(cmd::BenchStandard);
    QVERIFY(frame->runInProgress() && frame->progressWindow().isVisible());
    frame->handleCommand(cmd::RunAluOnly);
    frame->handleCommand(cmd::BenchSmp);
    QVERIFY(!frame->close());
    const QString refused = QString::fromLatin1(engine::kRunInProgressWarning);
    QCOMPARE(bench.dialogs.messages.size(), std::size_t{3});
    QCOMPARE(bench.dialogs.messages[0].text, refused);
    QCOMPARE(bench.dialogs.messages[1].text, refused);
    QVERIFY(bench.dialogs.messages[2].text.startsWith("A benchmark is running."));
    QVERIFY(!frame->smpProgressWindow().isVisible());
    QVERIFY(frame->isVisible());

    releaseHeldRuns();
    QVERIFY(waitForResults(*frame));
    QCOMPARE(frame->currentResult().fullRun, std::uint8_t{1});  // the first run's record
    QVERIFY(frame->close());
}

void FrameCommandsTest::frameGoingAwayMidRunWaitsWithoutBlocking() {
    FrameBench bench(FakeProcessor{.processors = 2}, heldSuiteThreads());
    auto frame = bench.startedFrame();
    QVERIFY(frame != nullptr);
    holdRuns();
    frame->handleCommand(cmd::BenchSmp);
    QVERIFY(frame->smpProgressWindow().isVisible());
    QTest::qWait(50);  // the threads are sending by now
    std::thread release([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        releaseHeldRuns();
    });
    frame.reset();  // returns once the threads have ended
    release.join();
}

void FrameCommandsTest::documentsSwitchTheMenusAndTakeTheirCommands() {
    FrameBench bench;
    auto frame = bench.startedFrame();
    QVERIFY(frame != nullptr);
    auto windowMenuShown = [&] {
        const auto menus = frame->menuBar()->actions();
        return std::any_of(menus.begin(), menus.end(), [](const QAction* menu) {
            return menu->text() == "&Window" && menu->isVisible();
        });
    };
    QVERIFY(!windowMenuShown());
    frame->handleCommand(cmd::NewCustom);
    QTRY_COMPARE(frame->mdiArea().subWindowList().size(), 1);
    QVERIFY(windowMenuShown());
    QVERIFY(frame->menuAction(cmd::NewDefaultMenu)->isVisible());
    QVERIFY(!frame->menuAction(cmd::NewDefault)->isVisible());
    QVERIFY(frame->menuAction(cmd::SaveProjectMenu)->isEnabled());

    // The form answers its own commands: its default run closes it first.
    QSignalSpy requests(frame.get(), &CMainFrame::requestArrived);
    frame->handleCommand(cmd::NewDefaultMenu);
    QVERIFY(waitForResults(*frame));
    QCOMPARE(runRequests(requests), QStringList{"3/255"});
    QTRY_COMPARE(frame->mdiArea().subWindowList().size(), 0);
    QTRY_VERIFY(!windowMenuShown());
    QVERIFY(frame->menuAction(cmd::NewDefault)->isVisible());
}

void FrameCommandsTest::badRequestsChangeNothing() {
    FrameBench bench;
    auto frame = bench.startedFrame();
    QVERIFY(frame != nullptr);
    frame->handleRequest(engine::WM_SHOW_GRAPHS, 6, 0);
    frame->handleRequest(engine::WM_SHOW_SYSINFO, -1, 0);
    frame->handleRequest(engine::WM_SHOW_REFERENCE, 0, 7);
    frame->handleRequest(engine::WM_CONFIGURE_GRAPH, 0, 0);
    frame->handleRequest(1068, 0, 0);
    frame->handleRequest(engine::WM_BENCH_DONE, 0, 0);  // no run to end
    for (PlaceholderDlg* window : frame->findChildren<PlaceholderDlg*>()) {
        QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
    }
    QVERIFY(!frame->resultsWindow().isVisible());
    frame->handleRequest(engine::WM_RUN_BENCH, 9, 255);
    QCOMPARE(bench.dialogs.messages.size(), std::size_t{1});
    QCOMPARE(bench.dialogs.messages[0].text, "Unknown benchmark suite 9.");
    QVERIFY(!frame->progressWindow().isVisible());
    QVERIFY(!frame->resultAvailable());
    frame->handleRequest(engine::WM_CONFIGURE_GRAPH, 3, 0);  // while a good one does its part
    QVERIFY(frame->placeholder("GraphConfigDlg")->isVisible());
}

void FrameCommandsTest::writeReportRequestWritesTheChosenFileOrSaysWhy() {
    FrameBench bench;
    auto frame = bench.startedFrame();
    QVERIFY(frame != nullptr);
    frame->reportTester().testerName = "<b>Ann</b>";
    frame->reportSections().os = false;
    const QString folderBefore = QDir::currentPath();

    // Cancelled: nothing written, nothing said.
    frame->sendRequest(engine::WM_WRITE_REPORT);
    QCOMPARE(bench.dialogs.choosers.back(), QStringLiteral("Save the report: report.htm"));
    QVERIFY(bench.dialogs.messages.empty());

    // A name without an extension gets ".htm"; the typed name is escaped.
    bench.dialogs.fileNames.push_back(bench.path("mine"));
    frame->sendRequest(engine::WM_WRITE_REPORT);
    const QByteArray page = readFile(bench.path("mine.htm"));
    QVERIFY(page.contains("&lt;b&gt;Ann&lt;/b&gt;"));
    QVERIFY(page.contains("Benchmarks Results") && !page.contains("OS Informations"));

    // A folder that does not exist: the message, and no file.
    bench.dialogs.fileNames.push_back(bench.path("missing/r.htm"));
    frame->sendRequest(engine::WM_WRITE_REPORT);
    QCOMPARE(bench.dialogs.messages.size(), std::size_t{1});
    QCOMPARE(bench.dialogs.messages.back().text,
             QStringLiteral("Errror: Cannot create report file"));
    QCOMPARE(bench.dialogs.messages.back().title, QStringLiteral("Veltrane Error"));
    QCOMPARE(QDir::currentPath(), folderBefore);
}

}  // namespace veltrane::shell::test

QTEST_MAIN(veltrane::shell::test::FrameCommandsTest)
#include "FrameCommandsTest.moc"
