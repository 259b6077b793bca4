#include <gtest/gtest.h>

#include <sstream>

#include "support/FakeCpu.h"

namespace veltrane::ident {
namespace {

ProcessorFacts shippedDefinition() {
    ProcessorFacts processor;
    processor.openDefinitionFile = [] {
        return std::make_unique<std::ifstream>(VELTRANE_SOURCE_DATA_DIR "/cpudef.dat");
    };
    return processor;
}

// A recorded dual Athlon MP: every fact is taken once from its source, the
// clock is read when asked, and a copy keeps the recorded processor alive.
TEST(MachineFacts, GathersEachFactOnceAndReadsTheClockWhenAsked) {
    ProcessorFacts processor = shippedDefinition();
    auto clock = std::make_shared<ClockState>();
    int pciLists = 0;
    MachineSources sources;
    sources.probe =
        platform::loadCpuidDumpFile(VELTRANE_TEST_DATA_DIR "/athlonmp-thoroughbred-dual.cpuid");
    sources.processor = &processor;
    sources.clock = clock;
    sources.pciList = [&pciLists] {
        ++pciLists;
        PciProcessState fresh;
        PciEnvironment unreachable;
        unreachable.openDriver = [] { return std::unique_ptr<platform::PciConfigReader>(); };
        unreachable.loadNames = [] { return PciNames(); };
        unreachable.state = fresh;
        return PciDeviceList(unreachable);
    };
    sources.memory = platform::MemoryFacts{{0, 1023ull << 20, 0, 0, 0}, {}, 0, 0};
    std::optional<MachineFacts> copy;
    {
        const MachineFacts machine(sources);
        sources = {};
        EXPECT_EQ(pciLists, 1);
        EXPECT_TRUE(machine.pciError.has_value());
        EXPECT_EQ(machine.processorCount, 2);
        EXPECT_EQ(machine.features.standard, 0x0383fbffu);
        EXPECT_EQ(machine.features.extended, 0xc1c3fbffu);
        EXPECT_EQ(machine.definition.processorName, "Athlon XP / MP");
        EXPECT_EQ(machine.traceCacheText, "Absent");
        EXPECT_EQ(machine.caches.groups.size(), 8u);
        EXPECT_FALSE(machine.cacheGeometry.empty());
        EXPECT_EQ(machine.memory.totalPhysMB(), 1024u);
        copy.emplace(machine);
    }
    EXPECT_EQ(copy->clockMHz(), 0.0f);
    clock->publish(2000.0f, "XP2400+");
    EXPECT_EQ(copy->clockMHz(), 2000.0f);
    EXPECT_EQ(copy->ratingText(), "XP2400+");
    EXPECT_EQ(copy->identity.has3DNow(), 1);  // asks the recorded processor again
}

TEST(MachineFacts, KeepsTheDefinitionFilesProblemForTheCallerToShow) {
    ProcessorFacts processor;
    processor.openDefinitionFile = [] { return std::make_unique<std::istringstream>(""); };
    MachineSources sources;
    sources.probe = std::make_shared<platform::RecordedCpuProbe>(
        test::FakeCpu().vendor("NexGenDriven").signature(0x542).probe());
    sources.processor = &processor;
    sources.pciList = test::noPciFunctions;
    EXPECT_EQ(MachineFacts(sources).definitionError, "Error: cannot resolve vendor string");
}

}  // namespace
}  // namespace veltrane::ident
