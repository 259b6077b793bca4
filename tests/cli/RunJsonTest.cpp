#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/RunJson.h"
#include "cli/RunJsonDocument.h"
#include "engine/DetailsRows.h"
#include "engine/TestInfo.h"
#include "support/FakeCpu.h"

namespace veltrane::cli {
namespace {

using Json = nlohmann::ordered_json;
using namespace std::chrono;

std::vector<std::string> keysOf(const Json& object) {
    std::vector<std::string> keys;
    for (const auto& item : object.items()) {
        keys.push_back(item.key());
    }
    return keys;
}

// A Pentium 4 signature with the FPU, SSE and SSE2 bits set, an SSE run
// that fell back to the standard suite, and a run of tests 1, 3 and 6.
class RunJsonTest : public ::testing::Test {
protected:
    RunJsonTest() {
        record.integerTime = 12.3f;
        record.integerResult = 1234.5f;
        record.ramAluResult = 2048.25f;
        plan.suite = engine::SuiteStandard;
        plan.fullRun = false;
        plan.selected = {1, 0, 1, 0, 0, 1, 0};
        plan.fellBackToStandard = true;
        machine.definition.processorName = "Pentium 4";
        machine.processorCount = 2;
        machine.cachePage.groups = {
            {"  L1 Data cache", {{"Line size", "64 Byte", true}, {"Associativity", "", false}}}};
        machine.pciDevices = {pciDevice()};
        machine.priorityGrant = platform::PriorityGrant::Refused;
    }

    // Device 30 function 1 on bus 1, of a vendor the names file knows
    // without this device.
    static ident::PciDevice pciDevice() {
        platform::PciConfigSpace config{};
        config[0] = 0x86;
        config[1] = 0x80;
        return ident::pciDeviceFromConfig(1, platform::pciSlot(30, 1), config,
                                          ident::PciNames::parse("V\t8086 Intel Corporation\n"));
    }

    Json document() {
        const auto started = sys_days{year{2026} / 12 / 6} + 11h + 30min + 40s;
        const RunContext context{record, identity, plan,    "sse",
                                 0xA5,   2400.5f,  started, started + 3250ms};
        return runJson(context, machine);
    }

    platform::RecordedCpuProbe probe =
        test::FakeCpu().vendor("GenuineIntel").signature(0xF24, 1u | 1u << 25 | 1u << 26).probe();
    ident::ProcessorFacts processorFacts = test::factsWithoutDefinition();
    ident::ProcessorIdentity identity{probe, processorFacts};
    engine::BenchResult record;
    engine::RunPlan plan;
    MachineFacts machine{{},
                         {},
                         0,
                         {},
                         ident::OsInfo(platform::OsFacts{}),
                         ident::MemoryInfo(platform::MemoryFacts{}),
                         {},
                         std::nullopt,
                         platform::PriorityGrant::NotAsked};
};

TEST_F(RunJsonTest, KeepsSectionsAndKeysInTheirOrder) {
    const Json json = document();
    EXPECT_EQ(keysOf(json), (std::vector<std::string>{"schema_version", "program", "run", "result",
                                                      "details", "machine"}));
    EXPECT_EQ(json["schema_version"], 1);
    auto resultKeys = keysOf(json["result"]);
    ASSERT_EQ(resultKeys.size(), 26u);
    resultKeys.resize(6);
    EXPECT_EQ(resultKeys,
              (std::vector<std::string>{"score_text", "overall_cpumarks", "total_time_text",
                                        "overall_time_s", "integer_alumarks", "integer_time_s"}));
    EXPECT_EQ(keysOf(json["machine"]),
              (std::vector<std::string>{"processor", "clock_mhz", "caches", "features", "os",
                                        "memory", "pci"}));
}

TEST_F(RunJsonTest, WritesTheRunAndItsResultInTheUnitsOfTheirKeys) {
    const std::string text = runJsonText(document());
    // Floats keep their short decimal form, not the digits of their double.
    for (const char* expected :
         {"\"integer_time_s\": 12.3,", "\"integer_alumarks\": 1234.5,",
          "\"ram_alu_mb_per_s\": 2048.25,", "\"clock_mhz\": 2400.5,", "\"duration_s\": 3.25,",
          "\"started_at\": \"2026-12-06T11:30:40Z\"", "\"finished_at\": \"2026-12-06T11:30:43Z\"",
          "\"score_text\": \"N/A  CPUMarks\"", "\n  \"schema_version\": 1,\n"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    }
    EXPECT_EQ(text.back(), '\n');
    const Json run = Json::parse(text)["run"];
    EXPECT_EQ(run["requested_suite"], "sse");
    EXPECT_EQ(run["suite_name"], "standard");
    EXPECT_EQ(run["fell_back_to_standard"], true);
    EXPECT_EQ(run["mask"], 0xA5);
    EXPECT_EQ(run["tests_run"], Json::parse("[1, 3, 6]"));
    EXPECT_EQ(run["time_critical_priority"]["grant"], "refused");
    EXPECT_EQ(run["processor_count"], 2);

    plan.fullRun = true;
    EXPECT_EQ(document()["run"]["tests_run"], Json::parse("[1, 2, 3, 4, 5, 6, 7]"));
}

TEST_F(RunJsonTest, DetailsKeepTheProgramsTextsWithoutSpacerRows) {
    const Json details = document()["details"];
    std::size_t spacers = 0;
    for (const auto& row : engine::benchmarkDetailsRows(record)) {
        spacers += row.item.empty() && row.description.empty() ? 1u : 0u;
    }
    EXPECT_EQ(details.size(), engine::benchmarkDetailsRows(record).size() - spacers);
    EXPECT_EQ(details[0],
              Json::parse(R"({"item": " Overall Results Details", "description": ""})"));
    EXPECT_EQ(details[6],
              Json::parse(R"({"item": "  Integer Result", "description": "1234 ALUMarks"})"));
}

TEST_F(RunJsonTest, DescribesTheMachine) {
    const Json json = document()["machine"];
    EXPECT_EQ(json["processor"]["display_family"], 15);
    EXPECT_EQ(json["processor"]["name"], "Pentium 4");
    const Json& features = json["features"];
    EXPECT_EQ(features["standard_flags"], 1u | 1u << 25 | 1u << 26);
    EXPECT_EQ(features["standard_supported"],
              Json::parse(R"j(["Built in Floating point unit (bit 1)",
                  "Streaming SIMD Extensions (bit 26)", "Streaming SIMD Extensions 2 (bit 27)"])j"));
    EXPECT_EQ(features["extended_supported"], Json::array());
    // A greyed field has no value at all.
    EXPECT_EQ(json["caches"]["page"], Json::parse(R"([{"title": "L1 Data cache", "fields": [
        {"label": "Line size", "value": "64 Byte"}, {"label": "Associativity", "value": null}]}])"));
    const Json& device = json["pci"]["devices"][0];
    EXPECT_EQ(device["vendor_name"], "Intel Corporation");
    EXPECT_EQ(device["device_name"], nullptr);
    EXPECT_EQ(device["device"], 30);
    EXPECT_EQ(json["pci"]["error"], nullptr);
}

TEST_F(RunJsonTest, BytesThatAreNotUtf8DoNotAbortTheText) {
    machine.os.computerName = "caf\xE9";
    const std::string text = runJsonText(document());
    EXPECT_NE(text.find("\"computer_name\": \"caf\xEF\xBF\xBD\""), std::string::npos);
}

TEST_F(RunJsonTest, AFailedWriteIsReportedAndLeavesNoFile) {
    const auto started = system_clock::now();
    const RunContext context{record, identity, plan, "standard", 255, 0, started, started};
    const std::string path = "no-such-folder/run.json";
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(writeRunJson(context, path, out, err), 1);
    EXPECT_EQ(err.str().rfind("veltrane-cli: cannot write the JSON file " + path + ": ", 0), 0u)
        << err.str();
    EXPECT_FALSE(std::filesystem::exists("no-such-folder"));

    std::ostringstream closed;
    closed.setstate(std::ios::badbit);
    err.str("");
    EXPECT_EQ(writeRunJson(context, "-", closed, err), 1);
    EXPECT_NE(err.str().find("cannot write the JSON file -: "), std::string::npos);
}

}  // namespace
}  // namespace veltrane::cli
