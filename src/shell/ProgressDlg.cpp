#include "shell/ProgressDlg.h"

#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "shell/FrameRequests.h"

namespace veltrane::shell {

ProgressDlg::ProgressDlg(QWidget* parent, FrameRequests& frame)
    : RunWindow(parent),
      sink_(
          *this,
          [this](auto message, auto wParam, auto lParam) {
              handleMessage(message, wParam, lParam);
          },
          QtProgressSink::sendingTo(frame)) {
    setObjectName(QStringLiteral("ProgressDlg"));
    setWindowTitle(QStringLiteral("Bench in progress..."));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makePleaseWaitLabel(this, 690));
    layout->addWidget(new QLabel(QStringLiteral("CPU and System Information"), this));
    info_ = makeInfoList(this, 200, 300);
    layout->addWidget(info_);
    layout->addSpacing(6);
    layout->addWidget(panel_.build(this, QString()));
    layout->addSpacing(6);
    layout->addWidget(makeKeepStillNotice(this));
    resetView();
}

ProgressDlg::~ProgressDlg() {
    drainRun(sink_, [this] { return run_.inProgress(); });
    run_.finish();
}

void ProgressDlg::setInfoRows(const std::vector<engine::InfoRow>& rows) {
    fillInfoList(*info_, rows);
}

bool ProgressDlg::startRun(const engine::RunPlan& plan, engine::SuiteThread procedure) {
    if (run_.inProgress() || procedure == nullptr) {
        return false;
    }
    resetView();
    sink_.rearm();
    return run_.start(plan, sink_, procedure);
}

void ProgressDlg::finishRun() {
    run_.finish();
    hide();
}

void ProgressDlg::showEvent(QShowEvent* event) {
    resetView();
    RunWindow::showEvent(event);
}

void ProgressDlg::hideEvent(QHideEvent* event) {
    resetView();
    RunWindow::hideEvent(event);
}

void ProgressDlg::handleMessage(engine::WindowMessage message, std::int64_t wParam,
                                std::int64_t lParam) {
    if (model_.apply(message, wParam, lParam) == 0) {
        panel_.show(model_.thread(0));
    }
    emit messageShown(static_cast<int>(message), wParam, lParam);
}

void ProgressDlg::resetView() {
    model_.reset();
    panel_.show(model_.thread(0));
}

}  // namespace veltrane::shell
