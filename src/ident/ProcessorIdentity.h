#pragma once

#include <cstdint>
#include <string>

#include "ident/ProcessorFacts.h"
#include "platform/CpuProbe.h"
#include "platform/SystemInfo.h"

namespace veltrane::ident {

// What CPUID says about the processor, probed afresh at every construction.
// The first construction in the process also loads the definition file.
class ProcessorIdentity {
public:
    explicit ProcessorIdentity(const platform::CpuProbe& probe = platform::activeCpuProbe(),
                               ProcessorFacts& facts = processorFacts());
    virtual ~ProcessorIdentity() = default;

    ProcessorIdentity(const ProcessorIdentity&) = default;
    ProcessorIdentity& operator=(const ProcessorIdentity&) = default;

    std::int32_t family = 0;
    std::int32_t model = 0;
    std::int32_t stepping = 0;
    std::int32_t l1DataKB = 0;
    std::int32_t l1CodeKB = 0;
    std::int32_t l2KB = 0;
    std::string vendor;
    platform::SystemInfo systemInfo;

    // Beyond the 4-bit signature: what processors since the Pentium 4 era
    // add in leaf 1 EAX bits 16-27, and the brand string of 0x80000002-4.
    std::int32_t extendedFamily = 0;
    std::int32_t extendedModel = 0;
    std::string brandString;

    // Counted when the identity was made; a recorded probe brings its own count.
    std::int32_t processorCount() const;

    int hasMMX() const;
    int hasSSE() const;
    int hasSSE2() const;
    int hasSerialNumber() const;
    int has3DNow() const;
    int has3DNowExt() const;
    int hasMMXExt() const;
    std::uint32_t standardFeatureFlags() const;
    std::uint32_t extendedFeatureFlags() const;

    // A signature the definition file's keys cannot express.
    bool reportsExtendedSignature() const { return extendedFamily != 0 || extendedModel != 0; }
    // Family and model as the processor's maker counts them.
    std::int32_t displayFamily() const;
    std::int32_t displayModel() const;

    const platform::CpuProbe& probe() const { return *probe_; }

private:
    void identifyVendor();
    void readSignature();
    void readSystemInfo();
    void readCacheSizes(ProcessorFacts& facts);
    void readBrandString();
    void loadDefinition(ProcessorFacts& facts);

    const platform::CpuProbe* probe_;
};

}  // namespace veltrane::ident
