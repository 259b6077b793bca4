// Processor lists in the kernel's form, and the processors the program may run on.
#include <gtest/gtest.h>

#include "platform/Affinity.h"
#include "platform/CpuidDump.h"
#include "platform/ProcessorList.h"
#include "platform/SystemInfo.h"
#include "support/FakeAffinity.h"

namespace veltrane::platform {
namespace {

TEST(ProcessorList, ReadsRangesInAnyOrderOnceEachAndRefusesDamage) {
    const struct {
        const char* text;
        std::optional<const char*> written;  // the list written back; nothing: refused
        std::size_t count;
    } cases[] = {
        {"0-3,8\n", "0-3,8", 5},
        {"8,0-3,2", "0-3,8", 5},
        {"5", "5", 1},
        {"", "", 0},
        {"0-65535", "0-65535", 65536},
        {"0-65535,0-65535,0-65535", "0-65535", 65536},  // repeats do not grow it
        {"3-1", std::nullopt, 0},
        {"0-65536", std::nullopt, 0},
        {"-1", std::nullopt, 0},
        {"0,,2", std::nullopt, 0},
        {"1-", std::nullopt, 0},
        {"0x3", std::nullopt, 0},
        {"99999999999999999999", std::nullopt, 0},
    };
    for (const auto& c : cases) {
        const auto list = parseProcessorList(c.text);
        ASSERT_EQ(list.has_value(), c.written.has_value()) << c.text;
        if (list) {
            EXPECT_EQ(processorListText(*list), *c.written) << c.text;
            EXPECT_EQ(list->size(), c.count) << c.text;
        }
    }
}

TEST(AllowedProcessors, TheMaskElseTheOnlineCountAndARecordedCountStandsForTheMachine) {
    CpuidDump recordedFour;
    recordedFour.processors = 4;
    const RecordedCpuProbe live{CpuidDump()}, dump{recordedFour};
    const auto online = static_cast<int>(getSystemInfo().numberOfProcessors);
    const struct {
        const CpuProbe& probe;
        std::optional<std::vector<int>> mask;
        int count;
        std::string list;
    } cases[] = {
        {live, std::vector{0}, 1, "0"},
        {live, std::vector{0, 1, 2, 3, 8}, 5, "0-3,8"},
        {live, std::nullopt, online, online > 1 ? "0-" + std::to_string(online - 1) : "0"},
        {live, std::vector<int>{}, online, online > 1 ? "0-" + std::to_string(online - 1) : "0"},
        {dump, std::vector{0}, 4, "0-3"},
    };
    for (const auto& c : cases) {
        const auto allowed = allowedProcessors(c.probe, test::FakeAffinity(c.mask));
        EXPECT_EQ(allowed.count, c.count) << c.list;
        EXPECT_EQ(allowed.list, c.list);
    }
    EXPECT_EQ(runnableProcessors(test::FakeAffinity(std::vector{2, 5})), (std::vector{2, 5}));
    EXPECT_EQ(runnableProcessors(test::FakeAffinity(std::nullopt)).size(),
              static_cast<std::size_t>(std::max(1, online)));
    // This process may run on at least one of the online processors.
    const auto own = allowedProcessors(live);
    EXPECT_GE(own.count, 1);
    EXPECT_LE(own.count, online);
}

}  // namespace
}  // namespace veltrane::platform
