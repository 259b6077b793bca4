#pragma once

#include <cstdint>
#include <string>

#include "platform/OsFacts.h"

namespace veltrane::ident {

// Operating-system, display-adapter and network facts, collected once at
// construction. On Linux the version is the kernel's (major, minor, patch in
// buildNumber) and osName the distribution's name.
class OsInfo {
public:
    OsInfo();
    explicit OsInfo(const platform::OsFactsSource& source);
    explicit OsInfo(const platform::OsFacts& facts);
    virtual ~OsInfo() = default;

    OsInfo(const OsInfo&) = default;
    OsInfo& operator=(const OsInfo&) = default;

    std::int32_t majorVersion = 0;
    std::int32_t minorVersion = 0;
    std::int32_t buildNumber = 0;
    // The screen is only known to a window system: the desktop program sets
    // these three, the command line leaves them 0.
    std::int32_t monitorCount = 0;
    std::int32_t screenWidth = 0;
    std::int32_t screenHeight = 0;
    std::int32_t standbyTimeout = 0;  // seconds, 0 when stand-by is off
    std::string osName;
    std::string servicePack;
    std::string computerName;
    std::string userName;
    std::string systemDirectory;
    std::string bootMode;
    std::string windowsDirectory;
    std::string networkStatus;
    std::string standbyMode;
    std::string adapterDescription;
    std::string adapterDriver;
    std::uint32_t adapterVendorId = 0;
    std::uint32_t adapterDeviceId = 0;
    std::uint32_t adapterSubSysId = 0;
    // The system the version numbers belong to ("Linux"); empty for a
    // version of the original platform.
    std::string kernelName;
};

// The name the original platform's version numbers stand for; empty for a
// 5.x other than 5.0 and 5.1.
std::string windowsName(std::int32_t major, std::int32_t minor);

// "Microsoft Windows version 5.1.2600"; the build only from major version 5.
std::string windowsRevisionText(std::int32_t major, std::int32_t minor, std::int32_t build);

// The same text for the system the program runs on: "Linux version 6.1.0".
std::string osRevisionText(const OsInfo& info);

// The clean-boot state: 0 "Normal Boot", 1 and 2 the fail-safe modes, else empty.
std::string bootModeText(std::int32_t cleanBoot);

std::string networkStatusText(bool detected);
std::string standbyModeText(bool active);
std::string standbyTimeoutText(std::int32_t seconds);
std::string servicePackText(const std::string& servicePack);

}  // namespace veltrane::ident
