#pragma once

#include <functional>
#include <optional>

namespace veltrane::shell {

// The lock keys as the display server keeps them for this session, so that
// remote and virtual displays read right (the kernel's keyboard lights do not).
struct LockKeys {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// Reads the keys now; nullopt when the display server cannot tell.
using LockKeyReader = std::function<std::optional<LockKeys>()>;

// The reader of the display server the program runs on: the XKB indicators
// on X11. An empty reader where there is none to ask; the status bar then
// hides its indicators.
LockKeyReader displayLockKeys();

}  // namespace veltrane::shell
