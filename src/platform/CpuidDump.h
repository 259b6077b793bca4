#pragma once

#include <compare>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/CpuProbe.h"

namespace veltrane::platform {

// A recorded set of CPUID answers: one text line per leaf and sub-leaf
// ("leaf subleaf eax ebx ecx edx" in hex), optionally a line "processors N"
// and a line "xcr0 HEX" with the register state the OS had enabled.
// Dumps let the program show, and the tests check, processors it is not on.

struct CpuidKey {
    std::uint32_t leaf = 0;
    std::uint32_t subleaf = 0;
    auto operator<=>(const CpuidKey&) const = default;
};

class CpuidDumpError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class CpuidDump {
public:
    // A second answer for the same leaf and sub-leaf is an error: a dump
    // that silently kept one of two answers would test the wrong processor.
    void add(std::uint32_t leaf, std::uint32_t subleaf, CpuidRegisters registers);
    std::optional<CpuidRegisters> find(std::uint32_t leaf, std::uint32_t subleaf) const;
    const std::map<CpuidKey, CpuidRegisters>& leaves() const { return leaves_; }

    std::optional<std::uint32_t> processors;
    std::optional<std::uint64_t> xcr0;  // absent in dumps made before it was recorded

private:
    std::map<CpuidKey, CpuidRegisters> leaves_;
};

CpuidDump parseCpuidDump(std::string_view text);
std::string formatCpuidDump(const CpuidDump& dump);

// Reads every leaf the processor reports, basic and extended, with the
// sub-leaves of those that have them, and XCR0; each walk is bounded, so a
// strange answer cannot make the dump endless.
CpuidDump captureCpuidDump(const CpuProbe& probe);

// Answers CPUID from a dump: a leaf the dump lacks reads as zeros. The
// time-stamp counter comes from `counter`, the real one unless a test scripts it.
class RecordedCpuProbe final : public CpuProbe {
public:
    using Counter = std::function<std::uint64_t()>;

    explicit RecordedCpuProbe(CpuidDump dump, Counter counter = {});

    CpuidRegisters cpuid(std::uint32_t leaf, std::uint32_t subleaf = 0) const override;
    std::uint64_t readTimeStampCounter() const override;
    std::optional<std::uint32_t> processorCount() const override { return dump_.processors; }
    std::optional<std::uint64_t> xcr0() const override { return dump_.xcr0; }

private:
    CpuidDump dump_;
    Counter counter_;
};

// Reads and parses a dump file; the error names the file and what is wrong.
std::unique_ptr<RecordedCpuProbe> loadCpuidDumpFile(const std::string& path);

}  // namespace veltrane::platform
