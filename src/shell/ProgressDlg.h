#pragma once

#include "shell/ProgressWindow.h"

namespace veltrane::shell {

// "Bench in progress...": the progress window of a single-thread run.
class ProgressDlg final : public ProgressWindow {
    Q_OBJECT

public:
    ProgressDlg(QWidget* parent, FrameRequests& frame, const suites::RunSession& session);
};

}  // namespace veltrane::shell
