#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sstream>

#include "cli/RunJson.h"
#include "cli/RunOutputs.h"
#include "engine/TestInfo.h"
#include "platform/StopSignals.h"
#include "reports/MachineJson.h"
#include "reports/RunJsonDocument.h"
#include "support/FakeCpu.h"
#include "support/ScratchFolder.h"

namespace veltrane::cli {
namespace {

using Json = nlohmann::ordered_json;
using namespace std::chrono;

// A Pentium 4 signature with the FPU, SSE and SSE2 bits and extended bit 0
// set, leaf-2 caches, two processors, an SSE run of tests 1, 3 and 6 that fell back to the
// standard suite, late in the evening.
class RunJsonTest : public ::testing::Test {
protected:
    RunJsonTest() {
        machine.definition.processorName = "Pentium 4";
        machine.processorCount = 2;
        machine.caches.groups = {
            {"  L1 Data cache", {{"Line size", "64 Byte", true}, {"Associativity", "", false}}}};
        // Device 30 function 1 on bus 1, of a vendor the names file knows
        // without this device.
        platform::PciConfigSpace config{0x86, 0x80};
        machine.pciDevices = {
            ident::pciDeviceFromConfig(1, platform::pciSlot(30, 1), config,
                                       ident::PciNames::parse("V\t8086 Intel Corporation\n"))};
    }

    reports::RunContext context() {
        const auto started = sys_days{year{2026} / 12 / 6} + 23h + 30min + 40s;
        ident::RunConditions conditions{{"powersave", ""},
                                        "acpi-cpufreq",
                                        std::nullopt,
                                        std::array<double, 3>{0.5, 1.25, 2},
                                        {{42, "make", 51.25}},
                                        ident::PowerSource::Battery,
                                        true};
        return {record,  machine,          plan,      "sse", 0xA5, platform::PriorityGrant::Refused,
                started, started + 3250ms, conditions};
    }

    ident::MachineFacts machine = test::machineOf(
        std::make_shared<platform::RecordedCpuProbe>(test::FakeCpu()
                                                         .vendor("GenuineIntel")
                                                         .signature(0xF24, 1u | 1u << 25 | 1u << 26)
                                                         .leaf(2, {1, 0, 0, 0x0C040843})
                                                         .leaf(0x80000001, {0, 0, 0, 1})
                                                         .probe()),
        2400.5f, false);
    engine::BenchResult record{
        .integerTime = 12.3f, .integerResult = 1234.5f, .ramAluResult = 2048.25f};
    engine::RunPlan plan{engine::SuiteStandard, false, {1, 0, 1, 0, 0, 1, 0}, true};
};

TEST_F(RunJsonTest, WritesTheRunItsResultAndDetails) {
    record.clocks[0] = {3000.0f, 2800.0f};  // test 1 ran and throttled
    machine.os.computerName = "caf\xE9";    // not UTF-8: replaced, not an abort
    const std::string text = reports::runJsonText(reports::runJson(context()));
    // Floats keep their short decimal form, not the digits of their double.
    for (const char* expected :
         {"\"integer_time_s\": 12.3,", "\"integer_alumarks\": 1234.5,",
          "\"ram_alu_mb_per_s\": 2048.25,", "\"clock_mhz\": 2400.5,", "\"duration_s\": 3.25,",
          "\"score_text\": \"N/A  CPUMarks\"", "{\n  \"schema_version\": 5,\n",
          "\"computer_name\": \"caf\xEF\xBF\xBD\""}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    }
    EXPECT_EQ(text.back(), '\n');
    const Json json = Json::parse(text);
    EXPECT_EQ(json["run"], Json::parse(R"({"requested_suite": "sse", "suite": 3,
        "suite_name": "standard", "fell_back_to_standard": true, "mask": 165, "full_run": false,
        "tests_run": [1, 3, 6], "started_at": "2026-12-06T23:30:40Z",
        "finished_at": "2026-12-06T23:30:43Z", "duration_s": 3.25,
        "time_critical_priority": {"grant": "refused",
            "text": "Time-critical priority not permitted; running at normal priority"},
        "processor_count": 2})"));
    EXPECT_EQ(json["conditions"], Json::parse(R"({"governor": ["powersave", ""],
        "scaling_driver": "acpi-cpufreq", "boost": null, "load_average": [0.5, 1.25, 2.0],
        "busiest_processes": [{"pid": 42, "name": "make", "cpu_percent": 51.3}],
        "power_source": "battery", "virtual_machine": true, "priority_granted": "refused",
        "warnings": ["the frequency governor is powersave: figures will be low",
            "the machine runs on battery: the processor may be held back",
            "other programs are busy (make 51 %): figures will be low",
            "this is a virtual machine: figures depend on what the host runs beside it"],
        "tests": [{"test": 1, "effective_clock_mhz_before": 3000.0,
            "effective_clock_mhz_after": 2800.0, "throttled": true}]})"));
    // Spacer rows are left out; headings keep their texts.
    EXPECT_EQ(Json::array({json["details"][0], json["details"][6]}),
              Json::parse(R"([{"item": " Overall Results Details", "description": ""},
                  {"item": "  Integer Result", "description": "1234 ALUMarks"}])"));
    plan.fullRun = true;
    EXPECT_EQ(reports::runJson(context())["run"]["tests_run"],
              Json::parse("[1, 2, 3, 4, 5, 6, 7]"));
}

TEST_F(RunJsonTest, DescribesTheMachine) {
    const Json json = reports::runJson(context())["machine"];
    EXPECT_EQ(json["processor"]["family"], 15);
    EXPECT_EQ(json["processor"]["name"], "Pentium 4");
    const Json& features = json["features"];
    EXPECT_EQ(features["standard_flags"], 1u | 1u << 25 | 1u << 26);
    EXPECT_EQ(features["standard_supported"], Json::parse(R"(["fpu", "sse", "sse2"])"));
    EXPECT_EQ(features["extended_supported"], Json::parse(R"(["fpu"])"));
    // Numbers, where the page has texts; what leaf 2 does not state is null.
    const Json& geometry = json["caches"]["geometry"];
    EXPECT_EQ(geometry.size(), 3u);
    EXPECT_EQ(geometry[2], Json::parse(R"({"level": 2, "type": "unified", "size_kb": 512,
        "ways": 4, "fully_associative": false, "sectored": false, "lines_per_tag": null,
        "line_size_bytes": 32, "sets": null, "shared_by": null})"));
    // A greyed field has no value at all.
    EXPECT_EQ(json["caches"]["page"], Json::parse(R"([{"title": "L1 Data cache", "fields": [
        {"label": "Line size", "value": "64 Byte"}, {"label": "Associativity", "value": null}]}])"));
    const Json& device = json["pci"]["devices"][0];
    EXPECT_EQ(device["vendor_name"], "Intel Corporation");
    EXPECT_EQ(device["device_name"], nullptr);
    EXPECT_EQ(device["device"], 30);
}

TEST_F(RunJsonTest, AFailedWriteIsReportedAndLeavesNoFile) {
    const test::ScratchFolder scratch;
    std::ostringstream out, err;
    EXPECT_EQ(writeRunJson(context(), "no-such-folder/run.json", out, err), 1);
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path));
    std::ostringstream closed;
    closed.setstate(std::ios::badbit);
    EXPECT_EQ(writeRunJson(context(), "-", closed, err), 1);
    EXPECT_NE(err.str().find("cannot write the JSON file -: "), std::string::npos);
}

TEST_F(RunJsonTest, AStopAfterTheRunWritesNoFurtherOutput) {
    const test::ScratchFolder scratch;
    RunOptions options;
    options.report.path = "run";
    options.jsonPath = "run.json";
    RunOutputs outputs(options);
    std::ostringstream out, err;
    ASSERT_FALSE(outputs.prepare(err).has_value()) << err.str();
    const platform::StopSignalScope stopSignals;
    ::raise(SIGINT);
    EXPECT_EQ(outputs.write(context(), out, out, err), 130);
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path));
    EXPECT_NE(err.str().find("Interrupted: the outputs still to come are not written"),
              std::string::npos);
}

// CPUID's fields as given and as combined carry different names, and a
// recorded processor's clocks say they were not measured.
TEST(MachineJson, RawAndCombinedSignatureTodaysNamesAndUnmeasuredClocks) {
    ident::ClockFacts clocks;
    clocks.notMeasured = "a recorded processor";
    const Json json = reports::machineJson(test::machineOfDump("zen5-virtual"), clocks);
    const Json& processor = json["processor"];
    EXPECT_EQ(processor["family_raw"], 15);
    EXPECT_EQ(processor["extended_family_raw"], 11);
    EXPECT_EQ(processor["family"], 0x1A);
    EXPECT_EQ(processor["model"], 2);
    EXPECT_EQ(processor["todays_names"]["codename"], "Turin");
    EXPECT_EQ(processor["codename"], "Turin");
    EXPECT_EQ(json["clocks"]["counter_mhz"], nullptr);
    EXPECT_EQ(json["clocks"]["not_measured"], "a recorded processor");
    EXPECT_EQ(json["topology"]["threads"], 2);
    EXPECT_FALSE(json["feature_flags"]["flags"].empty());
}

}  // namespace
}  // namespace veltrane::cli
