#include "shell/SmpProgressDlg.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "shell/FrameRequests.h"

namespace veltrane::shell {

namespace {

QGroupBox* threadBox(QWidget* parent, ThreadPanel& panel, int thread) {
    auto* box = new QGroupBox(QStringLiteral("Thread %1").arg(thread), parent);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(panel.build(box, QStringLiteral("thread%1").arg(thread)));
    return box;
}

}  // namespace

SmpProgressDlg::SmpProgressDlg(QWidget* parent, FrameRequests& frame)
    : RunWindow(parent),
      sink_(
          *this,
          [this](auto message, auto wParam, auto lParam) {
              handleMessage(message, wParam, lParam);
          },
          QtProgressSink::sendingTo(frame)) {
    setObjectName(QStringLiteral("SmpProgressDlg"));
    setWindowTitle(QStringLiteral("Benchmarking"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makePleaseWaitLabel(this, 700));
    layout->addWidget(new QLabel(QStringLiteral("CPU and System Information"), this));
    info_ = makeInfoList(this, 120, 200);
    layout->addWidget(info_);
    auto* threads = new QHBoxLayout;
    threads->addWidget(threadBox(this, panels_[0], 1));
    threads->addWidget(threadBox(this, panels_[1], 2));
    layout->addLayout(threads);
    layout->addWidget(makeKeepStillNotice(this));
    resetView();
}

SmpProgressDlg::~SmpProgressDlg() {
    drainRun(sink_, [this] { return run_.inProgress(); });
    run_.finish();
}

void SmpProgressDlg::setInfoRows(const std::vector<engine::InfoRow>& rows) {
    fillInfoList(*info_, rows);
}

bool SmpProgressDlg::startRun(const engine::RunPlan& plan, suites::SmpBenchmarkRun::Thread first,
                              suites::SmpBenchmarkRun::Thread second) {
    if (run_.inProgress()) {
        return false;
    }
    resetView();
    sink_.rearm();
    return run_.start(plan, sink_, first, second);
}

void SmpProgressDlg::finishRun() {
    run_.finish();
    hide();
}

void SmpProgressDlg::showEvent(QShowEvent* event) {
    resetView();
    RunWindow::showEvent(event);
}

void SmpProgressDlg::hideEvent(QHideEvent* event) {
    resetView();
    RunWindow::hideEvent(event);
}

void SmpProgressDlg::handleMessage(engine::WindowMessage message, std::int64_t wParam,
                                   std::int64_t lParam) {
    const int changed = model_.apply(message, wParam, lParam);
    if (changed >= 0) {
        panels_[changed].show(model_.thread(changed));
    }
    // The first thread's memory tests also change the second thread's texts.
    if (changed == 0 && message == engine::WM_THREAD_BEGIN) {
        panels_[1].show(model_.thread(1));
    }
    emit messageShown(static_cast<int>(message), wParam, lParam);
}

void SmpProgressDlg::resetView() {
    model_.reset();
    panels_[0].show(model_.thread(0));
    panels_[1].show(model_.thread(1));
}

}  // namespace veltrane::shell
