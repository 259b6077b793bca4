#include "platform/PciConfig.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/Format.h"

namespace veltrane::platform {

namespace {

constexpr std::uint32_t kHighestBus = 0xFF;
constexpr std::uint32_t kHighestSlot = 0xFF;

// Reads up to `size` bytes; returns how many arrived, or -1 on an error.
ssize_t readUpTo(int fd, std::uint8_t* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, buffer + done, size - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

}  // namespace

std::string sysfsPciName(std::uint32_t bus, std::uint32_t slot) {
    return strprintf("0000:%02x:%02x.%x", bus, pciSlotDevice(slot), pciSlotFunction(slot));
}

SysfsPciConfigReader::SysfsPciConfigReader(std::string devicesFolder)
    : devicesFolder_(std::move(devicesFolder)) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(devicesFolder_, error), end; !error && it != end;
         it.increment(error)) {
        present_.insert(it->path().filename().string());
    }
}

std::optional<PciConfigSpace> SysfsPciConfigReader::read(std::uint32_t bus, std::uint32_t slot) {
    if (bus > kHighestBus || slot > kHighestSlot) {
        return std::nullopt;
    }
    const std::string name = sysfsPciName(bus, slot);
    if (present_.count(name) == 0) {
        return std::nullopt;
    }
    const std::string path = devicesFolder_ + "/" + name + "/config";
    // Non-blocking, so a stray pipe in place of the file cannot hang the enumeration.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return std::nullopt;
    }
    PciConfigSpace config{};
    const ssize_t got = readUpTo(fd, config.data(), config.size());
    ::close(fd);
    // Without even the identifiers there is nothing to show for the function.
    if (got < 4) {
        return std::nullopt;
    }
    return config;
}

std::unique_ptr<PciConfigReader> openSysfsPciConfig(const std::string& devicesFolder) {
    std::error_code error;
    if (!std::filesystem::is_directory(devicesFolder, error)) {
        return nullptr;
    }
    return std::make_unique<SysfsPciConfigReader>(devicesFolder);
}

}  // namespace veltrane::platform
