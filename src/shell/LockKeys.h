#pragma once

#include <filesystem>

namespace veltrane::shell {

// The lock keys' lights as the kernel shows them (/sys/class/leds/*::capslock
// and the like). A key with no light reads as off.
struct LockKeys {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

LockKeys readLockKeys(const std::filesystem::path& ledsFolder = "/sys/class/leds");

}  // namespace veltrane::shell
