// The main frame's requests: benchmark runs, their end, and the windows
// that requests show.
#include <QLabel>
#include <QStatusBar>
#include <utility>

#include "engine/DetailsRows.h"
#include "engine/Messages.h"
#include "engine/RunEnd.h"
#include "engine/TestInfo.h"
#include "ident/Clock.h"
#include "ident/RunConditions.h"
#include "platform/OsFacts.h"
#include "shell/AdvancedInfoDlg.h"
#include "shell/Dialogs.h"
#include "shell/FrameConfig.h"
#include "shell/GraphConfigDlg.h"
#include "shell/GraphResultsDlg.h"
#include "shell/LoopConfigDlg.h"
#include "shell/LoopProgressDlg.h"
#include "shell/MainFrame.h"
#include "shell/ProgressDlg.h"
#include "shell/ReportWizardDlg.h"
#include "shell/ResultChart.h"
#include "shell/ResultsDlg.h"
#include "shell/SmpProgressDlg.h"
#include "shell/WindowPlacement.h"
#include "shellcore/RepeatRequest.h"

namespace veltrane::shell {

namespace {

constexpr int kCharts = 5;
constexpr int kQueuedRunPollMs = 50;

bool inRange(std::intptr_t value, std::intptr_t first, std::intptr_t last) {
    return value >= first && value <= last;
}

}  // namespace

void CMainFrame::handleRequest(int request, std::intptr_t wParam, std::intptr_t lParam) {
    if (closing_) {
        return;
    }
    emit requestArrived(request, wParam, lParam);
    switch (request) {
        case engine::WM_RUN_BENCH:
            runBenchmark(wParam, lParam);
            break;
        case engine::WM_BENCH_DONE:
            showRunResults();
            break;
        case engine::WM_SHOW_GRAPHS:
            // A second argument of 1 opens the details list as well.
            showGraphs(wParam, lParam == 1);
            break;
        case engine::WM_SHOW_REPORT_WIZARD:
            showCentredOnOwner(*reportWizard_);
            break;
        case engine::WM_SHOW_LOOP_CONFIG:
            showCentredOnOwner(*loopConfig_);
            break;
        case engine::WM_SHOW_SYSINFO:
            showSystemInfo(wParam);
            break;
        case engine::WM_SHOW_REFERENCE:
            showReference(wParam, lParam);
            break;
        case engine::WM_CONFIGURE_GRAPH:
            // The argument is the chart's own number, as its repaints use.
            if (ResultChart* chart = graphs_->chart(static_cast<int>(wParam))) {
                graphConfigurator_->open(*chart);
            }
            break;
        case engine::WM_REPAINT_GRAPH:
            if (inRange(wParam, 1, kCharts)) {
                graphs_->repaintChartPage(static_cast<int>(wParam));
            }
            break;
        case engine::WM_WRITE_REPORT:
            writeHtmlReport();
            break;
        default:
            // 1068 and unknown numbers do nothing.
            break;
    }
}

bool CMainFrame::runInProgress() const {
    return queuedRun_ || runGoing();
}

// One benchmark at a time, whichever kind: the threads would share processors.
bool CMainFrame::refuseWhileBusy() {
    if (!runInProgress() && !loopConfig_->progressWindow().looping()) {
        return false;
    }
    warn(QString::fromLatin1(engine::kRunInProgressWarning), QLatin1String(kWarningTitle));
    return true;
}

bool CMainFrame::runGoing() const {
    return session_.inProgress() || resultsPending_ || scalingThread_.joinable();
}

void CMainFrame::runBenchmark(std::intptr_t suite, std::intptr_t mask) {
    // Two threads must never write one record, nor a loop share the processors.
    if (refuseWhileBusy()) {
        return;
    }
    if (!inRange(suite, engine::SuiteSSE, engine::SuiteSMP)) {
        dialogs().message(this, QStringLiteral("Unknown benchmark suite %1.").arg(suite),
                          QLatin1String(kErrorTitle), MessageIcon::Stop, MessageButtons::Ok);
        return;
    }
    // The selection is one byte.
    const int selection = static_cast<int>(mask & 0xFF);
    suites::SessionPlan plan =
        suites::RunSession::plan(static_cast<int>(suite), selection, machine_.identity);
    if (plan.refusal) {
        dialogs().message(this, QString::fromStdString(*plan.refusal), QLatin1String(kErrorTitle),
                          MessageIcon::Stop, MessageButtons::Ok);
        return;
    }
    askedSuite_ = static_cast<int>(suite);
    askedMask_ = selection;
    repeat_ = engine::RepeatPlan{repeatCountOf(mask)};
    repeatRuns_.clear();
    // The clock thread spins at time-critical priority for two seconds: a run
    // beside it would be measured short of a processor and show no clock.
    if (!clock().measured()) {
        queuedRun_ = std::move(plan);
        readyMessage_->setText(QStringLiteral(
            "Measuring the processor clock: the benchmark starts as soon as it is done"));
        queuedRunTimer_.start(kQueuedRunPollMs);
        return;
    }
    startRun(plan);
}

void CMainFrame::startQueuedRun() {
    if (!queuedRun_ || !clock().measured()) {
        return;
    }
    queuedRunTimer_.stop();
    readyMessage_->setText(QStringLiteral("Ready"));
    startRun(*std::exchange(queuedRun_, std::nullopt));
}

void CMainFrame::startRun(const suites::SessionPlan& plan) {
    const bool smp = plan.run.suite == engine::SuiteSMP;
    ProgressWindow& window = runWindow(smp);
    showCentred(window);
    // What will spoil the figures is said where the run is watched.
    std::vector<engine::InfoRow> rows = systemRows(smp);
    runStartedAt_ = std::chrono::system_clock::now();
    runConditions_ = runConditions();
    for (const std::string& warning : ident::conditionWarnings(runConditions_)) {
        rows.push_back({"Warning", warning});
    }
    window.setInfoRows(rows);
    if (plan.run.fellBackToStandard) {
        dialogs().message(this, QString::fromLatin1(engine::kUnsupportedModeWarning),
                          QLatin1String(kErrorTitle), MessageIcon::Exclamation, MessageButtons::Ok);
    }
    runPlan_ = plan;
    engine::setEffectiveClockReference(env_.measureCoreClock ? machine_.clockMHz() : 0.0f);
    window.setRunText(QString::fromStdString(runCountText(1, repeat_.planned)));
    if (!session_.start(plan, window.beginRun())) {
        window.hide();
    }
    resultAvailable_ = true;
}

// The next run of a repeat in the same window; false once the repeat is done.
bool CMainFrame::startNextRepeatRun() {
    if (!runPlan_ || repeatRuns_.back().stopped || !engine::wantsAnotherRun(repeat_, repeatRuns_)) {
        return false;
    }
    ProgressWindow& window = runWindow(runPlan_->run.suite == engine::SuiteSMP);
    const int next = static_cast<int>(repeatRuns_.size()) + 1;
    window.setRunText(QString::fromStdString(runCountText(next, repeat_.planned)));
    return session_.start(*runPlan_, window.beginRun());
}

void CMainFrame::showRunResults() {
    // An end without a run in progress is not a run's.
    if (!session_.finish()) {
        return;
    }
    repeatRuns_.push_back(session_.result());
    if (startNextRepeatRun()) {
        return;
    }
    // A copy: the session's result is rewritten by the next run while the
    // graphs and the report may still read the current result.
    const bool repeated = repeatRuns_.size() > 1;
    currentResult_ = repeated ? engine::medianRecord(repeatRuns_) : repeatRuns_.front();
    spread_ = repeated ? engine::repeatStats(repeatRuns_) : std::vector<engine::FigureStats>{};
    keepRun();
    const bool smp = currentResult_.suite == engine::SuiteSMP;
    runWindow(smp).hide();
    if (smp) {
        showResultsWindow();
        return;
    }
    resultsPending_ = true;
    QTimer::singleShot(env_.resultsDelayMs, this, &CMainFrame::showResultsWindow);
}

ProgressWindow& CMainFrame::runWindow(bool smp) const {
    if (smp) {
        return *smpProgress_;
    }
    return *progress_;
}

void CMainFrame::showResultsWindow() {
    if (closing_) {
        return;
    }
    resultsPending_ = false;
    showCentred(*results_);
    results_->setScoreText(QString::fromStdString(engine::scoreText(currentResult_)));
    const std::string error =
        engine::writeTempdata(engine::scoreLine(currentResult_), env_.tempdataPath);
    results_->setTimeText(QString::fromStdString(engine::totalTimeText(currentResult_)));
    results_->setSuiteText(QString::fromLatin1(engine::suiteName(currentResult_.suite)));
    // Under the score: a repeat's spread, then any test whose core slowed down.
    QStringList notes;
    const std::string spread = spreadText(spread_, static_cast<int>(repeatRuns_.size()));
    if (!spread.empty()) {
        notes << QString::fromStdString(spread);
    }
    for (const std::string& warning : engine::throttlingWarnings(currentResult_)) {
        notes << QStringLiteral("Warning: ") + QString::fromStdString(warning);
    }
    results_->setSpreadText(notes.join(QLatin1Char('\n')));
    showPriorityNotice();
    if (!error.empty()) {
        warn(tempdataWarning(error), QLatin1String(kWarningTitle));
    }
    sayHistoryFailure();
}

void CMainFrame::showGraphs(std::intptr_t page, bool expanded) {
    if (!inRange(page, 0, GraphResultsDlg::kPageCount - 1)) {
        return;
    }
    results_->hide();
    graphs_->showResult(currentResult_, static_cast<int>(page), expanded);
}

void CMainFrame::showSystemInfo(std::intptr_t page) {
    if (!inRange(page, 0, AdvancedInfoDlg::kPageCount - 1)) {
        return;
    }
    createAdvancedInfo();
    advancedInfo_->showPage(static_cast<int>(page));
}

void CMainFrame::showReference(std::intptr_t position, std::intptr_t list) {
    if (!inRange(list, 0, engine::kReferenceListCount - 1)) {
        return;
    }
    const auto& entries = references_.lists[static_cast<std::size_t>(list)];
    if (inRange(position, 0, static_cast<std::intptr_t>(entries.size()) - 1)) {
        graphs_->showReferenceDetails(static_cast<int>(position), static_cast<int>(list));
    }
}

ident::RunConditions CMainFrame::runConditions() const {
    if (env_.runConditions) {
        return env_.runConditions(machine_.virtualMachine);
    }
    return ident::sampleRunConditions(platform::nativeOsFactsSource(), machine_.virtualMachine);
}

std::vector<engine::InfoRow> CMainFrame::systemRows(bool smpRun) const {
    return engine::cpuAndSystemRows(machine_, smpRun);
}

}  // namespace veltrane::shell
