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

// `said` begins with `start`, and is empty exactly when `start` is.
bool saysFirst(const std::string& said, const std::string& start) {
    return said.rfind(start, 0) == 0 && said.empty() == start.empty();
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
        EXPECT_TRUE(saysFirst(saveRefusal(c.state, c.run), c.refusalStart)) << c.refusalStart;
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
        EXPECT_TRUE(saysFirst(machineNameProblem(c.name), c.problemStart)) << c.name;
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
