#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/TextFile.h"

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
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), {}));
    }

    fs::path folder_;
};

TEST_F(TextFileTest, WritesReplacesAndReadsBack) {
    ASSERT_EQ(writeTextFileAtomically(path("a.txt"), "first"), "");
    ASSERT_EQ(writeTextFileAtomically(path("a.txt"), "second\n"), "");
    const auto read = readTextFile(path("a.txt"));
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.content, "second\n");
    EXPECT_EQ(entries(), 1u);  // no temporary left behind
    EXPECT_EQ(fs::status(path("a.txt")).permissions() & fs::perms::others_read,
              fs::perms::others_read);
}

TEST_F(TextFileTest, FailedWriteReportsAndKeepsTheOldFile) {
    ASSERT_EQ(writeTextFileAtomically(path("keep.txt"), "old"), "");
    if (::geteuid() == 0) {
        // root writes into read-only folders; a missing folder fails for anyone
        EXPECT_NE(writeTextFileAtomically(path("missing/x.txt"), "new"), "");
    } else {
        fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_NE(writeTextFileAtomically(path("keep.txt"), "new"), "");
    }
    EXPECT_EQ(readTextFile(path("keep.txt")).content, "old");
}

TEST_F(TextFileTest, ReadRefusesMissingAndOversizedFiles) {
    EXPECT_FALSE(readTextFile(path("none.txt")).ok());
    { std::ofstream(path("big.txt")) << std::string(100, 'x'); }
    const auto read = readTextFile(path("big.txt"), 99);
    EXPECT_FALSE(read.ok());
    EXPECT_TRUE(read.content.empty());
    EXPECT_TRUE(readTextFile(path("big.txt"), 100).ok());
}

TEST(SplitLines, DropsLineEndsOfEitherKind) {
    const auto lines = splitLines("a\r\nb\n\nc");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "a");
    EXPECT_EQ(lines[1], "b");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "c");
    EXPECT_TRUE(splitLines("").empty());
    EXPECT_EQ(splitLines("x\n").size(), 1u);
}

}  // namespace
}  // namespace veltrane::platform
