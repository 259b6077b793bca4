// Text files, data files, the tick and threads; the last two on the real clock and scheduler.
#include <gtest/gtest.h>
#include <sched.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>

#include "platform/DataFiles.h"
#include "platform/TextFile.h"
#include "platform/Threads.h"
#include "platform/Tick.h"

namespace veltrane::platform {
namespace {

namespace fs = std::filesystem;

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("veltrane-textfile-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
    }
    void TearDown() override {
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder_);
    }
    std::string path(const char* name) const { return (folder_ / name).string(); }

    fs::path folder_;
};

TEST_F(TextFileTest, WritesReplacesLeavingNoTemporaryAndAFailedWriteKeepsTheOldFile) {
    ASSERT_EQ(writeTextFileAtomically(path("a.txt"), "first"), "");
    ASSERT_EQ(writeTextFileAtomically(path("a.txt"), "second\n"), "");
    const auto read = readTextFile(path("a.txt"));
    EXPECT_EQ(read.content, "second\n") << read.error;
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), 1);
    EXPECT_EQ(fs::status(path("a.txt")).permissions() & fs::perms::others_read,
              fs::perms::others_read);
    ASSERT_EQ(writeTextFileAtomically(path("keep.txt"), "old"), "");
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    // root still writes into a read-only folder; into a missing one nobody does
    const auto target = ::geteuid() == 0 ? path("missing/keep.txt") : path("keep.txt");
    EXPECT_NE(writeTextFileAtomically(target, "new"), "");
    EXPECT_EQ(readTextFile(path("keep.txt")).content, "old");
}

TEST_F(TextFileTest, ReadRefusesMissingAndOversizedFiles) {
    EXPECT_FALSE(readTextFile(path("none.txt")).ok());
    { std::ofstream(path("big.txt")) << std::string(100, 'x'); }
    const auto read = readTextFile(path("big.txt"), 99);
    EXPECT_FALSE(read.ok() || !read.content.empty());
    EXPECT_TRUE(readTextFile(path("big.txt"), 100).ok());
}

TEST(DataFiles, LooksInTheCurrentFolderFirstThenBesideTheProgram) {
    const std::string name = "veltrane-datafile-" + std::to_string(::getpid()) + ".dat";
    EXPECT_EQ(dataFileCandidates(name).at(1),
              (fs::read_symlink("/proc/self/exe").parent_path() / name).string());
    EXPECT_FALSE(findDataFile(name).has_value());
    { std::ofstream(name) << "x"; }
    EXPECT_EQ(findDataFile(name), name);
    fs::remove(name);
}

TEST(TickAndThreads, TickAdvancesWithSleepIdleThreadsRunIdleTimeCriticalIsAnswered) {
    const std::uint32_t before = timeGetTime();
    EXPECT_LT(before, 10u * 60u * 1000u);  // a test binary is minutes old at most
    sleepMs(20);
    EXPECT_GE(systemTicks().now() - before, 19u);
    std::atomic<int> policy{-1};
    startThread(ThreadPriority::Idle, [&] { policy = sched_getscheduler(0); }).join();
    EXPECT_EQ(policy.load(), SCHED_IDLE);
    startThread(ThreadPriority::TimeCritical, [&] { policy = -2; }).join();
    EXPECT_EQ(policy.load(), -2);
    EXPECT_NE(std::string(timeCriticalGrantText(timeCriticalGrant())), "");
}

}  // namespace
}  // namespace veltrane::platform
