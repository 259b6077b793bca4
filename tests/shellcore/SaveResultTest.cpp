// What "Save this result" allows, and the names it takes.
#include <gtest/gtest.h>

#include "shellcore/SaveResult.h"

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

}  // namespace
}  // namespace veltrane::shell
