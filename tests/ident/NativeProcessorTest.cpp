// Runs on the real processor and checks only what every x86-64 processor gives.
#include <gtest/gtest.h>

#include "ident/ProcessorIdentity.h"
#include "platform/CpuidDump.h"
#include "support/FakeCpu.h"

namespace veltrane::ident {
namespace {

TEST(NativeProcessor, HasTheBaselineOfEveryX86_64Processor) {
    ProcessorFacts facts = test::factsWithoutDefinition();
    ProcessorIdentity identity(platform::nativeCpuProbe(), facts);
    EXPECT_EQ(identity.hasMMX(), 1);
    EXPECT_EQ(identity.hasSSE(), 1);
    EXPECT_EQ(identity.hasSSE2(), 1);
    EXPECT_GE(identity.family, 6);
    EXPECT_GE(identity.processorCount(), 1);
    EXPECT_NE(platform::nativeCpuProbe().readTimeStampCounter(), 0u);
}

TEST(NativeProcessor, ADumpOfItDecodesTheSameWay) {
    const auto& native = platform::nativeCpuProbe();
    const auto text = platform::formatCpuidDump(platform::captureCpuidDump(native));
    const platform::RecordedCpuProbe replay(platform::parseCpuidDump(text));
    ProcessorFacts liveFacts = test::factsWithoutDefinition();
    ProcessorFacts replayFacts = test::factsWithoutDefinition();
    const ProcessorIdentity live(native, liveFacts);
    const ProcessorIdentity replayed(replay, replayFacts);
    EXPECT_EQ(replayed.vendor, live.vendor);
    EXPECT_EQ(replayed.family, live.family);
    EXPECT_EQ(replayed.model, live.model);
    EXPECT_EQ(replayed.stepping, live.stepping);
    EXPECT_EQ(replayed.l1DataKB, live.l1DataKB);
    EXPECT_EQ(replayed.l2KB, live.l2KB);
    EXPECT_EQ(replayed.brandString, live.brandString);
    EXPECT_EQ(replayed.standardFeatureFlags(), live.standardFeatureFlags());
    EXPECT_EQ(replayed.extendedFeatureFlags(), live.extendedFeatureFlags());
}

}  // namespace
}  // namespace veltrane::ident
