#pragma once

#include "engine/BenchmarkRun.h"
#include "engine/ProgressModel.h"
#include "shell/ProgressWidgets.h"
#include "shell/QtProgressSink.h"

class QTreeWidget;

namespace veltrane::shell {

class FrameRequests;

// "Bench in progress...": the single-thread progress window. It holds the
// run's record and shows the benchmark thread's messages as they arrive.
class ProgressDlg final : public RunWindow {
    Q_OBJECT

public:
    ProgressDlg(QWidget* parent, FrameRequests& frame);
    ~ProgressDlg() override;

    void setInfoRows(const std::vector<engine::InfoRow>& rows);
    // Starts `procedure` on the plan. False while a run is in progress.
    bool startRun(const engine::RunPlan& plan, engine::SuiteThread procedure);
    bool running() const override { return run_.inProgress(); }
    // The answer to WM_BENCH_DONE: the thread has ended; the window hides.
    void finishRun();

    const engine::BenchResult& record() const { return run_.record(); }
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

    engine::ProgressModel model_{false};
    ThreadPanel panel_;
    QTreeWidget* info_ = nullptr;
    engine::BenchmarkRun run_;
    QtProgressSink sink_;
};

}  // namespace veltrane::shell
