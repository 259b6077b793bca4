#include "platform/ModelSpecificRegisters.h"

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Format.h"

namespace veltrane::platform {

namespace {

class DeviceMsrSource final : public MsrSource {
public:
    bool readBusyCounters(int processor, BusyCounters& counters, std::string& why) const override {
        const std::string path = strprintf("/dev/cpu/%d/msr", processor);
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            why = strprintf("%s: %s", path.c_str(), std::strerror(errno));
            return false;
        }
        const bool read = readRegister(fd, kAperfRegister, counters.aperf, path, why) &&
                          readRegister(fd, kMperfRegister, counters.mperf, path, why);
        ::close(fd);
        return read;
    }

private:
    static bool readRegister(int fd, std::uint32_t reg, std::uint64_t& value,
                             const std::string& path, std::string& why) {
        const ssize_t got = ::pread(fd, &value, sizeof value, reg);
        if (got == static_cast<ssize_t>(sizeof value)) {
            return true;
        }
        why = strprintf("%s: register 0x%X: %s", path.c_str(), reg,
                        got < 0 ? std::strerror(errno) : "short read");
        return false;
    }

    int currentProcessor() const override { return ::sched_getcpu(); }
};

constexpr int kMigrationRetries = 3;

}  // namespace

const MsrSource& nativeMsrSource() {
    static const DeviceMsrSource source;
    return source;
}

double busyCountersMHz(const MsrSource& source, double tscMHz, void (*busyWork)(),
                       std::string& why) {
    for (int attempt = 0; attempt < kMigrationRetries; ++attempt) {
        const int processor = source.currentProcessor();
        BusyCounters before;
        BusyCounters after;
        if (!source.readBusyCounters(processor, before, why)) {
            return 0;
        }
        busyWork();
        if (!source.readBusyCounters(processor, after, why)) {
            return 0;
        }
        if (source.currentProcessor() != processor) {
            continue;
        }
        const std::uint64_t mperf = after.mperf - before.mperf;
        if (mperf == 0) {
            why = "MPERF did not advance";
            return 0;
        }
        return tscMHz * static_cast<double>(after.aperf - before.aperf) /
               static_cast<double>(mperf);
    }
    why = "the system kept moving the program between processors";
    return 0;
}

}  // namespace veltrane::platform
