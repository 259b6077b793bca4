#pragma once

#include "shell/ProgressWindow.h"

namespace veltrane::shell {

// "Benchmarking": the progress window of the SMP suite, a panel per thread.
class SmpProgressDlg final : public ProgressWindow {
    Q_OBJECT

public:
    SmpProgressDlg(QWidget* parent, FrameRequests& frame, const suites::RunSession& session);
};

}  // namespace veltrane::shell
