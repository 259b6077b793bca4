// CPUID dumps, text and output files, stop signals, data files, the tick and threads; the last two
// on the real clock and scheduler.
#include <gtest/gtest.h>
#include <sched.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "platform/CpuidDump.h"
#include "platform/DataFiles.h"
#include "platform/Format.h"
#include "platform/OutputFile.h"
#include "platform/StopSignals.h"
#include "platform/TextFile.h"
#include "platform/Threads.h"
#include "platform/Tick.h"
#include "support/FakeCpu.h"
#include "support/ScratchFolder.h"

namespace veltrane::platform {
namespace {

namespace fs = std::filesystem;

TEST(CpuidDumpParse, ReadsLeavesCommentsProcessorCountAndXcr0AndWritesThemBack) {
    const auto dump = parseCpuidDump(
        "# a comment\r\n"
        "\n"
        "00000000 00000000 00000001 68747541 444D4163 69746e65\r\n"
        "  4 1 1c004122 1c0003f 3f 0\n"
        "xcr0 602E7\n"
        "processors 2\n");
    // Written back in the program's own form.
    const auto text = formatCpuidDump(dump);
    EXPECT_EQ(text,
              "# Veltrane CPUID dump\n# leaf    subleaf  eax      ebx      ecx      edx\n"
              "00000000 00000000 00000001 68747541 444d4163 69746e65\n"
              "00000004 00000001 1c004122 01c0003f 0000003f 00000000\n"
              "xcr0 00000000000602e7\nprocessors 2\n");
    EXPECT_EQ(RecordedCpuProbe(parseCpuidDump(text)).xcr0(), 0x602E7u);
    // A dump made before XCR0 was recorded has none.
    EXPECT_FALSE(RecordedCpuProbe(parseCpuidDump("0 0 1 2 3 4\n")).xcr0().has_value());
}

// What parsing gives: the error, or "accepted".
std::string errorOf(const char* text) {
    try {
        parseCpuidDump(text);
        return "accepted";
    } catch (const CpuidDumpError& error) {
        return error.what();
    }
}

TEST(CpuidDumpParse, RefusesDamagedInputWithTheLineNumber) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"0 0 1 2 3\n", "line 1: expected six hexadecimal words"},
        {"0 0 1 2 3 4\n0 0 5 6 7 8\n", "line 2: leaf 00000000 sub-leaf 00000000 is given twice"},
        {"0 0 1 2 3 123456789\n", "line 1: \"123456789\" is not a 32-bit hexadecimal number"},
        {"0 0 1 2 3 \x1b[2Jxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\n",
         "line 1: \"\\x1B[2Jxxxxxxxxxxxx...\" is not a 32-bit hexadecimal number"},
        {"0 0 1 2 3 4\nprocessors 0\n", "line 2: expected \"processors N\""},
        {"0 0 1 2 3 4\nprocessors 1\nprocessors 2\n", "line 3: the processor count is given twice"},
        {"0 0 1 2 3 4\nxcr0\n", "line 2: expected \"xcr0 X\" with X a 64-bit hexadecimal number"},
        {"xcr0 10000000000000000\n", "line 1: expected \"xcr0 X\""},
        {"xcr0 e7 0\n", "line 1: expected \"xcr0 X\""},
        {"xcr0 -7\n", "line 1: expected \"xcr0 X\""},
        {"xcr0 e7\nxcr0 e7\n", "line 2: xcr0 is given twice"},
        {"# nothing but comments\n", "no CPUID leaves"},
    };
    for (const auto& c : cases) {
        const auto error = errorOf(c.text);
        EXPECT_EQ(error.substr(0, std::string(c.expected).size()), c.expected) << c.text;
    }
}

// The leaves and sub-leaves a dump holds, as "leaf/subleaf ...".
std::string takenLeaves(const CpuidDump& dump) {
    std::string taken;
    for (const auto& [key, registers] : dump.leaves()) {
        taken += strprintf("%x/%x ", key.leaf, key.subleaf);
    }
    return taken;
}

TEST(CpuidDumpCapture, TakesEveryReportedLeafWithItsSubleavesAndXcr0) {
    auto intel = test::FakeCpu().vendor("GenuineIntel", 0x1F);
    intel.leaf(4, {0x121, 0, 0, 0}, 0).leaf(4, {0x143, 0, 0, 0}, 1).leaf(4, {0x163, 0, 0, 0}, 3);
    intel.leaf(7, {2, 0, 0, 0}, 0);
    intel.leaf(0xB, {0, 0, 0x100, 0}, 0).leaf(0xB, {0, 0, 0x201, 0}, 1);  // SMT, core, end
    intel.leaf(0xD, {0x207, 0, 0, 0}, 0).leaf(0xD, {0, 0, 0x100, 0}, 1);  // user 0-2, 9; PT 8
    intel.leaf(0x10, {0, 0xA, 0, 0}, 0);                                  // L3 and MBA
    intel.leaf(0x18, {2, 0, 0, 0}, 0).leaf(0x18, {0, 0, 0, 0x21}, 2).leaf(0x18, {0, 0, 0, 1}, 3);
    intel.leaf(0x80000000, {0x80000008, 0, 0, 0}).processors(4).xcr0(0xE7);
    auto amd = test::FakeCpu().vendor("AuthenticAMD", 0x10);
    amd.leaf(0x80000000, {0x80000026, 0, 0, 0});
    amd.leaf(0x8000001D, {0x121, 0, 0, 0}, 0).leaf(0x8000001D, {0x143, 0, 0, 0}, 1);
    amd.leaf(0x80000020, {0, 0x2, 0, 0}, 0);
    amd.leaf(0x80000026, {0, 0, 0x100, 0}, 0).leaf(0x80000026, {0, 0, 0x201, 0}, 1);
    const std::string lowExtended =
        "80000000/0 80000001/0 80000002/0 80000003/0 80000004/0 80000005/0 80000006/0 ";
    const struct {
        test::FakeCpu cpu;
        std::string taken;
    } cases[] = {
        // 4/2, 0xB/2 and 0x1F/0 end their lists; 0xD/2, /8 and /9 are the
        // components its masks name; 0x10/1 and /3 the resources.
        {intel,
         "0/0 1/0 2/0 3/0 4/0 4/1 4/2 5/0 6/0 7/0 7/1 7/2 8/0 9/0 a/0 b/0 b/1 b/2 c/0 d/0 d/1 d/2 "
         "d/8 d/9 e/0 f/0 10/0 10/1 10/3 11/0 12/0 12/1 12/2 13/0 14/0 15/0 16/0 17/0 18/0 18/1 "
         "18/2 19/0 1a/0 1b/0 1c/0 1d/0 1e/0 1f/0 " +
             lowExtended + "80000007/0 80000008/0 "},
        // Below leaf 2 and 0x80000006 the leaves the pages read are taken all the same.
        {test::FakeCpu().vendor("AuthenticAMD", 1), "0/0 1/0 2/0 " + lowExtended},
        {amd, "0/0 1/0 2/0 3/0 4/0 5/0 6/0 7/0 8/0 9/0 a/0 b/0 c/0 d/0 d/1 e/0 f/0 10/0 " +
                  lowExtended +
                  "80000007/0 80000008/0 80000009/0 8000000a/0 8000000b/0 8000000c/0 8000000d/0 "
                  "8000000e/0 8000000f/0 80000010/0 80000011/0 80000012/0 80000013/0 80000014/0 "
                  "80000015/0 80000016/0 80000017/0 80000018/0 80000019/0 8000001a/0 8000001b/0 "
                  "8000001c/0 8000001d/0 8000001d/1 8000001d/2 8000001e/0 8000001f/0 80000020/0 "
                  "80000020/1 80000021/0 80000022/0 80000023/0 80000024/0 80000025/0 80000026/0 "
                  "80000026/1 80000026/2 "},
    };
    for (const auto& c : cases) {
        const auto dump = parseCpuidDump(formatCpuidDump(captureCpuidDump(c.cpu.probe())));
        EXPECT_EQ(takenLeaves(dump), c.taken);
    }
    const auto text = formatCpuidDump(captureCpuidDump(intel.probe()));
    EXPECT_NE(text.find("00000018 00000002 00000000 00000000 00000000 00000021\n"),
              std::string::npos);
    EXPECT_TRUE(text.ends_with("xcr0 00000000000000e7\nprocessors 4\n"));
}

// Every answer all ones: the highest leaves and every list seem endless.
class EndlessCpu final : public CpuProbe {
public:
    CpuidRegisters cpuid(std::uint32_t, std::uint32_t) const override {
        return {~0u, ~0u, ~0u, ~0u};
    }
    std::uint64_t readTimeStampCounter() const override { return 0; }
};

TEST(CpuidDumpCapture, StopsAtItsBoundsWhateverTheProcessorClaims) {
    const auto dump = captureCpuidDump(EndlessCpu());
    std::map<std::uint32_t, std::size_t> subleaves;
    for (const auto& [key, registers] : dump.leaves()) {
        ++subleaves[key.leaf];
    }
    EXPECT_EQ(subleaves.rbegin()->first, 0x80000028u);
    EXPECT_EQ(subleaves.lower_bound(0x21)->first, 0x80000000u);
    for (const auto& [leaf, count] : subleaves) {
        EXPECT_LE(count, 64u) << std::hex << leaf;  // XSAVE's 64 components at most
    }
}

TEST(OutputFile, ReplacesAFileWholeKeepsTheOldOneOnFailureAndReadsBounded) {
    const veltrane::test::ScratchFolder scratch;
    const fs::path folder = scratch.path;
    const auto path = [&](const char* name) { return (folder / name).string(); };
    EXPECT_EQ(writeOutputFile(path("a.txt"), "first"), "");
    EXPECT_EQ(writeOutputFile(path("a.txt"), "second\n"), "");
    const auto read = readTextFile(path("a.txt"));
    EXPECT_EQ(read.content, "second\n") << read.error;
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);
    EXPECT_EQ(fs::status(path("a.txt")).permissions() & fs::perms::others_read,
              fs::perms::others_read);
    // the temporary name is short, so a name near the limit still fits
    const std::string longName = std::string(250, 'x') + ".txt";
    EXPECT_EQ(writeOutputFile(longName, "long"), "");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 2);
    EXPECT_FALSE(readTextFile(path("none.txt")).ok());
    const auto big = readTextFile(path("a.txt"), 6);
    EXPECT_FALSE(big.ok() || !big.content.empty());
    EXPECT_TRUE(readTextFile(path("a.txt"), 7).ok());
    // A write that fails half-way (here: over the file size limit, which
    // binds root too) keeps the old file and leaves no temporary behind.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit saved = limit;
    limit.rlim_cur = 4;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const std::string error = writeOutputFile(path("a.txt"), "far too long");
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_EQ(error, std::strerror(EFBIG));
    EXPECT_EQ(readTextFile(path("a.txt")).content, "second\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 2);
    EXPECT_NE(writeOutputFile(path("missing/a.txt"), "new"), "");
}

TEST(OutputFile, FollowsLinksWritesDevicesAndFifosThroughAndRefusesTheRest) {
    const veltrane::test::ScratchFolder scratch;
    fs::create_symlink("target.txt", "link.txt");
    fs::create_symlink("/dev/null", "null");
    fs::create_symlink("loop-b", "loop-a");
    fs::create_symlink("loop-a", "loop-b");
    ASSERT_EQ(::mkfifo("fifo", 0600), 0);
    fs::create_directory("folder");

    EXPECT_EQ(writeOutputFile("link.txt", "through the link"), "");
    EXPECT_TRUE(fs::is_symlink("link.txt"));
    EXPECT_EQ(readTextFile("target.txt").content, "through the link");
    EXPECT_EQ(writeOutputFile("null", "gone"), "");
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(writeOutputFile("/dev/full", "x"), std::strerror(ENOSPC));
    EXPECT_EQ(writeOutputFile("fifo", "x"), "no program is reading from it");
    std::string fromFifo;
    std::thread reader([&] { fromFifo = readTextFile("fifo").content; });
    while (writeOutputFile("fifo", "piped") == "no program is reading from it") {
        std::this_thread::yield();
    }
    reader.join();
    EXPECT_EQ(fromFifo, "piped");
    EXPECT_TRUE(fs::is_fifo("fifo"));

    const struct {
        const char* path;
        OutputKind kind;
        const char* problem;
    } kCases[] = {
        {"new.txt", OutputKind::File, ""},
        {"/dev/stdout", OutputKind::StandardStream, ""},
        {"/dev//fd/2", OutputKind::StandardStream, ""},
        {"null", OutputKind::Stream, ""},
        {"folder", OutputKind::Refused, "it is a folder"},
        {"new/", OutputKind::Refused, "it is a folder"},
        {"", OutputKind::Refused, "no file name given"},
        {"loop-a", OutputKind::Refused, "too many levels of symbolic links"},
        {"target.txt/x", OutputKind::Refused, "Not a directory"},
    };
    for (const auto& c : kCases) {
        const auto target = resolveOutputTarget(c.path);
        EXPECT_EQ(target.kind, c.kind) << c.path;
        EXPECT_EQ(target.problem, c.problem) << c.path;
    }
    EXPECT_EQ(resolveOutputTarget("/dev/stdout").descriptor, 1);
    EXPECT_TRUE(isStreamOutput("null") && isStreamOutput("/dev/stderr"));
    EXPECT_FALSE(isStreamOutput("link.txt"));
    EXPECT_EQ(std::distance(fs::directory_iterator("."), {}), 7);  // no temporary left
    // In a shared folder, someone else's link is not followed (needs root to
    // make a link of another owner).
    if (::geteuid() == 0) {
        fs::permissions(".", fs::perms::all | fs::perms::sticky_bit);
        ASSERT_EQ(::lchown("link.txt", 65534, 65534), 0);
        EXPECT_EQ(writeOutputFile("link.txt", "planted"),
                  "it is a link in a shared folder, made by another user");
        EXPECT_EQ(readTextFile("target.txt").content, "through the link");
    }
}

TEST(StopSignals, TurnSignalsIntoARequestWhileTheScopeLivesOnly) {
    struct sigaction before {};
    sigaction(SIGTERM, nullptr, &before);
    {
        const StopSignalScope scope;
        EXPECT_FALSE(StopSignalScope::requested());
        ::raise(SIGTERM);
        EXPECT_TRUE(StopSignalScope::requested());
        EXPECT_EQ(StopSignalScope::exitStatus(), 128 + SIGTERM);
    }
    struct sigaction after {};
    sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
    const StopSignalScope next;  // a new scope starts with no request
    EXPECT_FALSE(StopSignalScope::requested());
    ::raise(SIGINT);
    EXPECT_EQ(StopSignalScope::exitStatus(), 130);
}

TEST(DataFiles, LooksInTheCurrentFolderFirstThenBesideTheProgram) {
    const std::string name = "veltrane-datafile-" + std::to_string(::getpid()) + ".dat";
    EXPECT_EQ(dataFileCandidates(name).at(1),
              (fs::read_symlink("/proc/self/exe").parent_path() / name).string());
    EXPECT_FALSE(findDataFile(name).has_value());
    std::string folders = "the current folder";
    for (std::size_t i = 1; i < dataFileCandidates(name).size(); ++i) {
        folders += ", " + fs::path(dataFileCandidates(name).at(i)).parent_path().string();
    }
    EXPECT_EQ(dataFileProblem(name, 1), name + " is in none of the folders searched: " + folders);
    { std::ofstream(name) << "xy"; }
    EXPECT_EQ(findDataFile(name), name);
    EXPECT_EQ(dataFileProblem(name, 2), "");
    EXPECT_EQ(dataFileProblem(name, 1), name + ": the file is larger than 1 bytes");
    fs::remove(name);
}

// An installed tree unpacked or moved elsewhere finds its own share/veltrane.
TEST(DataFiles, ThenTheShareFolderBesideTheProgramsBinFolder) {
    const auto candidates = dataFileCandidates("cpudef.dat");
    const auto exeFolder = fs::read_symlink("/proc/self/exe").parent_path();
    EXPECT_EQ(candidates.at(2), (exeFolder.parent_path() / "share/veltrane/cpudef.dat").string());
    EXPECT_EQ(candidates.back(), std::string(VELTRANE_TEST_INSTALL_DATA_DIR) + "/cpudef.dat");
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
