#include "shell/ProgressDlg.h"

namespace veltrane::shell {

ProgressDlg::ProgressDlg(QWidget* parent, FrameRequests& frame, const suites::RunSession& session)
    : ProgressWindow(parent, frame, session,
                     {"ProgressDlg", "Bench in progress...", 690, 200, 300, false}) {}

}  // namespace veltrane::shell
