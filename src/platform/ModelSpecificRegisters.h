#pragma once

#include <cstdint>
#include <string>

namespace veltrane::platform {

inline constexpr std::uint32_t kMperfRegister = 0xE7;  // counts at the reference rate while busy
inline constexpr std::uint32_t kAperfRegister = 0xE8;  // counts actual core cycles while busy

// The core's busy-cycle counters of one processor, read together.
struct BusyCounters {
    std::uint64_t aperf = 0;
    std::uint64_t mperf = 0;
};

// Reads the busy-cycle counters through the system's model-specific-register
// driver. Most systems keep it closed to ordinary users, and many virtual
// machines refuse the registers; the reason is kept for the user.
class MsrSource {
public:
    virtual ~MsrSource() = default;
    // False, with `why` set, when the counters of `processor` cannot be read.
    virtual bool readBusyCounters(int processor, BusyCounters& counters,
                                  std::string& why) const = 0;
    // The processor the calling thread runs on now.
    virtual int currentProcessor() const = 0;
};

// /dev/cpu/N/msr.
const MsrSource& nativeMsrSource();

// The core's clock while busy: the counter's rate times the growth of APERF
// over MPERF across `busyWork`, on the processor the thread stayed on (tried
// again when the system moved it). 0, with `why` set, when unreadable.
double busyCountersMHz(const MsrSource& source, double tscMHz, void (*busyWork)(),
                       std::string& why);

}  // namespace veltrane::platform
