#include <gtest/gtest.h>

#include "engine/ReferenceLine.h"
#include "engine/TestInfo.h"
#include "reports/RunJsonDocument.h"
#include "store/RunRecord.h"
#include "store/Transfer.h"
#include "support/FakeCpu.h"

namespace veltrane::store {
namespace {

engine::ReferenceEntry entryNamed(const std::string& name) {
    engine::ReferenceEntry entry;
    entry.overall = 26020;
    entry.alu = 240840;
    entry.fpu = 107450;
    entry.fpuSingle = 125396;
    entry.fpuDouble = 89504;
    entry.mips = 44233;
    entry.mflops = 36413;
    entry.ramAlu = 44642.5f;
    entry.ramFpu = 59829.25f;
    entry.cpuName = name;
    entry.osName = "Debian 12";
    entry.l1Data = "48 KB";
    entry.l1Code = "32 KB";
    entry.l2Cache = "1024 KB";
    entry.chipset = "Virtual";
    entry.fsb = "Unknown";
    entry.bitmapName = "AMD_Zen";
    return entry;
}

// Whatever the texts hold, the line reads back as one record with the same
// figures, within the reader's line length.
TEST(ReferenceLineTest, AnyEntryReadsBackAsItself) {
    const struct {
        std::string name;
        std::string expectedName;
    } cases[] = {
        {"Core i7-8700K 3700 MHz", "Core i7 8700K 3700 MHz"},
        {"-leading-and--doubled-", "leading and  doubled"},
        {"tab\there\r\nnew line", "tab here  new line"},
        {"   ", "Unknown"},
        {std::string(300, 'N'), ""},  // shortened to fit
    };
    for (const auto& c : cases) {
        const std::string line = engine::referenceLine(entryNamed(c.name));
        EXPECT_LE(line.size(), engine::kReferenceLineMax) << c.name;
        const auto lines = engine::referenceLines(line);
        ASSERT_EQ(lines.size(), 1u) << line;
        const auto back = engine::parseReferenceLine(lines[0]);
        ASSERT_TRUE(back) << line;
        if (!c.expectedName.empty()) {
            EXPECT_EQ(back->cpuName, c.expectedName);
        }
        EXPECT_EQ(back->overall, 26020);
        EXPECT_EQ(back->fpuDouble, 89504);
        EXPECT_EQ(back->mflops, 36413.0f);
        EXPECT_EQ(back->ramAlu, 44642.5f);
        EXPECT_EQ(back->ramFpu, 59829.2f);  // a tenth is kept
        EXPECT_EQ(back->bitmapName, "AMD_Zen");
    }
    // A figure below zero would split the line: written as nothing measured.
    auto negative = entryNamed("X");
    negative.alu = -5;
    negative.mips = -1;
    const auto back = engine::parseReferenceLine(engine::referenceLine(negative));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->alu, 0);
    EXPECT_EQ(back->mips, 0.0f);
    EXPECT_EQ(back->bitmapName, "AMD_Zen");
}

class TransferTest : public ::testing::Test {
protected:
    reports::RunContext context() {
        return {record,   machine,  plan, "standard", 255, platform::PriorityGrant::Granted,
                finished, finished, {}};
    }

    ident::MachineFacts machine = test::machineOfDump("zen5-virtual", 2096.0f);
    engine::BenchResult record{.integerResult = 240840.f,
                               .floatResult = 125396.f,
                               .doubleResult = 89504.f,
                               .mipsResult = 44233.f,
                               .mflopsResult = 36413.f,
                               .ramAluResult = 44642.f,
                               .ramFpuResult = 59829.f,
                               .overallResult = 26020.f,
                               .fullRun = 1,
                               .suite = engine::SuiteStandard};
    engine::RunPlan plan{engine::SuiteStandard, true, {}, false};
    std::chrono::system_clock::time_point finished{std::chrono::seconds(1'796'000'000)};
};

TEST_F(TransferTest, ARunKeptHereImportsElsewhereWithItsFiguresAndLine) {
    const RunRow row = runRow(context(), "cli");
    EXPECT_EQ(row.machine, defaultMachineName(machine, engine::SuiteStandard));
    EXPECT_NE(row.machine.find("2096 MHz"), std::string::npos) << row.machine;
    EXPECT_TRUE(canBeReference(row));
    const auto line = engine::parseReferenceLine(row.referenceLine);
    ASSERT_TRUE(line) << row.referenceLine;
    EXPECT_EQ(line->overall, 26020);
    EXPECT_EQ(line->fpu, (125396 + 89504) / 2);
    EXPECT_EQ(line->l1Data, "48 KB");

    const ImportBatch fromJson = importBatch(row.runJson, engine::SuiteSSE, "now");
    ASSERT_EQ(fromJson.error, "");
    ASSERT_EQ(fromJson.runs.size(), 1u);
    const RunRow& imported = fromJson.runs[0];
    EXPECT_EQ(imported.origin, "import");
    EXPECT_EQ(imported.suite, engine::SuiteStandard) << "the record's own suite, not --suite";
    EXPECT_EQ(imported.machine, row.machine);
    EXPECT_EQ(imported.finishedAt, row.finishedAt);
    EXPECT_EQ(imported.figures.mflops, row.figures.mflops);
    EXPECT_EQ(imported.referenceLine, row.referenceLine);
    EXPECT_TRUE(imported.inLists);

    // A custom run or one whose checks failed stays out of the lists.
    record.checks[3].state = engine::CheckState::Failed;
    EXPECT_FALSE(importBatch(runRow(context(), "cli").runJson, 3, "now").runs[0].inLists);
    record.fullRun = 0;
    EXPECT_FALSE(canBeReference(runRow(context(), "cli")));
}

TEST_F(TransferTest, ReferenceLinesJoinTheListOfTheSuiteNamed) {
    const std::string text = engine::referenceLine(entryNamed("A 1000 MHz")) + "\n\nshort-line\n" +
                             engine::referenceLine(entryNamed("B 2000 MHz"));
    const ImportBatch batch = importBatch(text, engine::SuiteSSE2, "2026-12-07T06:00:00Z");
    ASSERT_EQ(batch.error, "");
    EXPECT_EQ(batch.skippedLines, 2);
    ASSERT_EQ(batch.runs.size(), 2u);
    EXPECT_EQ(batch.runs[1].machine, "B 2000 MHz");
    EXPECT_EQ(batch.runs[1].suite, engine::SuiteSSE2);
    EXPECT_EQ(batch.runs[1].finishedAt, "2026-12-07T06:00:00Z");
    EXPECT_EQ(batch.runs[1].figures.fpuSingle, 125396);
    EXPECT_TRUE(batch.runs[1].inLists);
    EXPECT_TRUE(batch.runs[1].runJson.empty());

    for (const char* bad : {"", "{ not json", "{\"run\": {}}", "one-two-three\n",
                            "{\"run\": {\"suite\": 9}, \"result\": {\"mips\": 1}}"}) {
        const ImportBatch refused = importBatch(bad, 3, "now");
        EXPECT_FALSE(refused.error.empty()) << bad;
        EXPECT_TRUE(refused.runs.empty()) << bad;
    }
}

TEST_F(TransferTest, UserEntriesFollowTheShippedOnesOfTheirSuite) {
    engine::ReferenceDatabase database;
    database.lists[3].push_back(entryNamed("Shipped"));
    addUserEntries(database, {{7, 1, 3, engine::referenceLine(entryNamed("Mine")), ""},
                              {8, 2, 9, engine::referenceLine(entryNamed("No list")), ""},
                              {9, 3, 0, "not a line", ""}});
    ASSERT_EQ(database.lists[3].size(), 2u);
    EXPECT_EQ(database.lists[3][0].userEntryId, 0);
    EXPECT_EQ(database.lists[3][1].cpuName, "Mine");
    EXPECT_EQ(database.lists[3][1].userEntryId, 7);
    EXPECT_TRUE(database.lists[0].empty());
}

TEST(ExportTest, CsvQuotesItsTexts) {
    RunRow run;
    run.id = 4;
    run.finishedAt = "2026-12-07T05:30:00Z";
    run.origin = "cli";
    run.machine = "Say \"fast\", twice";
    run.figures.mips = 44233.44;
    const std::string csv = exportCsv({run});
    EXPECT_EQ(csv.substr(csv.find('\n') + 1),
              "4,\"2026-12-07T05:30:00Z\",\"cli\",\"Say \"\"fast\"\", twice\",3,1,1,"
              "0.0,0.0,0.0,0.0,44233.4,0.0,0.0,0.0\n");
    EXPECT_EQ(exportLine(run), "\n");
}

}  // namespace
}  // namespace veltrane::store
