#pragma once

#include <QMainWindow>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <thread>

#include "engine/BenchResult.h"
#include "engine/InfoRow.h"
#include "engine/ReferenceDatabase.h"
#include "engine/RepeatStats.h"
#include "engine/RunRequest.h"
#include "engine/TestInfo.h"
#include "ident/MachineFacts.h"
#include "ident/RunConditions.h"
#include "reports/ReportInputs.h"
#include "shell/FrameEnvironment.h"
#include "shellcore/FrameRequests.h"
#include "shellcore/SaveResult.h"
#include "store/ResultsStore.h"
#include "suites/RunSession.h"
#include "suites/ScalingRun.h"

class QLabel;
class QMdiArea;
class QToolBar;

namespace veltrane::ident {
class ClockState;
}

namespace veltrane::shell {

class ChooserDlg;
class GraphConfigDlg;
class GraphResultsDlg;
class AdvancedInfoDlg;
class LoopConfigDlg;
class ProgressDlg;
class ProgressWindow;
class ProjectDocuments;
class ReportWizardDlg;
class ResultsDlg;
class ScalingMonitor;
class ScalingProgressDlg;
class ScalingResultsDlg;
class SmpProgressDlg;
class SplashWindow;

// The main window: the benchmark documents in its MDI area, the menus,
// toolbar and status bar, and every long-lived window of the program. Every
// command and request ends up in handleCommand or handleRequest.
class CMainFrame final : public QMainWindow, public FrameRequests {
    Q_OBJECT

public:
    explicit CMainFrame(FrameEnvironment environment = FrameEnvironment());
    ~CMainFrame() override;

    // The frame's creation: bars, windows, reference lists, "tempdata", the
    // splash window and the start-up timer. False when the program has to
    // end; exitStatus() says with what.
    bool create();
    int exitStatus() const { return exitStatus_; }

    // The WM_* requests of engine/Messages.h; anything else does nothing.
    void handleRequest(int request, std::intptr_t wParam, std::intptr_t lParam);
    // The command ids of FrameRequests.h.
    void handleCommand(int command);

    void sendRequest(int request, std::intptr_t wParam = 0, std::intptr_t lParam = 0) override;
    void postRequest(int request, std::intptr_t wParam = 0, std::intptr_t lParam = 0) override;
    void sendCommand(int command) override;
    void postCommand(int command) override;
    const ident::MachineFacts& machineFacts() const override;

    void setVersionText(const QString& text) { versionText_ = text; }
    const QString& versionText() const { return versionText_; }

    bool resultAvailable() const { return resultAvailable_; }
    // The result of the last finished run (all zero before the first).
    const engine::BenchResult& currentResult() const { return currentResult_; }
    // The runs behind the current result; more than one: it is their median record.
    const std::vector<engine::BenchResult>& repeatRuns() const { return repeatRuns_; }
    // What the report wizard holds: the tester's texts and the section
    // boxes (all ticked until the wizard changes them).
    reports::ReportTester& reportTester() { return reportTester_; }
    reports::ReportSections& reportSections() { return reportSections_; }
    // From a run's request (it may wait for the clock measurement) until its
    // results window is up.
    bool runInProgress() const;
    bool startupDone() const { return startupDone_; }

    // The frame's windows and bars, for the tests and the screenshots.
    ProgressDlg& progressWindow() const { return *progress_; }
    SmpProgressDlg& smpProgressWindow() const { return *smpProgress_; }
    ResultsDlg& resultsWindow() const { return *results_; }
    ChooserDlg& chooser() const { return *chooser_; }
    GraphResultsDlg& graphsWindow() const { return *graphs_; }
    GraphConfigDlg& graphConfigurator() const { return *graphConfigurator_; }
    ReportWizardDlg& reportWizard() const { return *reportWizard_; }
    SplashWindow* splashWindow() const { return splash_; }
    LoopConfigDlg& loopConfigurator() const { return *loopConfig_; }
    ScalingProgressDlg& scalingProgressWindow() const { return *scalingProgress_; }
    ScalingResultsDlg& scalingResultsWindow() const { return *scalingResults_; }
    QAction* menuAction(int command) const;
    QAction* toolbarAction(const QString& text) const;
    QMdiArea& mdiArea() const { return *mdi_; }
    ProjectDocuments& documents() const { return *documents_; }
    QToolBar& toolbar() const { return *toolbar_; }

signals:
    // Emitted as each request or command arrives, before it is handled.
    void requestArrived(int request, qint64 wParam, qint64 lParam);
    void commandArrived(int command);
    // The start-up step has run (after the chooser closed).
    void startupFinished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Bars (FrameBars.cpp).
    void createMenus();
    void createToolbar();
    void createStatusBar();
    void updateMenus();
    void updateLockIndicators();
    void showPriorityNotice();

    // Windows and start-up (MainFrame.cpp).
    bool createWindows();
    void createAdvancedInfo();
    void onStartupTick();
    void warn(const QString& text, const QString& title);
    QString tempdataWarning(const std::string& error) const;

    // Runs and windows on request (FrameRuns.cpp).
    void runBenchmark(std::intptr_t suite, std::intptr_t mask);
    // Warns and says true while a run or a loop is going.
    bool refuseWhileBusy();
    void startQueuedRun();
    void startRun(const suites::SessionPlan& plan);
    bool startNextRepeatRun();
    bool runGoing() const;
    // The progress window of an SMP run, or of a single-thread one.
    ProgressWindow& runWindow(bool smp) const;
    void showRunResults();
    void showResultsWindow();
    void showGraphs(std::intptr_t page, bool expanded);
    void showSystemInfo(std::intptr_t page);
    void showReference(std::intptr_t position, std::intptr_t list);
    std::vector<engine::InfoRow> systemRows(bool smpRun) const;
    ident::RunConditions runConditions() const;

    // The results history (FrameHistory.cpp).
    void openHistory();
    store::RunRow historyRow() const;
    void keepRun();
    void showSaveState();
    void saveResult();
    std::optional<QString> askMachineName();
    void removeOwnEntry(qint64 userEntryId);
    void sayHistoryFailure();
    void noteHistoryFailure(const std::exception& error);

    // The multi-core run (FrameScaling.cpp).
    void runScalingBenchmark();
    std::vector<int> scalingProcessors() const;
    void startScaling(const engine::ScalingPlan& plan);
    void finishScaling(const suites::ScalingOutcome& outcome);
    // FrameHistory.cpp; says where the run is kept, or nothing.
    QString keepScalingRun(const suites::ScalingOutcome& outcome);
    void endScalingThread();

    // The report (FrameReport.cpp).
    void writeHtmlReport();

    // Commands (FrameCommands.cpp).
    void runSmpBenchmark();
    void runOnly(int mask);
    void runOptimised(int suite);
    void showGraphPage(int page);
    void showAbout();
    void toggleBar(QWidget& bar, int command);
    void arrangeIcons();
    bool hasDocument() const;
    void newDocument();
    void openDocument();
    void saveDocument();
    void closeDocument();

    ident::ClockState& clock() const;

    FrameEnvironment env_;
    ident::MachineFacts machine_;
    engine::ReferenceDatabase references_;

    suites::RunSession session_;
    engine::BenchResult currentResult_;
    reports::ReportTester reportTester_;
    reports::ReportSections reportSections_;
    bool resultAvailable_ = false;
    bool resultsPending_ = false;
    std::optional<suites::SessionPlan> queuedRun_;
    // A repeat: how many runs, the plan each follows, the runs so far, and
    // the spread of the median record in currentResult_ (empty for one run).
    engine::RepeatPlan repeat_;
    std::optional<suites::SessionPlan> runPlan_;
    std::vector<engine::BenchResult> repeatRuns_;
    std::vector<engine::FigureStats> spread_;
    // What the kept record of a run says of how it was asked for and ran.
    int askedSuite_ = engine::SuiteStandard;
    int askedMask_ = 255;
    std::chrono::system_clock::time_point runStartedAt_;
    ident::RunConditions runConditions_;
    // The results history (none when it could not be opened), the last
    // run's fate there, and why keeping a run failed, said once a session.
    std::unique_ptr<store::ResultsStore> history_;
    KeptState keptState_ = KeptState::NoRun;
    store::RunRow keptRun_;
    engine::BenchResult keptRecord_;
    QString historyFailure_;
    bool historyFailureSaid_ = false;
    QTimer queuedRunTimer_;
    int exitStatus_ = 0;
    bool startupDone_ = false;
    bool closing_ = false;
    bool priorityNoticeShown_ = false;
    QString versionText_;
    QStringList startupWarnings_;
    std::thread clockThread_;
    // The multi-core run's thread and what watches it, from its start until
    // its outcome has reached the frame.
    std::unique_ptr<ScalingMonitor> scalingMonitor_;
    std::thread scalingThread_;
    // What the multi-core run planned and found at its start, for the history.
    engine::ScalingPlan scalingPlan_;
    std::chrono::system_clock::time_point scalingStartedAt_;
    ident::RunConditions scalingConditions_;
    QTimer startupTimer_;
    QTimer lockKeyTimer_;
    LockKeyReader lockKeys_;

    QMdiArea* mdi_ = nullptr;
    std::unique_ptr<ProjectDocuments> documents_;
    QToolBar* toolbar_ = nullptr;
    QLabel* readyMessage_ = nullptr;
    QLabel* capIndicator_ = nullptr;
    QLabel* numIndicator_ = nullptr;
    QLabel* scrollIndicator_ = nullptr;
    QLabel* priorityLabel_ = nullptr;
    std::map<int, QAction*> menuActions_;
    std::vector<std::pair<int, QAction*>> toolbarActions_;

    SplashWindow* splash_ = nullptr;
    ChooserDlg* chooser_ = nullptr;
    ProgressDlg* progress_ = nullptr;
    SmpProgressDlg* smpProgress_ = nullptr;
    ResultsDlg* results_ = nullptr;
    GraphResultsDlg* graphs_ = nullptr;
    ReportWizardDlg* reportWizard_ = nullptr;
    LoopConfigDlg* loopConfig_ = nullptr;
    GraphConfigDlg* graphConfigurator_ = nullptr;
    AdvancedInfoDlg* advancedInfo_ = nullptr;
    ScalingProgressDlg* scalingProgress_ = nullptr;
    ScalingResultsDlg* scalingResults_ = nullptr;
};

}  // namespace veltrane::shell
