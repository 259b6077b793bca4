#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ident/ClockTexts.h"
#include "ident/MachineFacts.h"
#include "ident/ProcessorFacts.h"
#include "ident/ProcessorIdentity.h"
#include "platform/CpuidDump.h"

namespace veltrane::test {

// Builds the CPUID answers of a processor leaf by leaf; a leaf given twice
// fails the test, a leaf not given reads as zeros.
class FakeCpu {
public:
    FakeCpu& leaf(std::uint32_t leaf, platform::CpuidRegisters registers,
                  std::uint32_t subleaf = 0) {
        dump_.add(leaf, subleaf, registers);
        return *this;
    }

    // Leaf 0 with the highest standard leaf and a 12-character vendor text.
    FakeCpu& vendor(const std::string& text, std::uint32_t highestLeaf = 2) {
        std::uint32_t words[3] = {};
        std::memcpy(words, text.data(), std::min<std::size_t>(text.size(), 12));
        return leaf(0, {highestLeaf, words[0], words[2], words[1]});
    }

    FakeCpu& signature(std::uint32_t eax, std::uint32_t edx = 0) {
        return leaf(1, {eax, 0, 0, edx});
    }

    FakeCpu& processors(std::uint32_t count) {
        dump_.processors = count;
        return *this;
    }

    FakeCpu& xcr0(std::uint64_t value) {
        dump_.xcr0 = value;
        return *this;
    }

    platform::RecordedCpuProbe probe(platform::RecordedCpuProbe::Counter counter = {}) const {
        return platform::RecordedCpuProbe(dump_, std::move(counter));
    }

private:
    platform::CpuidDump dump_;
};

// Facts for an identity that must not touch the definition file.
inline ident::ProcessorFacts factsWithoutDefinition() {
    ident::ProcessorFacts facts;
    facts.definitionLoaded = true;
    return facts;
}

// Facts whose names come from the shipped definition file.
inline ident::ProcessorFacts factsWithShippedDefinition() {
    ident::ProcessorFacts facts;
    facts.openDefinitionFile = [] {
        return std::make_unique<std::ifstream>(VELTRANE_SOURCE_DATA_DIR "/cpudef.dat");
    };
    return facts;
}

// A recorded processor, tests/data/<dump>.cpuid.
inline auto recordedProbe(const std::string& dump) {
    return platform::loadCpuidDumpFile(std::string(VELTRANE_TEST_DATA_DIR) + "/" + dump + ".cpuid");
}

// An identity with these feature flags (edx of leaves 1 and 0x80000001); its
// probe and facts live as long as the program, as the identity keeps pointers.
inline ident::ProcessorIdentity identityWith(std::uint32_t standardFlags,
                                             std::uint32_t extendedFlags,
                                             std::uint32_t processors = 1) {
    static std::vector<std::unique_ptr<platform::RecordedCpuProbe>> probes;
    static ident::ProcessorFacts facts = factsWithoutDefinition();
    auto cpu = FakeCpu().vendor("GenuineIntel").signature(0x686, standardFlags);
    cpu.leaf(0x80000001, {0, 0, 0, extendedFlags}).processors(processors);
    probes.push_back(std::make_unique<platform::RecordedCpuProbe>(cpu.probe()));
    return ident::ProcessorIdentity(*probes.back(), facts);
}

// A processor as the program gathers it, with no PCI functions, empty system
// and memory figures, and a clock of `clockMHz` (0: still being measured).
// Its names come from the shipped definition file, or from none.
inline ident::MachineFacts machineOf(std::shared_ptr<const platform::CpuProbe> probe,
                                     float clockMHz = 0.0f, bool shippedDefinition = true) {
    ident::ProcessorFacts processor =
        shippedDefinition ? factsWithShippedDefinition() : factsWithoutDefinition();
    ident::MachineSources sources;
    sources.probe = std::move(probe);
    sources.processor = &processor;
    auto clock = std::make_shared<ident::ClockState>();
    sources.clock = clock;
    sources.pciList = [] {  // an empty list made after the enumeration: it touches nothing
        ident::PciProcessState enumerated{true};
        ident::PciEnvironment environment;
        environment.state = enumerated;
        return ident::PciDeviceList(environment);
    };
    sources.os = platform::OsFacts{};
    sources.memory = platform::MemoryFacts{};
    ident::MachineFacts machine(sources);
    if (clockMHz > 0.0f) {
        const auto& id = machine.identity;
        const bool rated = ident::ratingApplies(id.vendor, id.family, id.model);
        clock->publish(clockMHz, rated ? ident::ratingText(clockMHz) : std::string());
    }
    return machine;
}

// The machine of a recorded processor.
inline ident::MachineFacts machineOfDump(const std::string& dump, float clockMHz = 0.0f) {
    return machineOf(recordedProbe(dump), clockMHz);
}

}  // namespace veltrane::test
