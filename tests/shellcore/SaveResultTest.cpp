// What "Save this result" allows, and the names it takes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "shellcore/SaveResult.h"
#include "store/OpenStore.h"

namespace veltrane::shell {
namespace {

store::RunRow run(bool fullRun, bool trusted, int suite = 3) {
    store::RunRow row;
    row.fullRun = fullRun;
    row.trusted = trusted;
    row.suite = suite;
    return row;
}

TEST(SaveResult, OnlyAKeptFullRunWhoseChecksPassedMayBeSaved) {
    const struct {
        KeptState state;
        store::RunRow run;
        const char* refusalStart;  // "" when it may be saved
    } cases[] = {
        {KeptState::Kept, run(true, true), ""},
        {KeptState::Kept, run(true, true, 4), ""},
        {KeptState::Kept, run(false, true), "Only a full run"},
        {KeptState::Kept, run(true, false), "A test failed the check"},
        {KeptState::Kept, run(true, true, 5), "This suite has no"},
        {KeptState::NoRun, run(true, true), "No run"},
        {KeptState::NoHistory, run(true, true), "The results history could not be opened"},
        {KeptState::Stopped, run(true, true), "A stopped run"},
        {KeptState::NotKept, run(true, true), "This result could not be kept"},
    };
    for (const auto& c : cases) {
        const std::string refusal = saveRefusal(c.state, c.run);
        EXPECT_EQ(refusal.substr(0, std::string(c.refusalStart).size()), c.refusalStart);
        EXPECT_EQ(refusal.empty(), std::string(c.refusalStart).empty()) << refusal;
    }
}

TEST(SaveResult, NamesThatWouldSplitOrVanishAreRefused) {
    const struct {
        const char* name;
        const char* problemStart;
    } cases[] = {
        {"Test Processor 1235 MHz", ""},
        {"Office PC (2 processors)", ""},
        {"", "Give the machine a name"},
        {" \t ", "Give the machine a name"},
        {"Ryzen-7", "A name cannot contain \"-\""},
        {"-", "A name cannot contain \"-\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(machineNameProblem(c.name).substr(0, std::string(c.problemStart).size()),
                  c.problemStart)
            << c.name;
        EXPECT_EQ(machineNameProblem(c.name).empty(), std::string(c.problemStart).empty())
            << c.name;
    }
}

// A history made afresh keeps a run, and saving it again renames its one entry.
TEST(SaveResult, AFreshHistoryKeepsARunAndOneEntryForIt) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("veltrane-save-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    const auto opening = store::openResultsStore((folder / "results.sqlite").string());
    ASSERT_NE(opening.store, nullptr) << opening.message;
    EXPECT_EQ(opening.message, "");
    store::ResultsStore& history = *opening.store;
    const std::int64_t runId = history.addRun(run(true, true));
    const std::int64_t first = history.addUserReference(runId, 3, "first");
    EXPECT_EQ(history.addUserReference(runId, 3, "renamed"), first);
    ASSERT_EQ(history.userReferences().size(), 1u);
    EXPECT_EQ(history.userReferences()[0].line, "renamed");
    EXPECT_TRUE(history.removeUserReference(first));
    EXPECT_TRUE(history.userReferences().empty());
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace veltrane::shell
