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

TEST(CpuidDumpParse, ReadsLeavesCommentsAndProcessorCountAndWritesThemBack) {
    const auto dump = parseCpuidDump(
        "# a comment\r\n"
        "\n"
        "00000000 00000000 00000001 68747541 444D4163 69746e65\r\n"
        "  4 1 1c004122 1c0003f 3f 0\n"
        "processors 2\n");
    // Written back in the program's own form.
    EXPECT_EQ(formatCpuidDump(dump),
              "# Veltrane CPUID dump\n# leaf    subleaf  eax      ebx      ecx      edx\n"
              "00000000 00000000 00000001 68747541 444d4163 69746e65\n"
              "00000004 00000001 1c004122 01c0003f 0000003f 00000000\nprocessors 2\n");
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
        {"# nothing but comments\n", "no CPUID leaves"},
    };
    for (const auto& c : cases) {
        const auto error = errorOf(c.text);
        EXPECT_EQ(error.substr(0, std::string(c.expected).size()), c.expected) << c.text;
    }
}

TEST(CpuidDumpCapture, TakesEveryLeafTheProgramReadsUpToTheLastCacheAndTlbSubleaves) {
    auto cpu = test::FakeCpu().vendor("GenuineIntel", 0x1F);
    cpu.leaf(4, {0x121, 0, 0, 0}, 0).leaf(4, {0x143, 0, 0, 0}, 1).leaf(4, {0x163, 0, 0, 0}, 3);
    cpu.leaf(0x18, {2, 0, 0, 0}, 0).leaf(0x18, {0, 0, 0, 0x21}, 2).leaf(0x18, {0, 0, 0, 1}, 3);
    cpu.processors(4);
    // 4/2 is the zero entry that ends the list; the dump keeps the answers and the count.
    const auto text = formatCpuidDump(captureCpuidDump(cpu.probe()));
    std::string taken;
    const auto dump = parseCpuidDump(text);
    for (const auto& [key, registers] : dump.leaves()) {
        taken += strprintf("%x/%x ", key.leaf, key.subleaf);
    }
    EXPECT_EQ(taken,
              "0/0 1/0 2/0 4/0 4/1 4/2 18/0 18/1 18/2 80000000/0 80000001/0 80000002/0 "
              "80000003/0 80000004/0 80000005/0 80000006/0 ");
    EXPECT_NE(text.find("00000018 00000002 00000000 00000000 00000000 00000021\n"),
              std::string::npos);
    EXPECT_TRUE(text.ends_with("processors 4\n"));
    EXPECT_FALSE(captureCpuidDump(test::FakeCpu().vendor("AuthenticAMD", 1).probe())
                     .find(4, 0)
                     .has_value());  // no leaf 4 below it
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
    EXPECT_EQ(dataFileProblem(name, 1),
              name + " is in none of the folders searched: the current folder, " +
                  fs::path(dataFileCandidates(name).at(1)).parent_path().string() + ", " +
                  fs::path(dataFileCandidates(name).at(2)).parent_path().string());
    { std::ofstream(name) << "xy"; }
    EXPECT_EQ(findDataFile(name), name);
    EXPECT_EQ(dataFileProblem(name, 2), "");
    EXPECT_EQ(dataFileProblem(name, 1), name + ": the file is larger than 1 bytes");
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
