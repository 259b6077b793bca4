// The main frame's multi-core run: its setup, the run on a thread of its
// own, and its outcome.
#include <QDialog>
#include <exception>
#include <memory>

#include "engine/RunRequest.h"
#include "platform/Affinity.h"
#include "shell/Dialogs.h"
#include "shell/FrameConfig.h"
#include "shell/LoopConfigDlg.h"
#include "shell/LoopProgressDlg.h"
#include "shell/MainFrame.h"
#include "shell/ScalingProgressDlg.h"
#include "shell/ScalingResultsDlg.h"
#include "shell/ScalingSetupDlg.h"
#include "shell/WindowPlacement.h"
#include "shellcore/ScalingProgress.h"

namespace veltrane::shell {

namespace {

// The run, whatever it throws: its end must always reach the frame.
suites::ScalingOutcome runGuarded(const engine::ScalingPlan& plan, ScalingMonitor& monitor,
                                  const suites::ScalingWorkerFactory& workers) {
    try {
        return suites::runScaling(plan, monitor, workers);
    } catch (const std::exception& error) {
        suites::ScalingOutcome failed;
        failed.error = error.what();
        return failed;
    }
}

}  // namespace

void CMainFrame::runScalingBenchmark() {
    if (refuseWhileBusy()) {
        return;
    }
    const std::vector<int> allowed = scalingProcessors();
    const std::uint64_t memory = static_cast<std::uint64_t>(machine_.memory.totalPhysMB()) << 20;
    ScalingSetupDlg setup(this, static_cast<int>(allowed.size()),
                          [&allowed, memory](const engine::ThreadRequest& request, bool pin) {
                              return engine::planScaling(request, pin, allowed, memory);
                          });
    if (dialogs().execModal(setup) != QDialog::Accepted || setup.plan().refusal ||
        refuseWhileBusy()) {
        return;
    }
    startScaling(setup.plan());
}

std::vector<int> CMainFrame::scalingProcessors() const {
    return env_.scalingProcessors ? env_.scalingProcessors() : platform::runnableProcessors();
}

void CMainFrame::startScaling(const engine::ScalingPlan& plan) {
    scalingPlan_ = plan;
    scalingConditions_ = runConditions();
    scalingStartedAt_ = std::chrono::system_clock::now();
    scalingMonitor_ = std::make_unique<ScalingMonitor>(plan.threadCounts);
    scalingProgress_->setInfoRows(systemRows(true));
    scalingProgress_->begin(*scalingMonitor_);
    showCentred(*scalingProgress_);
    const suites::ScalingWorkerFactory workers =
        env_.scalingWorkers ? env_.scalingWorkers : suites::standardScalingWorkers();
    // The run's thread never waits for the window: it only posts its end.
    scalingThread_ = std::thread([this, plan, workers, monitor = scalingMonitor_.get()] {
        auto outcome =
            std::make_shared<suites::ScalingOutcome>(runGuarded(plan, *monitor, workers));
        QMetaObject::invokeMethod(
            this, [this, outcome] { finishScaling(*outcome); }, Qt::QueuedConnection);
    });
}

// Where a multi-core run's outcome arrives, once, on the GUI thread.
void CMainFrame::finishScaling(const suites::ScalingOutcome& outcome) {
    scalingProgress_->finish();
    endScalingThread();
    if (!outcome.error.empty() && outcome.steps.empty()) {
        dialogs().message(this,
                          QStringLiteral("The multi-core benchmark could not run: %1.")
                              .arg(QString::fromStdString(outcome.error)),
                          QLatin1String(kErrorTitle), MessageIcon::Stop, MessageButtons::Ok);
        return;
    }
    scalingResults_->showOutcome(outcome, keepScalingRun(outcome));
    showCentred(*scalingResults_);
    sayHistoryFailure();
}

// Asks a run still going to stop after its current test and waits for it:
// its thread never blocks on the GUI, so waiting cannot deadlock.
void CMainFrame::endScalingThread() {
    if (scalingMonitor_ != nullptr) {
        scalingMonitor_->requestStop();
    }
    if (scalingThread_.joinable()) {
        scalingThread_.join();
    }
    scalingMonitor_.reset();
}

}  // namespace veltrane::shell
