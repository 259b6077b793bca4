// The main frame: its start-up, every command of its menus and toolbar, its
// requests, and real runs of the small suites through its windows.
#include <map>
#include <thread>

#include "WindowTest.h"
#include "engine/RunEnd.h"
#include "shell/AdvancedInfoDlg.h"
#include "shell/BenchmarkForm.h"
#include "shell/ChooserDlg.h"
#include "shell/FrameConfig.h"
#include "shell/GraphConfigDlg.h"
#include "shell/GraphResultsDlg.h"
#include "shell/LockKeys.h"
#include "shell/LoopConfigDlg.h"
#include "shell/ProgressDlg.h"
#include "shell/ReportWizardDlg.h"
#include "shell/ResultsDlg.h"
#include "shell/SmpProgressDlg.h"
#include "shell/SplashWindow.h"
#include "shellcore/CommandTable.h"
#include "suites/RunSession.h"

namespace veltrane::shell::test {

namespace {

// The WM_RUN_BENCH requests the frame received, as "suite/mask".
QStringList runRequests(const QSignalSpy& spy) {
    QStringList runs;
    for (const auto& arguments : spy) {
        if (arguments.at(0).toInt() == engine::WM_RUN_BENCH) {
            runs << arguments.at(1).toString() + "/" + arguments.at(2).toString();
        }
    }
    return runs;
}

// What a command visibly did: runs ("sent" when handled before the command
// returned, else "posted"), messages, modal windows and choosers, opened
// addresses, windows and bars.
QString effects(const CMainFrame& frame, const RecordingDialogs& dialogs,
                const QSignalSpy& requests, qsizetype sentAtOnce) {
    QStringList seen;
    const QStringList runs = runRequests(requests);
    for (qsizetype i = 0; i < runs.size(); ++i) {
        seen << (i < sentAtOnce ? "sent " : "posted ") + runs[i];
    }
    seen << dialogs.messages << dialogs.modalTitles << dialogs.choosers;
    for (const QUrl& url : dialogs.openedUrls) {
        seen << "open " + (url.isLocalFile() ? url.fileName() : url.toString());
    }
    for (const QDialog* window : {static_cast<QDialog*>(&frame.loopConfigurator()),
                                  static_cast<QDialog*>(&frame.reportWizard())}) {
        if (window->isVisible()) {
            seen << window->objectName();
        }
    }
    if (const auto* info = frame.findChild<AdvancedInfoDlg*>(); info && info->isVisible()) {
        seen << QStringLiteral("AdvancedInfoDlg page %1").arg(info->currentPage());
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
const QString kRunFirst = "Veltrane Warning: Please run at least a benchmark!";
const std::map<int, QString> kCommandEffects{
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
    {cmd::BenchMultiCore, "Multi-core Benchmark"},
    {cmd::GraphOverall, kRunFirst},
    {cmd::GraphAluFpu, kRunFirst},
    {cmd::GraphFpuSpDp, kRunFirst},
    {cmd::GraphMipsMflops, kRunFirst},
    {cmd::GraphRam, kRunFirst},
    {cmd::CpuInfo, "AdvancedInfoDlg page 0"},
    {cmd::CacheInfo, "AdvancedInfoDlg page 1"},
    {cmd::MotherboardInfo, "AdvancedInfoDlg page 2"},
    {cmd::OsInfo, "AdvancedInfoDlg page 3"},
    {cmd::ReportWizard, "ReportWizardDlg"},
    {cmd::ConfigureLooping, "LoopConfigDlg"},
    {cmd::ViewToolbar, "no toolbar"},
    {cmd::ViewStatusBar, "no status bar"},
    {cmd::HelpSystem, "open index.htm"},
    {cmd::MakerWebSite, "open " + QString::fromLatin1(kMakerWebSite)},
    {cmd::About, "About Veltrane"}};

// The menu items that differ from the command table, with or without a
// document (unhandled ones are not available; saving needs a document),
// and the Window menu and the toolbar's Save when they do.
QStringList menuMismatches(const CMainFrame& frame, bool document) {
    QStringList wrong;
    const MenuShown hidden = document ? MenuShown::WithoutDocument : MenuShown::WithDocument;
    for (const CommandInfo& command : commandTable()) {
        const QAction* action = frame.menuAction(command.id);
        const bool saving = command.id == cmd::SaveProject || command.id == cmd::SaveProjectMenu;
        const bool shown = command.shown != hidden;
        // A hidden item is never available either.
        if (action->text() != command.text || action->isVisible() != shown ||
            action->isEnabled() != (shown && command.handled && (document || !saving))) {
            wrong << command.text;
        }
    }
    for (const QAction* menu : frame.menuBar()->actions()) {
        if (menu->text() == "&Window" && menu->isVisible() != document) {
            wrong << menu->text();
        }
    }
    if (frame.toolbarAction("Save Project")->isEnabled() != document) {
        wrong << "Save Project";
    }
    return wrong;
}

// A panel of a progress window, when it does not show what the model holds.
QString panelMismatch(const QWidget& window, const QString& prefix,
                      const engine::ThreadProgress& held) {
    auto label = [&](const char* name) { return window.findChild<QLabel*>(prefix + name)->text(); };
    auto bar = [&](const char* name) {
        const auto* shown = window.findChild<QProgressBar*>(prefix + name);
        return QStringLiteral("%1/%2").arg(shown->value()).arg(shown->maximum());
    };
    auto text = [](const std::string& value) { return QString::fromStdString(value); };
    auto percent = [&](int value) { return text(engine::ProgressModel::percentText(value)); };
    auto model = [](const engine::ProgressBar& value) {
        return QStringLiteral("%1/%2").arg(value.position).arg(value.maximum);
    };
    const QStringList shown{label("Counter"),     label("Name"),          label("Unit"),
                            label("Description"), bar("CurrentBar"),      label("CurrentPercent"),
                            bar("OverallBar"),    label("OverallPercent")};
    const QStringList expected{QString::number(held.testsBegun),
                               text(held.name),
                               text(held.unit),
                               text(held.description),
                               model(held.current),
                               percent(held.current.position),
                               model(held.overall),
                               percent(held.overallPercent)};
    return shown == expected ? QString() : shown.join(" | ") + " held " + expected.join(" | ");
}

// After each message a progress window shows: "message/wParam/lParam", and
// every panel that does not show what the window's model holds.
template <typename Window>
void watchPanels(Window& window, const QStringList& prefixes, QStringList& seen) {
    QObject::connect(&window, &Window::messageShown, &window,
                     [&window, &seen, prefixes](int message, qint64 wParam, qint64 lParam) {
                         seen << QStringLiteral("%1/%2/%3").arg(message).arg(wParam).arg(lParam);
                         for (int i = 0; i < prefixes.size(); ++i) {
                             const QString wrong =
                                 panelMismatch(window, prefixes[i], window.model().thread(i));
                             if (!wrong.isEmpty()) {
                                 seen << "shown " + wrong;
                             }
                         }
                     });
}

QStringList infoRows(const QWidget& window) {
    return rows(*window.findChild<QTreeWidget*>(QStringLiteral("infoList")), ": ");
}

}  // namespace

class FrameTest : public QObject {
    Q_OBJECT

private slots:
    // The frame comes first, then a warning about "tempdata", the notes and
    // the chooser; the start-up step runs once, however long the chooser stays.
    void startsInOrder_data() {
        QTest::addColumn<bool>("marker");
        QTest::addColumn<bool>("writable");
        QTest::newRow("first start") << true << true;
        QTest::newRow("later start") << false << true;
        QTest::newRow("tempdata cannot be written") << true << false;
    }

    void startsInOrder() {
        QFETCH(bool, marker);
        QFETCH(bool, writable);
        FrameBench bench;
        if (marker) {
            writeFile(bench.path("FirstRun"));
        }
        if (writable) {
            writeFile(bench.path("tempdata"), "an old score");
        } else {
            QVERIFY(QDir(bench.dir.path()).mkdir("tempdata"));
        }
        int ticks = 0;
        bench.dialogs.modalAnswers["Choose a benchmark"] = [&](QDialog&) {
            QTest::qWait(200);  // the chooser may stay open long; the timer must not come back
            return ++ticks, int(QDialog::Rejected);
        };
        auto frame = bench.createFrame();
        QVERIFY(frame != nullptr);
        // Created: the splash is up, "tempdata" replaced, the tick still to come.
        QVERIFY(frame->splashWindow() != nullptr && frame->splashWindow()->isVisible());
        QCOMPARE(readFile(bench.path("tempdata")),
                 QByteArray(writable ? "Bench not run yet" : "<unreadable>"));
        // Nothing of the start-up comes before the frame is on screen.
        QTest::qWait(200);
        QVERIFY(!frame->startupDone() && bench.dialogs.shown.isEmpty());

        frame->showMaximized();
        QTRY_VERIFY(frame->startupDone());
        QStringList expected{"<Important notes>", "<Choose a benchmark>"};
        if (!writable) {
            expected.prepend("Veltrane Warning: Cannot write the result file " +
                             bench.path("tempdata") + ": ");
        }
        if (!marker) {
            expected.removeOne("<Important notes>");
        }
        QCOMPARE(bench.dialogs.shown.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QVERIFY2(bench.dialogs.shown[i].startsWith(expected[i]), qPrintable(expected[i]));
        }
        QCOMPARE(ticks, 1);
        QVERIFY(frame->splashWindow() == nullptr && !QFile::exists(bench.path("FirstRun")));
        QVERIFY(!frame->progressWindow().isVisible());
    }

    void missingReferenceFileEndsTheProgram() {
        FrameBench bench;
        FrameEnvironment environment = bench.environment();
        environment.referenceFiles = [](const std::string& name) {
            return name == "database4.dat" ? std::nullopt : std::optional<std::string>("");
        };
        CMainFrame frame(environment);
        QVERIFY(!frame.create());
        QCOMPARE(frame.exitStatus(), -1);
        QCOMPARE(bench.dialogs.messages,
                 QStringList{"Veltrane error: Critical error: cannot find file database.dat"});
        QVERIFY(bench.dialogs.kinds[0].first == MessageIcon::Stop);
        QVERIFY(!QFile::exists(bench.path("tempdata")));
        QTest::qWait(100);
        QVERIFY(bench.dialogs.modalTitles.isEmpty());
    }

    void chooserButtonsDoTheirActionAndClose() {
        RecordingFrame frame;
        ChooserDlg chooser(nullptr, frame);
        QVERIFY(!chooser.button("Batch Run...")->isEnabled());
        for (const char* button : {"Run custom Benchmark...", "Run Default Benchmark...",
                                   "Advanced System info...", "Burn In Mode...", "Close"}) {
            chooser.show();
            chooser.button(button)->click();
            QVERIFY2(!chooser.isVisible(), button);
        }
        QCOMPARE(logLines(frame.log),
                 QStringList({"post command 57600", "post command 57650", "post 1030 3 255",
                              "send 1046 0 0", "send 1042 0 0"}));
    }

    void firstRunMarkerIsUsedOnce() {
        QTemporaryDir home;
        const auto state = std::filesystem::path(home.path().toStdString()) / "state" / "veltrane";
        const FirstRunMarker marker = FirstRunMarker::perUser(state);
        QVERIFY(marker.consume());   // this user's first start
        QVERIFY(!marker.consume());  // and never again
        writeFile(QString::fromStdString((state / "FirstRun").string()));
        QVERIFY(marker.consume());  // unless the marker is put back
        QVERIFY(!FirstRunMarker().consume());
    }

    // Bad requests change nothing; the bars follow the command table.
    void barsFollowTheCommandTable() {
        FrameBench bench;
        auto frame = bench.startedFrame();
        QVERIFY(frame != nullptr);
        frame->handleRequest(engine::WM_SHOW_GRAPHS, 6, 0);
        frame->handleRequest(engine::WM_SHOW_SYSINFO, -1, 0);
        frame->handleRequest(engine::WM_SHOW_REFERENCE, 0, 7);
        frame->handleRequest(engine::WM_CONFIGURE_GRAPH, 0, 0);
        frame->handleRequest(1068, 0, 0);
        frame->handleRequest(engine::WM_BENCH_DONE, 0, 0);  // no run to end
        frame->handleRequest(engine::WM_RUN_BENCH, 9, 255);
        QSignalSpy none(frame.get(), &CMainFrame::requestArrived);
        QCOMPARE(effects(*frame, bench.dialogs, none, 0),
                 "Veltrane Error: Unknown benchmark suite 9.");
        QVERIFY(!frame->resultsWindow().isVisible() && !frame->resultAvailable());
        frame->handleRequest(engine::WM_CONFIGURE_GRAPH, 3, 0);  // while a good one does its part
        QVERIFY(frame->graphConfigurator().isVisible());
        QCOMPARE(frame->graphConfigurator().target(), frame->graphsWindow().chart(3));
        QCOMPARE(menuMismatches(*frame, false).join(", "), QString());
        QStringList toolbar;
        for (QAction* action : frame->toolbar().actions()) {
            toolbar << (action->isSeparator() ? QStringLiteral("-") : action->text());
            QVERIFY(action->isSeparator() || !action->icon().isNull());
        }
        QCOMPARE(toolbar,
                 QStringList({"New Custom", "New Default", "Save Project", "-", "SSE2 Bench",
                              "SSE Bench", "K7 Bench", "SMP Bench", "-", "Sys Info", "OS Info",
                              "Cache Info", "-", "Graph of res", "Loop Mode", "HTML Report"}));
        QStringList keys;
        for (QAction* action : frame->actions()) {
            keys << action->shortcut().toString();
        }
        QCOMPARE(keys, QStringList({"Ctrl+N", "Ctrl+O", "Ctrl+S", "F6", "Shift+F6"}));

        // The lock keys as the display server has them; none when it cannot tell.
        auto indicators = [&] {
            QString shown;
            for (const char* key : {"CAP", "NUM", "SCRL"}) {
                const auto* label =
                    frame->statusBar()->findChild<QLabel*>(key + QString("Indicator"));
                shown += !label->isVisible() ? '-' : label->isEnabled() ? '1' : '0';
            }
            return shown;
        };
        QCOMPARE(indicators(), "000");
        bench.lockKeys = LockKeys{.caps = true, .num = false, .scroll = true};
        QTRY_COMPARE(indicators(), "101");
        bench.lockKeys.reset();
        QTRY_COMPARE(indicators(), "---");

        // A document brings its own items; its form answers its commands,
        // and its default run closes it first.
        frame->handleCommand(cmd::NewCustom);
        QTRY_COMPARE(frame->mdiArea().subWindowList().size(), 1);
        QCOMPARE(menuMismatches(*frame, true).join(", "), QString());
        QSignalSpy requests(frame.get(), &CMainFrame::requestArrived);
        frame->handleCommand(cmd::NewDefaultMenu);
        QVERIFY(waitForResults(*frame));
        QCOMPARE(runRequests(requests), QStringList{"3/255"});
        QTRY_COMPARE(frame->mdiArea().subWindowList().size(), 0);
        QTRY_COMPARE(menuMismatches(*frame, false).join(", "), QString());
    }

    // Help and the web site say so, in the same box, when no viewer opens them.
    void unopenedPagesAreReported() {
        FrameBench bench;
        auto frame = bench.startedFrame();
        QVERIFY(frame != nullptr);
        bench.dialogs.viewerOpens = false;
        frame->handleCommand(cmd::HelpSystem);
        frame->handleCommand(cmd::MakerWebSite);
        QCOMPARE(bench.dialogs.openedUrls.size(), 2);
        QCOMPARE(
            bench.dialogs.messages,
            QStringList({"Veltrane Error: The help page " +
                             bench.dialogs.openedUrls[0].toLocalFile() + " could not be opened.",
                         "Veltrane Error: The web site " + QString(kMakerWebSite) +
                             " could not be opened."}));
        QVERIFY(bench.dialogs.kinds[0] == bench.dialogs.kinds[1] &&
                bench.dialogs.kinds[0].first == MessageIcon::Stop);
    }

    // However many forms are tiled, the maximised frame keeps to the screen.
    void tilingKeepsTheFrameOnTheScreen() {
        FrameBench bench;
        auto frame = bench.startedFrame();
        QVERIFY(frame != nullptr);
        frame->showMaximized();
        QTRY_VERIFY(frame->isMaximized());
        QTest::qWait(50);  // the window system's new size
        const QRect maximised = frame->geometry();
        for (int documents = 1; documents <= 3; ++documents) {
            frame->handleCommand(cmd::NewCustom);
            frame->handleCommand(cmd::WindowTile);
            QTest::qWait(20);
            QCOMPARE(frame->geometry(), maximised);
        }
        QVERIFY(frame->screen()->availableGeometry().contains(maximised));
    }

    // Every command of the table through its menu item, and K7 from the toolbar.
    void everyCommandDoesItsPart_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("toolbarButton");
        QTest::addColumn<QString>("expected");
        for (const CommandInfo& command : commandTable()) {
            const auto found = kCommandEffects.find(command.id);
            QTest::newRow(command.text)
                << command.id << QString() << (found != kCommandEffects.end() ? found->second : "");
        }
        QTest::newRow("K7 Bench") << cmd::Bench3DNow << "K7 Bench"
                                  << "posted 2/255";
    }

    void everyCommandDoesItsPart() {
        QFETCH(int, command);
        QFETCH(QString, toolbarButton);
        QFETCH(QString, expected);
        FrameBench bench;
        auto frame = bench.startedFrame();
        QVERIFY(frame != nullptr);
        QSignalSpy requests(frame.get(), &CMainFrame::requestArrived);
        (toolbarButton.isEmpty() ? frame->menuAction(command) : frame->toolbarAction(toolbarButton))
            ->trigger();
        const qsizetype sentAtOnce = runRequests(requests).size();
        QTest::qWait(20);  // posted requests and commands
        QVERIFY(!frame->runInProgress() || waitForResults(*frame));
        // The frame is destroyed with any document still open: that must not
        // reach the half-destroyed menus.
        QCOMPARE(effects(*frame, bench.dialogs, requests, sentAtOnce), expected);
        // A run leaves the record of the suite and the tests it was given.
        if (const QStringList runs = runRequests(requests); !runs.isEmpty()) {
            const int suite = runs[0].section('/', 0, 0).toInt();
            const int mask = runs[0].section('/', 1).toInt();
            QCOMPARE(frame->currentResult().suite, suite);
            QCOMPARE(frame->resultsWindow().suiteText(), QString(engine::suiteName(suite)));
            QCOMPARE(frame->currentResult().fullRun, std::uint8_t{mask == 255});
            QVERIFY(mask == 255 || frame->currentResult().selected == engine::unpackMask(mask));
        }
    }

    void secondRunAndClosingAreRefusedWhileRunning_data() {
        QTest::addColumn<int>("command");
        QTest::newRow("standard") << int(cmd::BenchStandard);
        QTest::newRow("SMP") << int(cmd::BenchSmp);
    }

    void secondRunAndClosingAreRefusedWhileRunning() {
        QFETCH(int, command);
        FrameBench bench(FakeProcessor{.processors = 2}, heldSuiteThreads());
        auto frame = bench.startedFrame();
        // Released before the frame goes, even when a check fails.
        const auto release = qScopeGuard(&releaseHeldRuns);
        QVERIFY(frame != nullptr);
        frame->handleCommand(command);
        QVERIFY(frame->runInProgress());
        // Its window stays up and at its size: no close button, Esc or maximising.
        QDialog& window = command == cmd::BenchSmp
                              ? static_cast<QDialog&>(frame->smpProgressWindow())
                              : static_cast<QDialog&>(frame->progressWindow());
        QVERIFY(
            !(window.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(!window.close());
        QTest::keyClick(&window, Qt::Key_Escape);
        window.showMaximized();
        QVERIFY(window.isVisible() && !window.isMaximized() && !window.isFullScreen());
        frame->handleCommand(cmd::RunAluOnly);
        frame->handleCommand(cmd::BenchSmp);
        QVERIFY(!frame->close() && frame->isVisible());
        const QString refused = "Veltrane Warning: " + QString(engine::kRunInProgressWarning);
        QCOMPARE(bench.dialogs.messages.mid(0, 2), QStringList({refused, refused}));
        QVERIFY(bench.dialogs.messages.value(2).contains("A benchmark is running."));
        if (command == cmd::BenchSmp) {
            // A frame going away mid-run waits for the threads, serving their sends.
            std::thread later([] {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                releaseHeldRuns();
            });
            frame.reset();
            later.join();
            return;
        }
        releaseHeldRuns();
        QVERIFY(waitForResults(*frame));
        QCOMPARE(frame->currentResult().suite, std::int32_t{engine::SuiteStandard});
        QCOMPARE(frame->currentResult().fullRun, std::uint8_t{1});  // the first run's record
        QVERIFY(frame->close());
    }

    // An unsupported suite warns and runs standard code with the tests it was given.
    void unsupportedSuiteRunsStandard() {
        FrameBench bench(FakeProcessor{.processors = 1, .simd = false});
        auto frame = bench.startedFrame();
        QVERIFY(frame != nullptr);
        frame->sendRequest(engine::WM_RUN_BENCH, engine::SuiteSSE2, 0x85);
        QVERIFY(waitForResults(*frame));
        QCOMPARE(frame->currentResult().suite, std::int32_t{engine::SuiteStandard});
        QCOMPARE(frame->resultsWindow().suiteText(), "standard");
        QCOMPARE(frame->currentResult().selected, engine::unpackMask(0x85));
        QCOMPARE(bench.dialogs.messages,
                 QStringList{"Veltrane Error: Warning: Your CPU doesn't support this "
                             "optimization mode: Continuing in Standard mode."});
        QVERIFY(bench.dialogs.kinds[0].first == MessageIcon::Exclamation);
    }

    // The default run from the chooser, then the SMP run, with the small suites.
    void runsThroughTheWindows() {
        FrameBench bench(FakeProcessor{.processors = 2}, smallSuiteThreads());
        bench.dialogs.modalAnswers["Choose a benchmark"] = [](QDialog& dialog) {
            static_cast<ChooserDlg&>(dialog).button("Run Default Benchmark...")->click();
            return dialog.result();
        };
        FrameEnvironment environment = bench.environment();
        environment.resultsDelayMs = 500;
        environment.measureCoreClock = true;  // read on any x86-64 machine
        ident::ClockState clock;              // being measured by someone else
        QVERIFY(clock.claim());
        environment.clock = &clock;
        CMainFrame frame(environment);
        QVERIFY(frame.create());
        frame.show();
        QStringList seen;
        watchPanels(frame.progressWindow(), {QString()}, seen);
        watchPanels(frame.smpProgressWindow(), {"thread1", "thread2"}, seen);
        // The chooser's run waits for the clock measurement, and is one run.
        QTRY_VERIFY(frame.startupDone());
        QTest::qWait(100);
        QVERIFY(frame.runInProgress() && !frame.progressWindow().isVisible());
        const auto* status = frame.statusBar()->findChild<QLabel*>("readyMessage");
        QVERIFY(status->text().startsWith("Measuring the processor clock"));
        frame.handleCommand(cmd::RunAluOnly);
        QCOMPARE(bench.dialogs.messages,
                 QStringList{"Veltrane Warning: " + QString(engine::kRunInProgressWarning)});
        bench.dialogs.messages.clear();
        clock.publish(1234.5f, "");
        QTRY_VERIFY(frame.progressWindow().isVisible());
        QCOMPARE(status->text(), "Ready");
        QCOMPARE(infoRows(frame.progressWindow()),
                 QStringList({"CPU Vendor: AuthenticAMD", "CPU Name: Test Processor",
                              "CPU Frequency: 1234.5 MHz", "L1 Data Cache: 64 KByte",
                              "L1 Instruction Cache: 64 KByte", "L2 Cache: 256 KByte",
                              QStringLiteral("System RAM (MByte): %1 MByte")
                                  .arg(ident::MemoryInfo().totalPhysMB())}));
        QVERIFY(waitForResults(frame));
        QVERIFY(!frame.progressWindow().isVisible());
        QCOMPARE(seen.filter(QStringLiteral("%1/").arg(engine::WM_THREAD_END)).size(), 7);

        // The results window, the current result and "tempdata" agree.
        QCOMPARE(frame.currentResult().suite, std::int32_t{engine::SuiteStandard});
        QCOMPARE(frame.currentResult().fullRun, std::uint8_t{1});
        for (const engine::TestClock& core : frame.currentResult().clocks) {
            QVERIFY(core.beforeMHz > 0 && core.afterMHz > 0);
        }
        const QString score = frame.resultsWindow().scoreText();
        QCOMPARE(score, QString::fromStdString(engine::scoreText(frame.currentResult())));
        QVERIFY(QRegularExpression("^[1-9]\\d* $").match(score).hasMatch());
        QVERIFY(QRegularExpression("^\\d+\\.\\d\\d seconds$")
                    .match(frame.resultsWindow().timeText())
                    .hasMatch());
        QCOMPARE(readFile(bench.path("tempdata")),
                 (score + " CPUMarks").toLatin1().leftJustified(40, '\0'));

        // "Graph of results.." opens the graphs at their first page, each
        // result command at its own.
        clickText(frame.resultsWindow(), "Graph of results..");
        QVERIFY(!frame.resultsWindow().isVisible());
        GraphResultsDlg* graphs = &frame.graphsWindow();
        auto page = [&] {
            return graphs->isVisible() ? QString::number(graphs->currentPage()) : "hidden";
        };
        QStringList pages{page()};
        for (const int command : {cmd::GraphOverall, cmd::GraphAluFpu, cmd::GraphFpuSpDp,
                                  cmd::GraphMipsMflops, cmd::GraphRam}) {
            graphs->hide();
            frame.handleCommand(command);
            pages << page();
        }
        QCOMPARE(pages.join(' '), "0 0 1 2 5 3");
        // "Bench details.." opens the same window on the list of every figure.
        graphs->hide();
        clickText(frame.resultsWindow(), "Bench details..");
        QVERIFY(graphs->isVisible() && graphs->detailsShown() && graphs->currentPage() == 0);
        graphs->hide();

        // What spoils the figures is said under the machine's rows.
        bench.conditions.power = ident::PowerSource::Battery;
        frame.toolbarAction("SMP Bench")->trigger();
        QCOMPARE(infoRows(frame.smpProgressWindow()).mid(1, 1), {"CPU Name: 2xTest Processor"});
        QCOMPARE(infoRows(frame.smpProgressWindow()).last(),
                 "Warning: the machine runs on battery: the processor may be held back");
        QVERIFY(waitForResults(frame));
        QVERIFY(!frame.smpProgressWindow().isVisible());
        const QString end = QStringLiteral("%1/%2/0").arg(engine::WM_THREAD_END);
        QCOMPARE(seen.filter(end.arg(1)).size(), 7);
        QCOMPARE(seen.filter(end.arg(2)).size(), 5);
        QCOMPARE(frame.currentResult().suite, std::int32_t{engine::SuiteSMP});
        QCOMPARE(frame.resultsWindow().suiteText(), "SMP");
        QCOMPARE(frame.currentResult().fullRun, std::uint8_t{1});
        QCOMPARE(frame.resultsWindow().scoreText(),
                 QString::fromStdString(engine::scoreText(frame.currentResult())));
        QCOMPARE(seen.filter("shown "), QStringList());
        QVERIFY(bench.dialogs.messages.empty());
    }

    // The form's Repeat field: three runs in the progress window, one after
    // the other, and the median score with its spread in the results window.
    void repeatsFromTheForm() {
        FrameBench bench({}, smallSuiteThreads());
        auto frame = bench.startedFrame();
        QVERIFY(frame != nullptr);
        frame->handleCommand(cmd::NewCustom);
        QTRY_VERIFY(frame->findChild<BenchmarkForm*>() != nullptr);
        BenchmarkForm& form = *frame->findChild<BenchmarkForm*>();
        form.repeatBox().setValue(3);
        QStringList runTexts;
        QObject::connect(&frame->progressWindow(), &ProgressWindow::messageShown, frame.get(),
                         [&](int message) {
                             if (message == engine::WM_THREAD_BEGIN) {
                                 runTexts << frame->progressWindow().runText();
                             }
                         });
        click(form, "runButton");
        QVERIFY(waitForResults(*frame));
        QCOMPARE(runTexts.size(), 21);
        QCOMPARE(runTexts.removeDuplicates(), 18);
        QCOMPARE(runTexts, QStringList({"Run 1 of 3", "Run 2 of 3", "Run 3 of 3"}));

        const auto& runs = frame->repeatRuns();
        QCOMPARE(runs.size(), std::size_t{3});
        std::vector<float> scores;
        for (const engine::BenchResult& run : runs) {
            scores.push_back(run.overallResult);
        }
        std::sort(scores.begin(), scores.end());
        QCOMPARE(frame->currentResult().overallResult, scores[1]);
        QCOMPARE(frame->resultsWindow().scoreText(),
                 QString::fromStdString(engine::scoreText(frame->currentResult())));
        const QString spread = QStringLiteral("Median of 3 runs: %1 - %2 CPUMarks, RSD ")
                                   .arg(engine::truncatedInt(scores[0]))
                                   .arg(engine::truncatedInt(scores[2]));
        QVERIFY2(frame->resultsWindow().spreadText().startsWith(spread),
                 qPrintable(frame->resultsWindow().spreadText()));
        QVERIFY(frame->resultsWindow().findChild<QLabel*>("spreadText")->isVisible());

        // A single run shows no spread.
        frame->resultsWindow().hide();
        frame->sendRequest(engine::WM_RUN_BENCH, engine::SuiteStandard, 8);
        QVERIFY(waitForResults(*frame));
        QCOMPARE(frame->repeatRuns().size(), std::size_t{1});
        QVERIFY(frame->resultsWindow().spreadText().isEmpty());
        QVERIFY(!frame->resultsWindow().findChild<QLabel*>("spreadText")->isVisible());
    }
};

}  // namespace veltrane::shell::test

QTEST_MAIN(veltrane::shell::test::FrameTest)
#include "FrameTest.moc"
