#pragma once

#include <cstdint>

namespace veltrane::engine {

// Window messages between the benchmark threads and the windows, with the
// numbers the program has always used.
enum WindowMessage : std::uint32_t {
    WM_THREAD_TICK = 1025,
    PBM_SETPOS = 1026,  // sets the current-test bar's position to wParam
    WM_BENCH_DONE = 1028,
    WM_RUN_BENCH = 1030,
    WM_THREAD_END = 1032,
    WM_THREAD_BEGIN = 1034,
    WM_SHOW_GRAPHS = 1036,
    WM_WRITE_REPORT = 1038,
    WM_SHOW_REPORT_WIZARD = 1040,
    WM_SHOW_LOOP_CONFIG = 1042,
    WM_SHOW_SYSINFO = 1046,
    WM_SHOW_REFERENCE = 1048,
    WM_CONFIGURE_GRAPH = 1052,
    WM_REPAINT_GRAPH = 1056,
};

}  // namespace veltrane::engine
