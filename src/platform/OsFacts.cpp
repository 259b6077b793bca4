#include "platform/OsFacts.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "platform/Format.h"
#include "platform/TextFile.h"

namespace veltrane::platform {

namespace {

constexpr const char* kNetFolder = "/sys/class/net";
constexpr const char* kDrmFolder = "/sys/class/drm";
// The interface type the kernel gives loopback devices (ARPHRD_LOOPBACK).
constexpr std::string_view kLoopbackType = "772";

std::string_view trim(std::string_view text) {
    return trimmed(text, " \t\r\n");
}

template <typename Number>
std::optional<Number> parseWhole(std::string_view text, int base = 10) {
    Number value{};
    const auto* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

// Leading decimal digits of `text`, consumed from it; nothing when there are
// none or they do not fit.
std::optional<int> takeNumber(std::string_view& text) {
    int value = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc()) {
        return std::nullopt;
    }
    text.remove_prefix(static_cast<std::size_t>(stop - text.data()));
    return value;
}

// A shell-style value: quotes removed, backslash escapes resolved.
std::string unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            ++i;
        }
        text += value[i];
    }
    return text;
}

std::optional<std::string> osReleaseValue(std::string_view text, std::string_view key) {
    for (const auto rawLine : splitLines(text)) {
        const auto line = trim(rawLine);
        const auto equals = line.find('=');
        if (equals != std::string_view::npos && line.substr(0, equals) == key) {
            return unquote(trim(line.substr(equals + 1)));
        }
    }
    return std::nullopt;
}

std::string fileText(const OsFactsSource& source, const std::string& path) {
    return std::string(trim(source.readFile(path).value_or(std::string())));
}

std::string distributionName(const OsFactsSource& source) {
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        if (const auto text = source.readFile(path)) {
            return osReleaseName(*text);
        }
    }
    return {};
}

std::string userName(const OsFactsSource& source) {
    auto name = source.passwdUserName();
    if (name.empty()) {
        name = source.environment("USER").value_or(std::string());
    }
    return name;
}

bool networkUp(const OsFactsSource& source) {
    for (const auto& name : source.listFolder(kNetFolder)) {
        const std::string folder = std::string(kNetFolder) + "/" + name;
        if (name == "lo" || fileText(source, folder + "/type") == kLoopbackType) {
            continue;
        }
        if (fileText(source, folder + "/operstate") == "up") {
            return true;
        }
    }
    return false;
}

// The display device with the lowest number: "card0", not "card0-HDMI-A-1"
// (a connector) nor "renderD128" (a render node of the same device).
std::optional<std::string> firstDrmCard(const std::vector<std::string>& entries) {
    std::optional<std::string> first;
    std::optional<unsigned> firstNumber;
    for (const auto& entry : entries) {
        const std::string_view name(entry);
        if (name.substr(0, 4) != "card") {
            continue;
        }
        const auto number = parseWhole<unsigned>(name.substr(4));
        if (number && (!firstNumber || *number < *firstNumber)) {
            firstNumber = number;
            first = entry;
        }
    }
    return first;
}

std::uint32_t sysfsId(const OsFactsSource& source, const std::string& path) {
    const auto text = source.readFile(path);
    return text ? parseSysfsHex(*text).value_or(0) : 0;
}

DisplayAdapter displayAdapter(const OsFactsSource& source) {
    DisplayAdapter adapter;
    const auto card = firstDrmCard(source.listFolder(kDrmFolder));
    if (!card) {
        return adapter;
    }
    const std::string device = std::string(kDrmFolder) + "/" + *card + "/device/";
    adapter.vendorId = sysfsId(source, device + "vendor");
    adapter.deviceId = sysfsId(source, device + "device");
    const std::uint32_t subVendor = sysfsId(source, device + "subsystem_vendor") & 0xFFFF;
    const std::uint32_t subDevice = sysfsId(source, device + "subsystem_device") & 0xFFFF;
    adapter.subSysId = (subDevice << 16) | subVendor;
    adapter.driver = source.linkTargetName(device + "driver");
    return adapter;
}

std::uint64_t lowestAppAddress(const OsFactsSource& source, const SystemInfo& system) {
    const auto text = source.readFile("/proc/sys/vm/mmap_min_addr");
    const auto value = text ? parseWhole<std::uint64_t>(trim(*text)) : std::nullopt;
    if (value && *value < system.maximumApplicationAddress) {
        return *value;
    }
    return system.minimumApplicationAddress;
}

}  // namespace

KernelVersion parseKernelRelease(std::string_view release) {
    KernelVersion version;
    int* parts[] = {&version.major, &version.minor, &version.patch};
    for (std::size_t i = 0; i < 3; ++i) {
        if (i > 0 && (release.empty() || release.front() != '.')) {
            break;
        }
        release.remove_prefix(i > 0 ? 1 : 0);
        const auto number = takeNumber(release);
        if (!number) {
            break;
        }
        *parts[i] = *number;
    }
    return version;
}

std::string osReleaseName(std::string_view osRelease) {
    auto name = osReleaseValue(osRelease, "PRETTY_NAME");
    if (!name || name->empty()) {
        name = osReleaseValue(osRelease, "NAME");
    }
    return name.value_or(std::string());
}

std::optional<std::uint64_t> kilobyteField(std::string_view text, std::string_view key) {
    for (const auto line : splitLines(text)) {
        const auto colon = line.find(':');
        if (colon == std::string_view::npos || line.substr(0, colon) != key) {
            continue;
        }
        auto value = trim(line.substr(colon + 1));
        if (value.size() >= 2 && value.substr(value.size() - 2) == "kB") {
            value = trim(value.substr(0, value.size() - 2));
        }
        const auto kilobytes = parseWhole<std::uint64_t>(value);
        if (!kilobytes || *kilobytes > std::numeric_limits<std::uint64_t>::max() / 1024) {
            return std::nullopt;
        }
        return *kilobytes * 1024;
    }
    return std::nullopt;
}

std::optional<MemoryStatus> parseMeminfo(std::string_view meminfo) {
    const auto total = kilobyteField(meminfo, "MemTotal");
    if (!total || *total == 0) {
        return std::nullopt;
    }
    MemoryStatus status;
    status.totalPhys = *total;
    // Kernels before 3.14 give no estimate of their own.
    const auto available = kilobyteField(meminfo, "MemAvailable");
    status.availPhys = available ? *available
                                 : kilobyteField(meminfo, "MemFree").value_or(0) +
                                       kilobyteField(meminfo, "Buffers").value_or(0) +
                                       kilobyteField(meminfo, "Cached").value_or(0);
    status.availPhys = std::min(status.availPhys, status.totalPhys);
    status.memoryLoad =
        static_cast<std::uint32_t>((status.totalPhys - status.availPhys) * 100 / status.totalPhys);
    status.totalPageFile = kilobyteField(meminfo, "SwapTotal").value_or(0);
    status.availPageFile =
        std::min(kilobyteField(meminfo, "SwapFree").value_or(0), status.totalPageFile);
    return status;
}

std::optional<std::uint32_t> parseSysfsHex(std::string_view text) {
    text = trim(text);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
    }
    return parseWhole<std::uint32_t>(text, 16);
}

OsFacts collectOsFacts(const OsFactsSource& source) {
    OsFacts facts;
    facts.kernelName = source.kernelName();
    facts.kernel = parseKernelRelease(source.kernelRelease());
    facts.distributionName = distributionName(source);
    if (facts.distributionName.empty()) {
        facts.distributionName = facts.kernelName;  // what os-release says to assume
    }
    facts.hostName = source.hostName();
    facts.userName = userName(source);
    // Shared libraries and kernel modules, as the system directory held the
    // system's libraries and drivers; /usr holds the installed system itself.
    facts.systemDirectory = "/usr/lib";
    facts.windowsDirectory = "/usr";
    facts.networkUp = networkUp(source);
    facts.adapter = displayAdapter(source);
    return facts;
}

MemoryFacts collectMemoryFacts(const OsFactsSource& source) {
    MemoryFacts facts;
    facts.system = source.systemInfo();
    facts.system.minimumApplicationAddress = lowestAppAddress(source, facts.system);
    const auto meminfo = source.readFile("/proc/meminfo");
    const auto parsed = meminfo ? parseMeminfo(*meminfo) : std::nullopt;
    facts.status = parsed ? *parsed : source.memoryStatus();
    const auto& system = facts.system;
    if (system.maximumApplicationAddress > system.minimumApplicationAddress) {
        facts.totalVirtual =
            system.maximumApplicationAddress - system.minimumApplicationAddress + 1;
    }
    const auto status = source.readFile("/proc/self/status");
    const auto mapped = status ? kilobyteField(*status, "VmSize") : std::nullopt;
    facts.availVirtual = facts.totalVirtual - std::min(mapped.value_or(0), facts.totalVirtual);
    return facts;
}

}  // namespace veltrane::platform
