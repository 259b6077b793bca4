#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "store/OpenStore.h"
#include "store/ResultsStore.h"
#include "support/ScratchFolder.h"

namespace veltrane::store {
namespace {

namespace fs = std::filesystem;

RunRow sampleRun(const std::string& machine, bool inLists = false) {
    RunRow run;
    run.finishedAt = "2026-12-07T05:30:00Z";
    run.origin = "cli";
    run.machine = machine;
    run.figures = {26020, 240840, 125396, 89504, 44233, 36413, 44642.5, 59829};
    run.referenceLine =
        machine + "-48 KB-32 KB-1024 KB-Chipset-Unknown-OS-1-2-3-4-5-6-7-8.0-9.0-CPU";
    run.runJson = "{\"run\": {}}";
    run.inLists = inLists;
    return run;
}

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class ResultsStoreTest : public ::testing::Test {
protected:
    test::ScratchFolder scratch;
    std::string path = (scratch.path / "history" / "results.sqlite").string();
};

TEST_F(ResultsStoreTest, KeepsRunsAndTheUsersEntries) {
    auto opening = openResultsStore(path);
    ASSERT_TRUE(opening.store) << opening.message;
    EXPECT_EQ(opening.message, "");
    ResultsStore& history = *opening.store;
    const auto first = history.addRun(sampleRun("First"));
    const auto ids = history.addRuns({sampleRun("Second", true), sampleRun("Third")});
    ASSERT_EQ(ids.size(), 2u);

    const auto runs = history.runs();
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].machine, "First");
    EXPECT_EQ(runs[0].runJson, "") << "the list leaves the records out";
    EXPECT_TRUE(runs[1].inLists);
    EXPECT_FALSE(runs[2].inLists);
    const auto kept = history.run(first);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->runJson, "{\"run\": {}}");
    EXPECT_DOUBLE_EQ(kept->figures.ramAlu, 44642.5);
    EXPECT_EQ(kept->referenceLine, sampleRun("First").referenceLine);
    EXPECT_FALSE(history.run(999));

    // Saving a run again renames its entry instead of adding a second one.
    history.addUserReference(first, 3, "Old name line");
    const auto entry = history.addUserReference(first, 3, "New name line");
    auto entries = history.userReferences();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].runId, ids[0]);
    EXPECT_EQ(entries[1].id, entry);
    EXPECT_EQ(entries[1].line, "New name line");

    // A removed entry leaves its run; a removed run takes its entry along.
    EXPECT_TRUE(history.removeUserReference(entry));
    EXPECT_FALSE(history.removeUserReference(entry));
    EXPECT_EQ(history.runs().size(), 3u);
    EXPECT_TRUE(history.removeRun(ids[0]));
    EXPECT_FALSE(history.removeRun(ids[0]));
    EXPECT_TRUE(history.userReferences().empty());
    EXPECT_EQ(history.runs().size(), 2u);
}

TEST_F(ResultsStoreTest, TheFileIsVersionedAndReadableByOtherTools) {
    { ASSERT_TRUE(openResultsStore(path).store); }
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    auto single = [db](const char* sql) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
        sqlite3_step(statement);
        std::string value(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        return value;
    };
    EXPECT_EQ(single("PRAGMA user_version"), std::to_string(kStoreSchemaVersion));
    EXPECT_EQ(single("PRAGMA journal_mode"), "wal");
    // A newer program's file is left alone: nothing is kept, nothing is lost.
    sqlite3_exec(db, "PRAGMA user_version = 99", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    const auto newer = openResultsStore(path);
    EXPECT_FALSE(newer.store);
    EXPECT_NE(newer.message.find("newer Veltrane (schema 99"), std::string::npos) << newer.message;
    EXPECT_TRUE(fs::exists(path));
}

TEST_F(ResultsStoreTest, ADamagedFileIsSetAsideAndAFreshOneStarted) {
    fs::create_directories(fs::path(path).parent_path());
    const std::string garbage(4096, '\x5a');
    std::ofstream(path, std::ios::binary) << garbage;
    const auto opening = openResultsStore(path);
    ASSERT_TRUE(opening.store) << opening.message;
    EXPECT_NE(opening.message.find("was damaged; it was kept as " + path + ".damaged-"),
              std::string::npos)
        << opening.message;
    EXPECT_TRUE(opening.store->runs().empty());
    opening.store->addRun(sampleRun("After"));
    int setAside = 0;
    for (const auto& file : fs::directory_iterator(fs::path(path).parent_path())) {
        if (file.path().filename().string().find(".damaged-") != std::string::npos &&
            file.path().extension() != ".sqlite-wal") {
            EXPECT_EQ(fileText(file.path()), garbage) << "the old bytes are kept as they were";
            ++setAside;
        }
    }
    EXPECT_EQ(setAside, 1);
}

TEST_F(ResultsStoreTest, APlaceThatTakesNoFileKeepsNothingAndSaysWhy) {
    for (const std::string where : {"/proc/veltrane/results.sqlite", "/proc/results.sqlite", ""}) {
        const auto opening = openResultsStore(where);
        EXPECT_FALSE(opening.store) << where;
        EXPECT_EQ(opening.message.rfind("The results history cannot be kept: ", 0), 0u)
            << opening.message;
    }
}

TEST_F(ResultsStoreTest, AFullDiskLosesOnlyTheNewRow) {
    auto opening = openResultsStore(path);
    ASSERT_TRUE(opening.store);
    ResultsStore& history = *opening.store;
    history.addRun(sampleRun("Kept"));
    history.setMaxPages(8);
    RunRow large = sampleRun("Too large");
    large.runJson.assign(64 * 1024, 'x');
    try {
        history.addRun(large);
        FAIL() << "a row past the limit was taken";
    } catch (const StoreError& error) {
        EXPECT_TRUE(error.full()) << error.what();
    }
    const auto runs = history.runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].machine, "Kept");
}

// Programs that start together on a new file all set it up, and every run
// they write lands.
TEST_F(ResultsStoreTest, ProgramsStartingTogetherOnANewFileAllLand) {
    constexpr int kRounds = 60;
    constexpr int kWriters = 6;
    constexpr int kRunsEach = 1;
    for (int round = 0; round < kRounds; ++round) {
        const std::string fresh = (scratch.path / ("round" + std::to_string(round))).string();
        auto writer = [&fresh](const std::string& name) {
            auto opening = openResultsStore(fresh);
            ASSERT_TRUE(opening.store) << opening.message;
            for (int i = 0; i < kRunsEach; ++i) {
                opening.store->addRun(sampleRun(name));
            }
        };
        std::vector<std::thread> writers;
        for (int w = 0; w < kWriters; ++w) {
            writers.emplace_back(writer, "W" + std::to_string(w));
        }
        for (auto& thread : writers) {
            thread.join();
        }
        EXPECT_EQ(openResultsStore(fresh).store->runs().size(), 1u * kWriters * kRunsEach)
            << "round " << round;
    }
}

}  // namespace
}  // namespace veltrane::store
