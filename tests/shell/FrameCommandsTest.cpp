// The commands of the menus and the toolbar: what each one asks for, the
// warnings before a run, the SMP check, and the bars themselves.
#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <thread>

#include "FrameTestSupport.h"
#include "engine/Messages.h"
#include "engine/RunRequest.h"
#include "engine/TestInfo.h"
#include "shell/CommandTable.h"
#include "shell/FrameConfig.h"
#include "shell/FrameRequests.h"
#include "shell/PlaceholderDlg.h"
#include "shell/ProgressDlg.h"
#include "shell/ResultsDlg.h"
#include "shell/SmpProgressDlg.h"
#include "suites/SmpRun.h"

namespace veltrane::shell::test {

namespace {

using Selection = std::array<std::uint8_t, 7>;

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

}  // namespace

class FrameCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void barsFollowTheCommandTable();
    void resultCommandsWarnBeforeAnyRun();
    void runCommandsRequestTheirSuiteAndMask_data();
    void runCommandsRequestTheirSuiteAndMask();
    void toolbarK7BenchPostsItsRun();
    void unsupportedSuiteWarnsAndRunsStandard();
    void smpCommandOnOneProcessorShowsTheError();
    void secondRunAndClosingAreRefusedWhileRunning();
    void frameGoingAwayMidRunWaitsWithoutBlocking();
    void documentsSwitchTheMenusAndTakeTheirCommands();
    void windowCommandsShowTheirPages();
    void helpAboutAndBarToggles();
    void badRequestsChangeNothing();
};

void FrameCommandsTest::barsFollowTheCommandTable() {
    FrameBench bench;
    auto frame = bench.startedFrame();
    QVERIFY(frame != nullptr);
    for (const CommandInfo& command : commandTable()) {
        QAction* action = frame->menuAction(command.id);
        QVERIFY(action != nullptr);
        QCOMPARE(action->text(), QString::fromLatin1(command.text));
        QCOMPARE(action->isVisible(), command.shown != MenuShown::WithDocument);
        if (!command.handled) {
            QVERIFY2(!action->isEnabled(), command.text);
        }
    }
    QVERIFY(!frame->menuAction(cmd::SaveProject)->isEnabled());  // nothing to save yet

    QStringList toolbar;
    for (QAction* action : frame->toolbar().actions()) {
        toolbar.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    QCOMPARE(toolbar, QStringList({"New Custom", "New Default", "Save Project", "-", "SSE2 Bench",
                                   "SSE Bench", "K7 Bench", "SMP Bench", "-", "Sys Info", "OS Info",
                                   "Cache Info", "-", "Graph of res", "Loop Mode", "HTML Report"}));
    for (QAction* action : frame->toolbar().actions()) {
        QVERIFY(action->isSeparator() || !action->icon().isNull());
    }

    QStringList keys;
    for (QAction* action : frame->actions()) {
        keys.append(action->shortcut().toString());
    }
    for (const char* key : {"Ctrl+N", "Ctrl+O", "Ctrl+S", "F6", "Shift+F6"}) {
        QVERIFY2(keys.contains(QString::fromLatin1(key)), key);
    }
    QCOMPARE(frame->statusBar()->findChild<QLabel*>(QStringLiteral("readyMessage"))->text(),
             QStringLiteral("Ready"));
    for (const char* indicator : {"CAPIndicator", "NUMIndicator", "SCRLIndicator"}) {
        QVERIFY(frame->statusBar()->findChild<QLabel*>(QString::fromLatin1(indicator)) != nullptr);
    }
    QVERIFY(!frame->windowIcon().isNull());
}

void FrameCommandsTest::resultCommandsWarnBeforeAnyRun() {
    FrameBench bench;
    auto frame = bench.startedFrame();
    QVERIFY(frame != nullptr);
    QSignalSpy requests(frame.get(), &CMainFrame::requestArrived);
    for (int command : {cmd::GraphOverall, cmd::GraphAluFpu, cmd::GraphFpuSpDp,
                        cmd::GraphMipsMflops, cmd::GraphRam}) {
        frame->handleCommand(command);
    }
    QCOMPARE(bench.dialogs.messages.size(), std::size_t{5});
    for (const auto& shown : bench.dialogs.messages) {
        QCOMPARE(shown.text, QStringLiteral("Please run at least a benchmark!"));
        QCOMPARE(shown.title, QStringLiteral("Veltrane Warning"));
        QCOMPARE(shown.icon, MessageIcon::Exclamation);
    }
    QCOMPARE(requests.count(), 0);
    QVERIFY(!frame->placeholder(QStringLiteral("GraphResultsDlg"))->isVisible());
}

void FrameCommandsTest::runCommandsRequestTheirSuiteAndMask_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("request");
    QTest::addColumn<bool>("posted");
    QTest::newRow("New Default (toolbar)") << cmd::NewDefault << "3/255" << false;
    QTest::newRow("New Default (menu)") << cmd::NewDefaultMenu << "3/255" << false;
    QTest::newRow("ALU only") << cmd::RunAluOnly << "3/1" << false;
    QTest::newRow("FPU only") << cmd::RunFpuOnly << "3/6" << false;
    QTest::newRow("MIPS only") << cmd::RunMipsOnly << "3/8" << false;
    QTest::newRow("MFLOPS only") << cmd::RunMflopsOnly << "3/16" << false;
    QTest::newRow("RAM only") << cmd::RunRamOnly << "3/96" << false;
    QTest::newRow("SSE") << cmd::BenchSse << "0/255" << true;
    QTest::newRow("SSE2") << cmd::BenchSse2 << "1/255" << true;
    QTest::newRow("3DNow!") << cmd::Bench3DNow << "2/255" << true;
    QTest::newRow("standard") << cmd::BenchStandard << "3/255" << false;
}

void FrameCommandsTest::runCommandsRequestTheirSuiteAndMask() {
    QFETCH(int, command);
    QFETCH(QString, request);
    QFETCH(bool, posted);
    FrameBench bench;
    auto frame = bench.startedFrame();
    QVERIFY(frame != nullptr);
    QSignalSpy requests(frame.get(), &CMainFrame::requestArrived);
    frame->handleCommand(command);
    QCOMPARE(runRequests(requests).size(), posted ? 0 : 1);
    QVERIFY(waitForResults(*frame));
    QCOMPARE(runRequests(requests), QStringList{request});
    QVERIFY(bench.dialogs.messages.empty());

    // The record the run wrote tells the suite and the tests it was given.
    const int suite = request.section('/', 0, 0).toInt();
    const int mask = request.section('/', 1, 1).toInt();
    const engine::BenchResult& result = frame->currentResult();
    QCOMPARE(result.suite, suite);
    QCOMPARE(result.fullRun, static_cast<std::uint8_t>(mask == 255 ? 1 : 0));
    if (mask != 255) {
        QCOMPARE(result.selected, engine::unpackMask(mask));
        QCOMPARE(frame->resultsWindow().scoreText(), QStringLiteral("N/A "));
        QByteArray expected("N/A  CPUMarks");
        expected.append(QByteArray(40 - expected.size(), '\0'));
        QCOMPARE(bench.readFile(QStringLiteral("tempdata")), expected);
    }
    // After any run the result commands open their page.
    frame->handleCommand(cmd::GraphOverall);
    PlaceholderDlg* graphs = frame->placeholder(QStringLiteral("GraphResultsDlg"));
    QVERIFY(graphs->isVisible());
    QCOMPARE(graphs->currentPage(), 0);
    QVERIFY(!frame->resultsWindow().isVisible());
    frame->handleCommand(cmd::GraphMipsMflops);
    QCOMPARE(graphs->currentPage(), 5);
    frame->handleCommand(cmd::GraphRam);
    QCOMPARE(graphs->currentPage(), 3);
}

void FrameCommandsTest::toolbarK7BenchPostsItsRun() {
    FrameBench bench;
    auto frame = bench.startedFrame();
    QVERIFY(frame != nullptr);
    QSignalSpy requests(frame.get(), &CMainFrame::requestArrived);
    frame->toolbarAction(QStringLiteral("K7 Bench"))->trigger();
    QVERIFY(runRequests(requests).isEmpty());  // posted: after the command returns
    QVERIFY(waitForResults(*frame));
    QCOMPARE(runRequests(requests), QStringList{QStringLiteral("2/255")});
    QCOMPARE(frame->currentResult().suite, std::int32_t{engine::Suite3DNow});
}

void FrameCommandsTest::unsupportedSuiteWarnsAndRunsStandard() {
    FrameBench bench(FakeProcessor{.processors = 1, .simd = false});
    auto frame = bench.startedFrame();
    QVERIFY(frame != nullptr);
    frame->handleCommand(cmd::BenchSse);
    QVERIFY(waitForResults(*frame));
    QCOMPARE(bench.dialogs.messages.size(), std::size_t{1});
    QCOMPARE(bench.dialogs.messages[0].text,
             QStringLiteral("Warning: Your CPU doesn't support this optimization mode: "
                            "Continuing in Standard mode."));
    QCOMPARE(bench.dialogs.messages[0].title, QStringLiteral("Veltrane Error"));
    QCOMPARE(bench.dialogs.messages[0].icon, MessageIcon::Exclamation);
    QCOMPARE(frame->currentResult().suite, std::int32_t{engine::SuiteStandard});

    // A custom selection falls back the same way and keeps its tests.
    frame->sendRequest(engine::WM_RUN_BENCH, engine::SuiteSSE2, 0x85);
    QVERIFY(waitForResults(*frame));
    QCOMPARE(bench.dialogs.messages.size(), std::size_t{2});
    QCOMPARE(frame->currentResult().suite, std::int32_t{engine::SuiteStandard});
    QCOMPARE(frame->currentResult().selected, (Selection{1, 0, 1, 0, 0, 0, 0}));
}

void FrameCommandsTest::smpCommandOnOneProcessorShowsTheError() {
    FrameBench bench;
    auto frame = bench.startedFrame();
    QVERIFY(frame != nullptr);
    QSignalSpy requests(frame.get(), &CMainFrame::requestArrived);
    frame->toolbarAction(QStringLiteral("SMP Bench"))->trigger();
    QTest::qWait(50);
    QCOMPARE(bench.dialogs.messages.size(), std::size_t{1});
    QCOMPARE(bench.dialogs.messages[0].text, QString::fromLatin1(suites::kSmpOnlyError));
    QCOMPARE(bench.dialogs.messages[0].title, QStringLiteral("Veltrane Error"));
    QCOMPARE(bench.dialogs.messages[0].icon, MessageIcon::Stop);
    QCOMPARE(requests.count(), 0);
    QVERIFY(!frame->smpProgressWindow().isVisible());
    QVERIFY(!frame->resultAvailable());
}

void FrameCommandsTest::secondRunAndClosingAreRefusedWhileRunning() {
    FrameBench bench(FakeProcessor{.processors = 2}, heldSuiteThreads());
    auto frame = bench.startedFrame();
    QVERIFY(frame != nullptr);
    frame->show();
    holdRuns();
    frame->handleCommand(cmd::BenchStandard);
    QVERIFY(frame->runInProgress());
    QVERIFY(frame->progressWindow().isVisible());
    frame->handleCommand(cmd::RunAluOnly);
    frame->handleCommand(cmd::BenchSmp);
    QVERIFY(!frame->close());
    QCOMPARE(bench.dialogs.messages.size(), std::size_t{3});
    for (std::size_t i = 0; i < 2; ++i) {
        QCOMPARE(bench.dialogs.messages[i].text,
                 QString::fromLatin1(engine::kRunInProgressWarning));
        QCOMPARE(bench.dialogs.messages[i].title, QStringLiteral("Veltrane Warning"));
    }
    QVERIFY(bench.dialogs.messages[2].text.startsWith(QStringLiteral("A benchmark is running.")));
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
        for (QAction* menu : frame->menuBar()->actions()) {
            if (menu->text() == QStringLiteral("&Window")) {
                return menu->isVisible();
            }
        }
        return false;
    };
    QVERIFY(!windowMenuShown());
    frame->handleCommand(cmd::NewCustom);
    QTRY_COMPARE(frame->mdiArea().subWindowList().size(), 1);
    QVERIFY(windowMenuShown());
    QVERIFY(frame->menuAction(cmd::NewDefaultMenu)->isVisible());
    QVERIFY(!frame->menuAction(cmd::NewDefault)->isVisible());
    QVERIFY(frame->menuAction(cmd::HelpSystem)->isVisible());
    QVERIFY(frame->menuAction(cmd::SaveProjectMenu)->isEnabled());

    // The form answers its own commands: its default run closes it first.
    QSignalSpy requests(frame.get(), &CMainFrame::requestArrived);
    frame->handleCommand(cmd::NewDefaultMenu);
    QVERIFY(waitForResults(*frame));
    QCOMPARE(runRequests(requests), QStringList{QStringLiteral("3/255")});
    QTRY_COMPARE(frame->mdiArea().subWindowList().size(), 0);
    QTRY_VERIFY(!windowMenuShown());
    QVERIFY(frame->menuAction(cmd::NewDefault)->isVisible());
}

void FrameCommandsTest::windowCommandsShowTheirPages() {
    FrameBench bench;
    auto frame = bench.startedFrame();
    QVERIFY(frame != nullptr);
    PlaceholderDlg* info = frame->placeholder(QStringLiteral("AdvancedInfoDlg"));
    const std::pair<int, int> infoPages[] = {
        {cmd::CpuInfo, 0}, {cmd::CacheInfo, 1}, {cmd::MotherboardInfo, 2}, {cmd::OsInfo, 3}};
    for (const auto& [command, page] : infoPages) {
        frame->handleCommand(command);
        QVERIFY(info->isVisible());
        QCOMPARE(info->currentPage(), page);
    }
    frame->handleCommand(cmd::ReportWizard);
    QVERIFY(frame->placeholder(QStringLiteral("ReportWizardDlg"))->isVisible());
    QCOMPARE(frame->placeholder(QStringLiteral("ReportWizardDlg"))->windowTitle(),
             QStringLiteral("Veltrane Report generation Wizard"));
    frame->handleCommand(cmd::ConfigureLooping);
    QVERIFY(frame->placeholder(QStringLiteral("LoopDlg"))->isVisible());
    frame->handleRequest(engine::WM_CONFIGURE_GRAPH, 3, 0);
    QVERIFY(frame->placeholder(QStringLiteral("GraphConfigDlg"))->isVisible());
    QVERIFY(bench.dialogs.messages.empty());
}

void FrameCommandsTest::helpAboutAndBarToggles() {
    FrameBench bench;
    auto frame = bench.startedFrame();
    QVERIFY(frame != nullptr);
    frame->setVersionText(QLatin1String(kVersionText));
    QString aboutText;
    bench.dialogs.modalAnswers[QStringLiteral("About Veltrane")] = [&](QDialog& about) {
        aboutText = about.findChild<QLabel*>(QStringLiteral("aboutText"))->text();
        return int(QDialog::Accepted);
    };
    frame->handleCommand(cmd::About);
    QVERIFY(aboutText.contains(QStringLiteral("Veltrane")));
    QVERIFY(aboutText.contains(QStringLiteral("Veltrane Beta3 Version 1.0")));

    frame->handleCommand(cmd::MakerWebSite);
    frame->handleCommand(cmd::HelpSystem);
    QCOMPARE(bench.dialogs.openedUrls.size(), 2);
    QCOMPARE(bench.dialogs.openedUrls[0], QUrl(QString::fromLatin1(kMakerWebSite)));
    QVERIFY(bench.dialogs.openedUrls[1].isLocalFile());
    QCOMPARE(bench.dialogs.openedUrls[1].fileName(), QStringLiteral("index.htm"));

    frame->show();
    frame->handleCommand(cmd::ViewToolbar);
    QVERIFY(frame->toolbar().isHidden());
    QVERIFY(!frame->menuAction(cmd::ViewToolbar)->isChecked());
    frame->handleCommand(cmd::ViewToolbar);
    QVERIFY(!frame->toolbar().isHidden());
    frame->handleCommand(cmd::ViewStatusBar);
    QVERIFY(frame->statusBar()->isHidden());
    QVERIFY(!frame->menuAction(cmd::ViewStatusBar)->isChecked());
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
    QCOMPARE(bench.dialogs.messageTexts(),
             QStringList{QStringLiteral("Unknown benchmark suite 9.")});
    QVERIFY(!frame->progressWindow().isVisible());
    QVERIFY(!frame->resultAvailable());
}

}  // namespace veltrane::shell::test

QTEST_MAIN(veltrane::shell::test::FrameCommandsTest)
#include "FrameCommandsTest.moc"
