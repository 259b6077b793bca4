// Renders every window of the frame to PNG files for review:
//   shell_screenshots_app <folder>
// The progress windows show a run under way, the results window a finished one.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "FrameTestSupport.h"
#include "engine/InfoRow.h"
#include "engine/Messages.h"
#include "engine/ReferenceDatabase.h"
#include "engine/TestInfo.h"
#include "engine/UserEntries.h"
#include "ident/Clock.h"
#include "ident/MachineFacts.h"
#include "shell/AboutDlg.h"
#include "shell/AdvancedInfoDlg.h"
#include "shell/BenchmarkFormPicture.h"
#include "shell/ChooserDlg.h"
#include "shell/DatabasePage.h"
#include "shell/Dialogs.h"
#include "shell/FrameConfig.h"
#include "shell/GraphConfigDlg.h"
#include "shell/GraphResultsDlg.h"
#include "shell/LoopConfigDlg.h"
#include "shell/LoopProgressDlg.h"
#include "shell/NotesDlg.h"
#include "shell/ProcessorTodayPage.h"
#include "shell/ProgressDlg.h"
#include "shell/ProjectDocuments.h"
#include "shell/ReportWizardDlg.h"
#include "shell/ResultChart.h"
#include "shell/ResultsDlg.h"
#include "shell/ScalingProgressDlg.h"
#include "shell/ScalingResultsDlg.h"
#include "shell/ScalingSetupDlg.h"
#include "shell/SmpProgressDlg.h"
#include "shell/SplashWindow.h"
#include "shell/SystemDetailsDlg.h"
#include "shellcore/FrameRequests.h"
#include "store/RunRecord.h"
#include "support/FakeCpu.h"

using namespace veltrane::shell;
using namespace veltrane::engine;

namespace {

// `count` made-up systems whose figures are 40 %, 70 %, 100 % ... of the run's.
ReferenceDatabase referencesAround(const BenchResult& run, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        const double share = 0.4 + 0.3 * i;
        const auto figure = [share](float value) { return QString::number(int(value * share)); };
        const QString fpu = figure((run.floatResult + run.doubleResult) * 0.5f);
        text += QStringLiteral("Reference system %1-64 KB-64 KB-512 KB-Chipset %1-200 MHz-Some OS-")
                    .arg(QChar('A' + i))
                    .toStdString();
        for (const QString& value :
             {figure(run.overallResult), figure(run.integerResult), fpu, figure(run.floatResult),
              figure(run.doubleResult), figure(run.mipsResult), figure(run.mflopsResult),
              figure(run.ramAluResult), figure(run.ramFpuResult)}) {
            text += value.toStdString() + "-";
        }
        text += i == 0 ? "AMD_Zen\n" : "UNKNOWN_CHIP\n";
    }
    text.pop_back();
    return loadReferenceDatabase([&text](const std::string&) { return std::optional(text); })
        .database;
}

// The configurator, a continuous loop held in its fourth unit, and a
// finished repeat loop. Each unit moves the clock on by 37 seconds.
template <typename Shoot>
bool shootLoopWindows(test::FrameBench& bench, CMainFrame& frame, Shoot& shoot) {
    static std::atomic<bool> held{true};
    bench.loopHook = [&bench](std::int64_t unit, veltrane::burnin::LoopMatrices&) {
        const int seconds = static_cast<int>(unit + 1) * 37;
        bench.loopClock.time = veltrane::burnin::test::clockAt(10, seconds / 60, seconds % 60);
        while (unit == 3 && held.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    };
    LoopConfigDlg& config = frame.loopConfigurator();
    LoopProgressDlg& progress = config.progressWindow();
    frame.handleRequest(WM_SHOW_LOOP_CONFIG, 0, 0);
    shoot(config, QStringLiteral("LoopConfigDlg"));
    config.startButton()->click();
    const bool running = QTest::qWaitFor([&] { return progress.log().unitsStarted() == 4; });
    shoot(progress, QStringLiteral("LoopProgressDlg-running"));
    progress.button()->click();
    held.store(false);
    const bool stopped = QTest::qWaitFor([&] { return !progress.looping(); });
    bench.loopClock.time = veltrane::burnin::test::clockAt(10, 0);
    frame.handleRequest(WM_SHOW_LOOP_CONFIG, 0, 0);
    config.modeRadio(veltrane::burnin::LoopMode::Repeat)->click();
    config.startButton()->click();
    const bool done = QTest::qWaitFor([&] { return !progress.looping(); });
    QTest::qWait(20);
    shoot(progress, QStringLiteral("LoopProgressDlg-done"));
    progress.hide();
    return running && stopped && done;
}

// The question "Save this result" asks, and the database page with the run
// saved under the name given, selected so "Remove" is enabled.
template <typename ShootLarge, typename Shoot>
bool shootOwnEntry(CMainFrame& frame, const ReferenceDatabase& references, ShootLarge& shootLarge,
                   Shoot& shoot) {
    const auto& machine = frame.machineFacts();
    const BenchResult& run = frame.currentResult();
    std::unique_ptr<QInputDialog> question(makeTextQuestion(
        nullptr, QLatin1String(kSaveResultTitle), QLatin1String(kMachineNameQuestion),
        QString::fromStdString(veltrane::store::defaultMachineName(machine, run.suite))));
    shoot(*question, QStringLiteral("SaveResultQuestion"));
    ReferenceDatabase own = references;
    ReferenceEntry entry = veltrane::store::machineReferenceEntry(run, machine, "My workstation");
    entry.userEntryId = 1;
    putUserEntry(own, run.suite, entry);
    GraphResultsDlg graphs(&frame, frame, own);
    graphs.setSaveRefusal(QString());
    graphs.showResult(run, 4);
    QTreeWidget& table = graphs.database().table();
    table.setCurrentItem(table.topLevelItem(table.topLevelItemCount() - 1));
    const bool removable = graphs.database().findChild<QPushButton*>("removeButton")->isEnabled();
    shootLarge(graphs, QStringLiteral("GraphResultsDlg-database-own"));
    return removable;
}

// A multi-core run of ten threads: its setup, its progress window held in
// the ten-thread step's third test, and its results.
template <typename Shoot>
bool shootScalingWindows(test::FrameBench& bench, CMainFrame& frame, Shoot& shoot) {
    bench.dialogs.modalAnswers[QStringLiteral("Multi-core Benchmark")] = [&](QDialog& dialog) {
        auto& setup = static_cast<ScalingSetupDlg&>(dialog);
        setup.threadsField()->setValue(10);
        shoot(setup, QStringLiteral("ScalingSetupDlg"));
        setup.startButton()->click();
        return dialog.result();
    };
    test::holdScalingRuns(3, 9);
    frame.handleCommand(veltrane::shell::cmd::BenchMultiCore);
    ScalingProgressDlg& progress = frame.scalingProgressWindow();
    const bool held = QTest::qWaitFor([&] {
        return progress.heading()->text().contains(QStringLiteral("Step 2 of 2")) &&
               progress.heading()->text().contains(QStringLiteral("test 3"));
    });
    QTest::qWait(3 * ScalingProgressDlg::kRefreshMs);
    shoot(progress, QStringLiteral("ScalingProgressDlg"));
    test::releaseScalingRuns();
    ScalingResultsDlg& results = frame.scalingResultsWindow();
    const bool done = QTest::qWaitFor([&] { return results.isVisible(); }, 30000);
    shoot(results, QStringLiteral("ScalingResultsDlg"));
    results.hide();
    return held && done;
}

}  // namespace

// The "Processor today" page with its memory ladder run and drawn.
void runLadder(AdvancedInfoDlg& info) {
    auto* today = info.findChild<CProcessorTodayPage*>();
    QSignalSpy finished(today, &CProcessorTodayPage::ladderFinished);
    today->findChild<QPushButton*>("runLadder")->click();
    finished.wait(120'000);
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots"));
    // Small real suites, so the graphs show a run's own figures.
    test::FrameBench bench({}, test::smallSuiteThreads());
    auto frame = bench.startedFrame();
    if (!QDir().mkpath(folder.path()) || frame == nullptr) {
        qCritical("cannot create %s or start the frame", qPrintable(folder.path()));
        return 1;
    }
    bool saved = true;
    auto shoot = [&](QWidget& window, const QString& name) {
        window.show();
        QTest::qWait(50);
        saved = window.grab().save(folder.filePath(name + ".png")) && saved;
    };
    frame->setVersionText(QLatin1String(kVersionText));
    frame->resize(1280, 800);
    shoot(*frame, "main_frame");
    frame->documents().newDocument();
    shoot(*frame, "main_frame_with_document");
    frame->documents().closeActiveDocument();
    SplashWindow splash(nullptr);
    NotesDlg notes(nullptr);
    AboutDlg about(nullptr, QLatin1String(kVersionText));
    std::vector<InfoRow> rows{{"CPU Vendor", "AuthenticAMD"},       {"CPU Name", "AMD Athlon XP"},
                              {"CPU Frequency", "1733.4 MHz"},      {"L1 Data Cache", "64 KByte"},
                              {"L1 Instruction Cache", "64 KByte"}, {"L2 Cache", "256 KByte"},
                              {"System RAM (MByte)", "512 MByte"}};
    // Test 3 under way: two tests done, six ticks into the third.
    ProgressDlg& progress = frame->progressWindow();
    progress.setInfoRows(rows);
    progress.show();
    for (int test = 1; test <= 3; ++test) {
        progress.handleMessage(WM_THREAD_BEGIN, test, 0);
        progress.handleMessage(test < 3 ? WM_THREAD_END : WM_THREAD_TICK, 0, 0);
    }
    for (int tick = 1; tick < 6; ++tick) {
        progress.handleMessage(WM_THREAD_TICK, 0, 0);
    }
    // The first thread in its memory test, the second stopped.
    SmpProgressDlg& smp = frame->smpProgressWindow();
    rows[1].description = "2xAMD Athlon MP";
    smp.setInfoRows(rows);
    smp.show();
    for (int test = 1; test <= 5; ++test) {
        smp.handleMessage(WM_THREAD_BEGIN, test, 0);
        smp.handleMessage(WM_THREAD_BEGIN, test, 1);
        smp.handleMessage(WM_THREAD_END, 1, 0);
        smp.handleMessage(WM_THREAD_END, 2, 0);
    }
    smp.handleMessage(WM_THREAD_BEGIN, 6, 0);
    for (int tick = 0; tick < 3; ++tick) {
        smp.handleMessage(WM_THREAD_TICK, 1, 0);
    }
    frame->resultsWindow().setScoreText(QStringLiteral("4321 "));
    frame->resultsWindow().setTimeText(QStringLiteral("83.46 seconds"));
    frame->resultsWindow().setSuiteText(QLatin1String(suiteName(SuiteStandard)));
    std::vector<std::pair<QWidget*, QString>> windows{{&splash, "splash"},
                                                      {&frame->chooser(), "chooser"},
                                                      {&notes, "important_notes"},
                                                      {&about, "about"},
                                                      {&progress, "progress"},
                                                      {&smp, "smp_progress"},
                                                      {&frame->resultsWindow(), "results"}};
    // The graph window is small on screen; its pictures are drawn larger so
    // every text reads, at 800x600 or more.
    auto shootLarge = [&](QWidget& window, const QString& name) {
        window.show();
        QTest::qWait(50);
        const qreal scale = std::max({1.0, 800.0 / window.width(), 600.0 / window.height()});
        QImage image(window.size() * scale, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.scale(scale, scale);
        window.render(&painter);
        painter.end();
        saved = image.save(folder.filePath(name + ".png")) && saved;
    };
    frame->handleRequest(WM_RUN_BENCH, SuiteStandard, 255);
    saved = test::waitForResults(*frame) && saved;
    // Small suites give figures far from a real run's: the made-up systems
    // beside them are scaled to the run, so every bar has a length to see.
    const ReferenceDatabase references = referencesAround(frame->currentResult(), 5);
    GraphResultsDlg graphs(frame.get(), *frame, references);
    for (int page = 0; page < GraphResultsDlg::kPageCount; ++page) {
        graphs.showResult(frame->currentResult(), page);
        shootLarge(graphs, QStringLiteral("GraphResultsDlg-page%1").arg(page));
    }
    graphs.showResult(frame->currentResult(), 0);
    ResultChart& overall = *graphs.chart(1);
    for (const auto mode :
         {veltrane::reports::FillMode::standard, veltrane::reports::FillMode::cylindrical,
          veltrane::reports::FillMode::vertical}) {
        auto data = overall.data();
        data.fillMode = mode;
        overall.setData(data);
        shootLarge(graphs, QStringLiteral("GraphResultsDlg-page0-mode%1").arg(int(mode)));
    }
    graphs.showResult(frame->currentResult(), 0, true);
    shootLarge(graphs, QStringLiteral("GraphResultsDlg-details"));
    graphs.hide();
    saved = shootOwnEntry(*frame, references, shootLarge, shoot) && saved;
    graphs.showReferenceDetails(1, SuiteStandard);
    shoot(graphs.systemDetails(), QStringLiteral("SystemDetailsDlg"));
    graphs.systemDetails().hide();
    frame->graphConfigurator().open(*graphs.chart(1));
    shoot(frame->graphConfigurator(), QStringLiteral("GraphConfigDlg"));
    frame->graphConfigurator().hide();
    ReportWizardDlg& wizard = frame->reportWizard();
    wizard.testerNameField()->setText(QStringLiteral("Ann Example"));
    wizard.systemNameField()->setText(QStringLiteral("bench-box"));
    wizard.commentsField()->setPlainText(QStringLiteral("Stock cooler, case open."));
    shoot(wizard, QStringLiteral("ReportWizardDlg"));
    wizard.hide();
    // The information sheet of two recorded processors and of this machine,
    // its clock measured first. The frame's own sheet would repeat the first.
    const auto& native = veltrane::ident::machineFacts();
    veltrane::ident::startClockMeasurement(native.identity).join();
    const std::pair<QString, veltrane::ident::MachineFacts> machines[] = {
        {"athlonxp", veltrane::test::machineOfDump("athlonxp-palomino", 1466.9f)},
        {"pentium4", veltrane::test::machineOfDump("pentium4-northwood", 2405.1f)},
        {"native", native}};
    QFile::remove(folder.filePath("AdvancedInfoDlg.png"));
    for (const auto& [suffix, machine] : machines) {
        AdvancedInfoDlg info(nullptr, machine);
        for (int page = 0; page < AdvancedInfoDlg::kPageCount; ++page) {
            info.showPage(page);
            if (page == 4 && suffix == "native") {
                runLadder(info);  // the real one, about eight seconds here
            }
            shoot(info, QStringLiteral("AdvancedInfoDlg-page%1-%2").arg(page).arg(suffix));
        }
    }
    saved = shootLoopWindows(bench, *frame, shoot) && saved;
    saved = shootScalingWindows(bench, *frame, shoot) && saved;
    for (const auto& [window, name] : windows) {
        shoot(*window, name);
        window->hide();
    }
    return saved && writeBenchmarkFormPng(folder.filePath("benchmark_form.png"), *frame) ? 0 : 1;
}
