#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SystemInfo.h"

namespace veltrane::platform {

// The system as the operating-system and memory facts see it. Everything that
// is a file goes through readFile, so the parsers below take text and tests
// answer from memory.
class OsFactsSource {
public:
    virtual ~OsFactsSource() = default;
    // The whole file, or nothing when it is missing or unreadable.
    virtual std::optional<std::string> readFile(const std::string& path) const = 0;
    // The entry names of a folder (no "." or ".."), empty when unreadable.
    virtual std::vector<std::string> listFolder(const std::string& path) const = 0;
    // The last component of a symbolic link's target, empty if it is no link.
    virtual std::string linkTargetName(const std::string& path) const = 0;
    // A data file shipped with the program, looked up by bare name.
    virtual std::optional<std::string> readDataFile(const std::string& name) const = 0;

    virtual std::string kernelName() const = 0;     // uname: "Linux"
    virtual std::string kernelRelease() const = 0;  // uname: "6.1.0-18-amd64"
    virtual std::string hostName() const = 0;
    virtual std::string passwdUserName() const = 0;  // of the real user id
    virtual std::optional<std::string> environment(const std::string& name) const = 0;

    // What the system calls give when /proc cannot be read.
    virtual MemoryStatus memoryStatus() const = 0;
    virtual SystemInfo systemInfo() const = 0;
};

// The running system.
const OsFactsSource& nativeOsFactsSource();

struct KernelVersion {
    int major = 0;
    int minor = 0;
    int patch = 0;
};

struct DisplayAdapter {
    std::string driver;
    std::uint32_t vendorId = 0;
    std::uint32_t deviceId = 0;
    // Subsystem device in the high half, subsystem vendor in the low half,
    // as the adapter identifier of the original platform packed them.
    std::uint32_t subSysId = 0;
};

struct OsFacts {
    std::string kernelName;
    KernelVersion kernel;
    std::string distributionName;
    std::string hostName;
    std::string userName;
    std::string systemDirectory;
    std::string windowsDirectory;
    bool networkUp = false;
    DisplayAdapter adapter;
};

struct MemoryFacts {
    MemoryStatus status;
    SystemInfo system;
    std::uint64_t totalVirtual = 0;  // the user half of the address space
    std::uint64_t availVirtual = 0;  // of that, what this process has not mapped
};

OsFacts collectOsFacts(const OsFactsSource& source);
MemoryFacts collectMemoryFacts(const OsFactsSource& source);

// Parsers of what the collectors read; each takes the file's text.
KernelVersion parseKernelRelease(std::string_view release);
// PRETTY_NAME, else NAME, else empty.
std::string osReleaseName(std::string_view osRelease);
// Nothing when MemTotal is missing or a number is damaged.
std::optional<MemoryStatus> parseMeminfo(std::string_view meminfo);
// A "Key:  value kB" line's value in bytes (VmSize in /proc/self/status).
std::optional<std::uint64_t> kilobyteField(std::string_view text, std::string_view key);
// A sysfs hexadecimal id ("0x10de\n"); nothing when it is not one.
std::optional<std::uint32_t> parseSysfsHex(std::string_view text);

}  // namespace veltrane::platform
