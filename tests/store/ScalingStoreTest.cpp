// Scaling runs in the results history: their own table, added to a file
// of the first schema without touching its runs.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "reports/ScalingJson.h"
#include "store/OpenStore.h"
#include "store/ScalingRecord.h"
#include "support/FakeCpu.h"
#include "support/ScalingSample.h"
#include "support/ScratchFolder.h"

namespace veltrane::store {
namespace {

void execute(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(db);
}

ScalingRunRow scalingRow(const std::string& machine, double score) {
    return {0, "2026-12-07T05:30:00Z", "cli", machine, 2, score, score > 0, "{\"scaling\": {}}"};
}

RunRow runRow(const std::string& machine) {
    RunRow run;
    run.finishedAt = "2026-12-07T05:00:00Z";
    run.origin = "cli";
    run.machine = machine;
    run.referenceLine = machine + "-line";
    run.runJson = "{}";
    return run;
}

class ScalingStoreTest : public ::testing::Test {
protected:
    test::ScratchFolder scratch;
    std::string path = (scratch.path / "results.sqlite").string();
};

TEST_F(ScalingStoreTest, AFirstSchemaFileGainsTheTableAndKeepsItsRuns) {
    {
        auto opening = openResultsStore(path);
        ASSERT_TRUE(opening.store) << opening.message;
        opening.store->addRun(runRow("Kept"));
    }
    // The file as the first schema left it.
    execute(path, "DROP TABLE scaling_runs; PRAGMA user_version = 1;");
    auto opening = openResultsStore(path);
    ASSERT_TRUE(opening.store) << opening.message;
    ResultsStore& history = *opening.store;
    const auto runs = history.runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].machine, "Kept");
    EXPECT_EQ(history.addScalingRun(scalingRow("New", 100)), 1);
    EXPECT_EQ(history.scalingRuns().size(), 1u);
}

TEST_F(ScalingStoreTest, KeptListedShownAndRemovedApartFromTheRuns) {
    auto opening = openResultsStore(path);
    ASSERT_TRUE(opening.store) << opening.message;
    ResultsStore& history = *opening.store;
    const auto run = history.addRun(runRow("A run"));
    const auto first = history.addScalingRun(scalingRow("First", 25000.5));
    const auto second = history.addScalingRun(scalingRow("Second", 0));
    EXPECT_EQ(run, 1);
    EXPECT_EQ(first, 1) << "the tables count apart";
    const auto listed = history.scalingRuns();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].machine, "First");
    EXPECT_EQ(listed[0].multiCoreScore, 25000.5);
    EXPECT_EQ(listed[0].maxThreads, 2);
    EXPECT_EQ(listed[0].scalingJson, "") << "the list leaves the documents out";
    EXPECT_FALSE(listed[1].trusted);
    const auto shown = history.scalingRun(second);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->scalingJson, "{\"scaling\": {}}");
    EXPECT_TRUE(history.userReferences().empty());
    EXPECT_TRUE(history.removeScalingRun(first));
    EXPECT_FALSE(history.removeScalingRun(first));
    EXPECT_FALSE(history.scalingRun(first));
    EXPECT_EQ(history.runs().size(), 1u) << "the runs are untouched";
}

TEST_F(ScalingStoreTest, TheRowOfAFinishedRun) {
    const ident::MachineFacts machine = test::machineOfDump("pentium4-northwood", 2000.0f);
    engine::ScalingPlan plan;
    plan.threadCounts = {1, 2};
    const struct {
        suites::ScalingOutcome outcome;
        bool trusted;
    } cases[] = {
        {test::scalingSample(0.9), true},
        {test::scalingSample(0.9, std::pair{1, 2}), false},
    };
    for (const auto& c : cases) {
        const reports::ScalingContext context{c.outcome,
                                              plan,
                                              engine::ThreadRequest{2, false},
                                              false,
                                              machine,
                                              {},
                                              {},
                                              {},
                                              platform::PriorityGrant::NotAsked,
                                              "veltrane-cli",
                                              ident::ClockFacts{}};
        const ScalingRunRow row = scalingRunRow(context, "desktop");
        EXPECT_EQ(row.origin, "desktop");
        EXPECT_EQ(row.maxThreads, 2);
        EXPECT_EQ(row.trusted, c.trusted);
        EXPECT_EQ(row.multiCoreScore > 0, c.trusted);
        EXPECT_NE(row.machine.find("2000 MHz"), std::string::npos) << row.machine;
        EXPECT_EQ(nlohmann::json::parse(row.scalingJson)["scaling"]["steps"].size(), 2u);
    }
}

}  // namespace
}  // namespace veltrane::store
