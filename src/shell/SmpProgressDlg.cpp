#include "shell/SmpProgressDlg.h"

namespace veltrane::shell {

SmpProgressDlg::SmpProgressDlg(QWidget* parent, FrameRequests& frame,
                               const suites::RunSession& session)
    : ProgressWindow(parent, frame, session,
                     {"SmpProgressDlg", "Benchmarking", 700, 120, 200, true}) {}

}  // namespace veltrane::shell
