#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/DataFiles.h"

namespace veltrane::platform {
namespace {

namespace fs = std::filesystem;

TEST(DataFiles, LooksInTheCurrentFolderFirstThenBesideTheProgramThenTheInstallFolder) {
    const auto candidates = dataFileCandidates("cpudef.dat");
    ASSERT_EQ(candidates.size(), 3u);
    EXPECT_EQ(candidates[0], "cpudef.dat");
    EXPECT_EQ(fs::path(candidates[1]).parent_path(),
              fs::read_symlink("/proc/self/exe").parent_path());
    EXPECT_EQ(fs::path(candidates[2]).filename(), "cpudef.dat");
    EXPECT_EQ(fs::path(candidates[2]).parent_path().filename(), "veltrane");
}

TEST(DataFiles, FindsAFileInTheCurrentFolder) {
    const std::string name = "veltrane-datafile-" + std::to_string(::getpid()) + ".dat";
    EXPECT_FALSE(findDataFile(name).has_value());
    { std::ofstream(name) << "x"; }
    EXPECT_EQ(findDataFile(name), name);
    fs::remove(name);
}

}  // namespace
}  // namespace veltrane::platform
