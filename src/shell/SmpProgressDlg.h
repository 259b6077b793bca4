#pragma once

#include "engine/ProgressModel.h"
#include "shell/ProgressWidgets.h"
#include "shell/QtProgressSink.h"
#include "suites/SmpRun.h"

class QTreeWidget;

namespace veltrane::shell {

class FrameRequests;

// "Benchmarking": the two-thread progress window of the SMP suite. It holds
// both threads' records and shows each thread's messages in its own panel.
class SmpProgressDlg final : public RunWindow {
    Q_OBJECT

public:
    SmpProgressDlg(QWidget* parent, FrameRequests& frame);
    ~SmpProgressDlg() override;

    void setInfoRows(const std::vector<engine::InfoRow>& rows);
    // Starts both threads (nullptr: the suite's own). False while a run is in progress.
    bool startRun(const engine::RunPlan& plan, suites::SmpBenchmarkRun::Thread first,
                  suites::SmpBenchmarkRun::Thread second);
    bool running() const override { return run_.inProgress(); }
    // The answer to the first thread's WM_BENCH_DONE: both threads have
    // ended; the window hides.
    void finishRun();

    // The two records combined into `current`.
    void combineInto(engine::BenchResult& current) const { run_.combineInto(current); }
    const engine::ProgressModel& model() const { return model_; }

    // The answer to one benchmark-thread message; the sink delivers them
    // here on the GUI thread.
    void handleMessage(engine::WindowMessage message, std::int64_t wParam, std::int64_t lParam);

signals:
    // After a message has been shown.
    void messageShown(int message, qint64 wParam, qint64 lParam);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void resetView();

    engine::ProgressModel model_{true};
    ThreadPanel panels_[2];
    QTreeWidget* info_ = nullptr;
    suites::SmpBenchmarkRun run_;
    QtProgressSink sink_;
};

}  // namespace veltrane::shell
