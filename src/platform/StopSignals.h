#pragma once

#include <csignal>

namespace veltrane::platform {

// While one lives, Ctrl+C (SIGINT) and SIGTERM only ask the program to stop,
// so it can end at a point of its choosing with nothing half-written; the
// earlier handling comes back when it goes.
class StopSignalScope {
public:
    StopSignalScope();
    ~StopSignalScope();
    StopSignalScope(const StopSignalScope&) = delete;
    StopSignalScope& operator=(const StopSignalScope&) = delete;

    // Whether a stop was asked for since the scope began.
    static bool requested();

    // The exit status of a program ended by that signal: 128 plus its number.
    static int exitStatus();

private:
    struct sigaction savedInterrupt_ {};
    struct sigaction savedTerminate_ {};
};

}  // namespace veltrane::platform
