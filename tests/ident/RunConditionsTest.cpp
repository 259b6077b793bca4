#include <gtest/gtest.h>

#include "ident/RunConditions.h"
#include "support/FakeCpu.h"
#include "support/FakeOsFactsSource.h"

namespace veltrane::ident {
namespace {

using test::FakeOsFactsSource;
using Strings = std::vector<std::string>;

const std::string kCpu = "/sys/devices/system/cpu/";
const std::string kPower = "/sys/class/power_supply/";

// Two processors with `governor` under `driver`; boost told by `boostFile`.
FakeOsFactsSource scaledMachine(const std::string& governor, const std::string& driver,
                                const std::string& boostFile, const std::string& boost) {
    FakeOsFactsSource source;
    for (const char* cpu : {"cpu0", "cpu1"}) {
        source.file(kCpu + cpu + "/cpufreq/scaling_governor", governor + "\n");
    }
    source.file(kCpu + "cpu0/cpufreq/scaling_driver", driver + "\n")
        .file(kCpu + "cpuidle/current_driver", "none")  // not a processor
        .file(kCpu + boostFile, boost + "\n")
        .file("/proc/loadavg", "0.52 0.58 0.59 1/467 4242\n");
    return source;
}

TEST(RunConditions, ReadsGovernorBoostLoadAndPowerAndWarnsOfWhatSpoilsFigures) {
    auto laptop = scaledMachine("powersave", "acpi-cpufreq", "cpufreq/boost", "1")
                      .file(kPower + "AC/type", "Mains\n")
                      .file(kPower + "AC/online", "0\n")
                      .file(kPower + "BAT0/type", "Battery\n")
                      .file(kPower + "BAT0/status", "Discharging\n");
    auto desktop = scaledMachine("powersave", "intel_pstate", "intel_pstate/no_turbo", "1")
                       .file(kPower + "AC/type", "Mains\n")
                       .file(kPower + "AC/online", "1\n")
                       .file(kPower + "BAT0/type", "Battery\n")
                       .file(kPower + "BAT0/status", "Charging\n");
    auto guest = scaledMachine("", "", "none", "").file("/proc/loadavg", "2.5 x");
    guest.files.erase(kCpu + "cpu0/cpufreq/scaling_governor");
    guest.files.erase(kCpu + "cpu1/cpufreq/scaling_governor");
    guest.file(kCpu + "cpu0/online", "1").file(kCpu + "cpu1/online", "1");
    auto server = scaledMachine("performance", "acpi-cpufreq", "cpufreq/boost", "0")
                      .file(kPower + "BAT0/type", "Battery\n")
                      .file(kPower + "BAT0/status", "Full\n");
    struct Case {
        const char* name;
        const FakeOsFactsSource& source;
        bool virtualMachine;
        Strings governors;
        std::optional<bool> boost;
        bool loadRead;
        PowerSource power;
        Strings warnings;
    };
    const Case cases[] = {
        {"laptop on battery",
         laptop,
         false,
         {"powersave", "powersave"},
         true,
         true,
         PowerSource::Battery,
         {"the frequency governor is powersave: figures will be low",
          "boost (turbo) is on: the clock follows temperature and load, so figures vary between "
          "runs",
          "the machine runs on battery: the processor may be held back"}},
        // intel_pstate's powersave still raises the clock under load.
        {"desktop",
         desktop,
         false,
         {"powersave", "powersave"},
         false,
         true,
         PowerSource::Mains,
         {}},
        {"guest",
         guest,
         true,
         {"", ""},
         std::nullopt,
         false,
         PowerSource::Unknown,
         {"this is a virtual machine: figures depend on what the host runs beside it"}},
        // A battery that is not discharging, with no mains listed, is still the source.
        {"server",
         server,
         false,
         {"performance", "performance"},
         false,
         true,
         PowerSource::Battery,
         {"the machine runs on battery: the processor may be held back"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RunConditions read = readRunConditions(c.source, c.virtualMachine);
        EXPECT_EQ(read.governors, c.governors);
        EXPECT_EQ(read.boost, c.boost);
        EXPECT_EQ(read.loadAverage.has_value(), c.loadRead);
        EXPECT_EQ(read.power, c.power);
        EXPECT_EQ(conditionWarnings(read), c.warnings);
    }
    const auto load = readRunConditions(laptop, false).loadAverage;
    EXPECT_EQ(*load, (std::array<double, 3>{0.52, 0.58, 0.59}));
}

TEST(RunConditions, BusiestProcessesAreOthersAboveFivePercentBusiestFirst) {
    FakeOsFactsSource proc;
    // Names may hold blanks and parentheses; user and system ticks are fields 14 and 15.
    proc.file("/proc/7/stat", "7 (make (sub) x) R 1 7 7 0 -1 4194560 10 0 0 0 120 30 0 0 20 0\n")
        .file("/proc/8/stat", "8 (short) S 1")
        .file("/proc/9/stat", "9 (cc1plus) R 1 9 9 0 -1 0 0 0 0 0 x 1 0 0\n")
        .file("/proc/self/stat", "1 (self) R 1 1 1 0 -1 0 0 0 0 0 5 5 0 0\n")
        .file("/proc/meminfo", "MemTotal: 1 kB\n");
    const ProcessTimes read = readProcessTimes(proc);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read.at(7).name, "make (sub) x");
    EXPECT_EQ(read.at(7).ticks, 150u);

    const ProcessTimes before{{10, {"idle", 100}},   {11, {"spin", 100}}, {12, {"half", 0}},
                              {13, {"reused", 500}}, {14, {"self", 0}},   {15, {"tenth", 0}},
                              {16, {"quarter", 0}},  {17, {"edge", 0}}};
    const ProcessTimes after{{10, {"idle", 101}},   {11, {"spin", 200}}, {12, {"half", 50}},
                             {13, {"reused", 20}},  {14, {"self", 100}}, {15, {"tenth", 10}},
                             {16, {"quarter", 25}}, {17, {"edge", 5}},   {18, {"new", 90}}};
    const auto busy = busiestProcesses(before, after, 1.0, 100.0, 14);
    Strings names;
    for (const ProcessLoad& p : busy) {
        names.push_back(p.name + " " + std::to_string(static_cast<int>(p.cpuPercent)));
    }
    EXPECT_EQ(names, (Strings{"spin 100", "half 50", "quarter 25"}));
    EXPECT_EQ(busiestProcesses(before, after, 10.0, 100.0, 14).size(), 2u);  // spin 10, half 5
    EXPECT_TRUE(busiestProcesses(before, after, 0.0, 100.0, 14).empty());
}

TEST(RunConditions, BusyProcessesAreNamedInTheWarning) {
    RunConditions conditions;
    conditions.busiest = {{3, "cc1plus", 67.5}, {4, "ld", 31.7}};
    EXPECT_EQ(conditionWarnings(conditions),
              Strings{"other programs are busy (cc1plus 68 %, ld 32 %): figures will be low"});
    EXPECT_STREQ(powerSourceName(PowerSource::Mains), "ac");
    // The processor's hypervisor bit (leaf 1 ECX bit 31) says what runs it.
    EXPECT_TRUE(test::machineOfDump("zen5-virtual").virtualMachine);
    EXPECT_FALSE(test::machineOfDump("pentium4-northwood").virtualMachine);
}

}  // namespace
}  // namespace veltrane::ident
