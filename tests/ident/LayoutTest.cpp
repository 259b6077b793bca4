// Topology and every cache level from CPUID answers and fake system trees:
// a hybrid and a server Intel, AMD Zen processors, older processors; their
// notes where the system counts otherwise, damaged answers, the rows.
#include <gtest/gtest.h>

#include <functional>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "ident/ProcessorLayout.h"
#include "platform/Format.h"
#include "platform/ProcessorList.h"
#include "support/FakeAffinity.h"
#include "support/FakeCpu.h"
#include "support/FakeOsFactsSource.h"
#include "support/Joined.h"

namespace veltrane::ident {
namespace {

using platform::CpuidRegisters;

using test::FakeCpu;
using test::FakeOsFactsSource;
using test::joined;

// ---------------------------------------------------------------- CPUID

// A level of leaves 0xB, 0x1F and 0x80000026.
CpuidRegisters level(int type, int shift, int count, std::uint32_t eax = 0, std::uint32_t ebx = 0) {
    return {static_cast<std::uint32_t>(shift) | eax, static_cast<std::uint32_t>(count) | ebx,
            static_cast<std::uint32_t>(type) << 8, 0};
}

// A cache of leaves 4 and 0x8000001D: type 1 data, 2 code, 3 unified.
CpuidRegisters cache(int type, int level, int sizeKB, int ways, int line, int sharedBy) {
    const int sets = sizeKB * 1024 / (ways * line);
    return {static_cast<std::uint32_t>(type | level << 5 | (sharedBy - 1) << 14),
            static_cast<std::uint32_t>((ways - 1) << 22 | (line - 1)),
            static_cast<std::uint32_t>(sets - 1), 0};
}

FakeCpu& caches(FakeCpu& cpu, std::uint32_t leaf, const std::vector<CpuidRegisters>& list) {
    for (std::uint32_t i = 0; i < list.size(); ++i) {
        cpu.leaf(leaf, list[i], i);
    }
    return cpu;
}

constexpr std::uint32_t kHyperThreading = 1u << 28;
constexpr std::uint32_t kTopologyExtensions = 1u << 22;
constexpr std::uint32_t kCoresAsLogical = 1u << 1;

// An Intel processor whose leaf 1 counts 128 logical processors.
FakeCpu intel(std::uint32_t highestLeaf, std::uint32_t signature) {
    FakeCpu cpu;
    cpu.vendor("GenuineIntel", highestLeaf).leaf(1, {signature, 0x00800800, 0, kHyperThreading});
    return cpu;
}

// 6 performance cores with two threads and 8 efficiency cores; CPUID answered on a P-core.
FakeCpu intelHybrid() {
    FakeCpu cpu = intel(0x20, 0x906A3);
    cpu.leaf(7, {0, 0, 0, 1u << 15}).leaf(0x1A, {0x40000001, 0, 0, 0});
    cpu.leaf(0x1F, level(1, 1, 2)).leaf(0x1F, level(2, 7, 20), 1);
    return caches(cpu, 4,
                  {cache(1, 1, 48, 12, 64, 2), cache(2, 1, 32, 8, 64, 2),
                   cache(3, 2, 1280, 10, 64, 2), cache(3, 3, 24576, 12, 64, 128)});
}

// Two packages of 28 cores with two threads; leaf 0x1F names a die, leaf 0xB does not.
FakeCpu intelServer() {
    FakeCpu cpu = intel(0x1F, 0x806F8);
    cpu.leaf(0xB, level(1, 1, 2)).leaf(0xB, level(2, 8, 56), 1);
    cpu.leaf(0x1F, level(1, 1, 2)).leaf(0x1F, level(2, 6, 56), 1).leaf(0x1F, level(5, 7, 56), 2);
    return caches(cpu, 4,
                  {cache(1, 1, 48, 12, 64, 2), cache(2, 1, 32, 8, 64, 2),
                   cache(3, 2, 2048, 16, 64, 2), cache(3, 3, 107520, 15, 64, 112)});
}

// Eight cores with two threads, described by 0x8000001E and 0x8000001D; the
// older leaves say otherwise and are not read.
FakeCpu amdZen3() {
    FakeCpu cpu;
    cpu.vendor("AuthenticAMD", 0x10).leaf(1, {0xA20F10, 0x00100800, 0, kHyperThreading});
    cpu.leaf(0x80000000, {0x80000023, 0, 0, 0});
    cpu.leaf(0x80000001, {0, 0, kTopologyExtensions | kCoresAsLogical, 0});
    cpu.leaf(0x80000005, {0, 0, 0x10020140, 0x10020140}).leaf(0x80000006, {0, 0, 0x01006140, 0});
    cpu.leaf(0x80000008, {0, 0, 0x700F, 0}).leaf(0x8000001E, {0, 0x100, 0, 0});
    return caches(cpu, 0x8000001D,
                  {cache(1, 1, 32, 8, 64, 2), cache(2, 1, 32, 8, 64, 2), cache(3, 2, 512, 8, 64, 2),
                   cache(3, 3, 32768, 16, 64, 16)});
}

// A recorded Zen 5 of two core kinds, answering on a compact core; caches
// from the older leaves, L3 included.
FakeCpu amdZen5Compact() {
    FakeCpu cpu;
    cpu.vendor("AuthenticAMD", 0x10).leaf(1, {0xB40F40, 0, 0, 0});
    cpu.leaf(0x80000000, {0x80000026, 0, 0, 0});
    cpu.leaf(0x80000026, level(1, 1, 2, 1u << 30, 1u << 28));
    cpu.leaf(0x80000026, level(2, 4, 16), 1).leaf(0x80000026, level(4, 7, 24), 2);
    cpu.leaf(0x80000005, {0, 0, 0x300C0140, 0x20080140});
    cpu.leaf(0x80000006, {0, 0, 0x04006140, 0x01008140});
    return cpu.processors(24);
}

// A recorded dual core from before the topology leaves.
FakeCpu athlon64X2() {
    FakeCpu cpu;
    cpu.vendor("AuthenticAMD", 1).leaf(1, {0x20FB1, 0x00020800, 0, kHyperThreading});
    cpu.leaf(0x80000000, {0x80000006, 0, 0, 0}).leaf(0x80000001, {0, 0, kCoresAsLogical, 0});
    cpu.leaf(0x80000005, {0, 0, 0x40020140, 0x40020140}).leaf(0x80000006, {0, 0, 0x02008140, 0});
    return cpu.processors(2);
}

// A recorded single core with two threads and leaf-2 descriptors.
FakeCpu pentium4HT() {
    FakeCpu cpu;
    cpu.vendor("GenuineIntel", 2).leaf(1, {0xF29, 0x00020800, 0, kHyperThreading});
    // Descriptors in every register, TLB and trace-cache ones among them; EBX
    // has bit 31 set and so holds none (its 0x21 would be a 256 KB L2).
    cpu.leaf(2, {0x665B5001, 0x80000021, 0, 0x007B7040});
    return cpu.processors(2);
}

// ---------------------------------------------------------------- sysfs

const std::string kCpu = "/sys/devices/system/cpu/";

// Packages alike, each with cores of the given thread counts, numbered core by core.
FakeOsFactsSource systemOf(int packages, const std::vector<int>& coreThreads) {
    FakeOsFactsSource system;
    int cpu = 0;
    for (int package = 0; package < packages; ++package) {
        for (const int threads : coreThreads) {
            std::vector<int> siblings(static_cast<std::size_t>(threads));
            std::iota(siblings.begin(), siblings.end(), cpu);
            for (const int thread : siblings) {
                const std::string folder = kCpu + "cpu" + std::to_string(thread) + "/topology/";
                system.file(folder + "physical_package_id", std::to_string(package) + "\n");
                system.file(folder + "thread_siblings_list",
                            platform::processorListText(siblings) + "\n");
            }
            cpu += threads;
        }
    }
    return system.file(kCpu + "online", strprintf("0-%d\n", cpu - 1));
}

std::vector<int> cores(int count, int threads) {
    return std::vector<int>(static_cast<std::size_t>(count), threads);
}

struct ListedCache {
    const char* level;
    const char* type;
    const char* size;
    const char* ways;
    const char* shared;
};

// cpu0/cache/index0, index1... with 64-byte lines.
void listCaches(FakeOsFactsSource& system, const std::vector<ListedCache>& caches) {
    for (std::size_t i = 0; i < caches.size(); ++i) {
        const ListedCache& c = caches[i];
        const std::string folder = kCpu + "cpu0/cache/index" + std::to_string(i) + "/";
        system.file(folder + "level", c.level).file(folder + "type", std::string(c.type) + "\n");
        system.file(folder + "size", c.size).file(folder + "ways_of_associativity", c.ways);
        system.file(folder + "coherency_line_size", "64\n")
            .file(folder + "shared_cpu_list", c.shared);
    }
}

std::optional<FakeOsFactsSource> hybridSystem() {
    std::vector<int> coreThreads = cores(6, 2);
    coreThreads.resize(14, 1);
    auto system = systemOf(1, coreThreads);
    system.file("/sys/devices/cpu_core/cpus", "0-11\n")
        .file("/sys/devices/cpu_atom/cpus", "12-19\n");
    listCaches(system, {{"1", "Data", "48K", "12", "0-1"},
                        {"1", "Instruction", "32K", "8", "0-1"},
                        {"2", "Unified", "1280K", "10", "0-1"},
                        {"3", "Unified", "24576K\n", "12", "0-19"}});
    system.file(kCpu + "cpu0/cache/uevent", "");  // not a cache
    return system;
}

std::optional<FakeOsFactsSource> serverSystem() {
    auto system = systemOf(2, cores(28, 2));
    listCaches(system, {{"1", "Data", "48K", "12", "0-1"},
                        {"1", "Instruction", "32K", "8", "0-1"},
                        {"2", "Unified", "2048K", "16", "0-1"},
                        {"3", "Unified", "107520K", "15", "0-55\n"}});
    return system;
}

// A virtual machine of four single-thread cores on a processor whose CPUID
// describes eight cores with two threads; its L2 is listed smaller, L3 not at all.
std::optional<FakeOsFactsSource> virtualSystem() {
    auto system = systemOf(1, cores(4, 1));
    listCaches(system, {{"1", "Data", "32K", "8", "0"},
                        {"1", "Instruction", "32K", "8", "0"},
                        {"2", "Unified", "256K", "8", "0"}});
    return system;
}

std::optional<FakeOsFactsSource> recorded() {
    return std::nullopt;
}

// ---------------------------------------------------------------- the table

std::string summary(const Topology& t) {
    const CpuidTopology& c = t.cpuid;
    std::string text =
        strprintf("%d %d %d %d|%s %d %d %d", t.packages, t.cores, t.threads, t.threadsPerCore,
                  c.leaf.c_str(), c.threadsPerPackage, c.threadBits, c.packageBits);
    if (c.coreKind) {
        text += *c.coreKind == CoreKind::performance ? "|P" : "|E";
    }
    for (const auto& g : t.coreTypes) {
        text += strprintf(" %c%d/%d(%s)", g.kind == CoreKind::performance ? 'P' : 'E', g.cores,
                          g.threads, g.processors.c_str());
    }
    return text;
}

std::vector<std::string> cacheLines(const CacheLevels& levels) {
    std::vector<std::string> lines;
    for (const auto& c : levels.caches) {
        lines.push_back(strprintf("%s %s; %llu sets", cacheName(c).c_str(),
                                  cacheFiguresText(c).c_str(),
                                  static_cast<unsigned long long>(c.sets)));
    }
    return lines;
}

struct LayoutCase {
    const char* name;
    FakeCpu (*cpu)();
    std::optional<FakeOsFactsSource> (*system)();
    std::string topology;  // as summary() writes it
    std::string cacheSource;
    std::vector<std::string> caches;
    std::vector<std::string> notes;  // the topology's, then the caches'
};

const LayoutCase kLayouts[] = {
    {"Intel hybrid",
     intelHybrid,
     hybridSystem,
     "1 14 20 2|0x1F 20 1 7|P P6/12(0-11) E8/8(12-19)",
     "CPUID leaf 4",
     {"L1 data 48 KB, 12-way, 64-byte lines, shared by 2 threads; 64 sets",
      "L1 instruction 32 KB, 8-way, 64-byte lines, shared by 2 threads; 64 sets",
      "L2 unified 1280 KB, 10-way, 64-byte lines, shared by 2 threads; 2048 sets",
      "L3 unified 24 MB, 12-way, 64-byte lines, shared by 20 threads; 32768 sets"},
     {}},
    {"Intel server",
     intelServer,
     serverSystem,
     "2 56 112 2|0x1F 56 1 7",
     "CPUID leaf 4",
     {"L1 data 48 KB, 12-way, 64-byte lines, shared by 2 threads; 64 sets",
      "L1 instruction 32 KB, 8-way, 64-byte lines, shared by 2 threads; 64 sets",
      "L2 unified 2 MB, 16-way, 64-byte lines, shared by 2 threads; 2048 sets",
      "L3 unified 105 MB, 15-way, 64-byte lines, shared by 56 threads; 114688 sets"},
     {}},
    {"AMD Zen 3 in a virtual machine",
     amdZen3,
     virtualSystem,
     "1 4 4 2|0x8000001E 16 1 7",
     "CPUID leaf 0x8000001D",
     {"L1 data 32 KB, 8-way, 64-byte lines, shared by 2 threads; 64 sets",
      "L1 instruction 32 KB, 8-way, 64-byte lines, shared by 2 threads; 64 sets",
      "L2 unified 512 KB, 8-way, 64-byte lines, shared by 2 threads; 1024 sets",
      "L3 unified 32 MB, 16-way, 64-byte lines, shared by 16 threads; 32768 sets"},
     {"Threads per core: CPUID says 2, the system 1",
      "Threads per package: CPUID says 16, the system 4",
      "L1 data threads sharing it: CPUID says 2, the system 1",
      "L1 instruction threads sharing it: CPUID says 2, the system 1",
      "L2 unified size in KB: CPUID says 512, the system 256",
      "L2 unified threads sharing it: CPUID says 2, the system 1",
      "L3 unified: the system does not list it"}},
    {"AMD Zen 5 compact core, recorded",
     amdZen5Compact,
     recorded,
     "1 12 24 2|0x80000026 24 1 7|E",
     "CPUID leaves 0x80000005 and 0x80000006",
     {"L1 data 48 KB, 12-way, 64-byte lines; 64 sets",
      "L1 instruction 32 KB, 8-way, 64-byte lines; 64 sets",
      "L2 unified 1 MB, 8-way, 64-byte lines; 2048 sets",
      "L3 unified 32 MB, 16-way, 64-byte lines; 32768 sets"},
     {}},
    {"Athlon 64 X2, recorded",
     athlon64X2,
     recorded,
     "1 2 2 1|1 2 0 1",
     "CPUID leaves 0x80000005 and 0x80000006",
     {"L1 data 64 KB, 2-way, 64-byte lines; 512 sets",
      "L1 instruction 64 KB, 2-way, 64-byte lines; 512 sets",
      "L2 unified 512 KB, 16-way, 64-byte lines; 512 sets"},
     {}},
    {"Pentium 4 with two threads, recorded",
     pentium4HT,
     recorded,
     "1 1 2 2|1 2 1 1",
     "CPUID leaf 2",
     {"L1 data 8 KB, 4-way, 64-byte lines; 32 sets",
      "L2 unified 512 KB, 8-way, 64-byte lines; 1024 sets"},
     {}},
};

TEST(ProcessorLayout, TopologyAndCachesOfEachProcessorWithTheSystemsDifferencesAsNotes) {
    static ProcessorFacts facts = test::factsWithoutDefinition();
    for (const auto& c : kLayouts) {
        SCOPED_TRACE(c.name);
        const auto probe = c.cpu().probe();
        const ProcessorIdentity identity(probe, facts);
        const auto system = c.system();
        const platform::OsFactsSource* files = system ? &*system : nullptr;
        const Topology topo = topology(probe, files);
        const CacheLevels levels = cacheLevels(identity, files);
        EXPECT_EQ(summary(topo), c.topology);
        EXPECT_EQ(topo.countedBySystem, system.has_value());
        EXPECT_EQ(levels.source, c.cacheSource);
        EXPECT_EQ(cacheLines(levels), c.caches);
        auto notes = topo.notes;
        notes.insert(notes.end(), levels.notes.begin(), levels.notes.end());
        EXPECT_EQ(notes, c.notes);
    }
}

// Rows as label and value, one a line.
std::string rowsText(const std::vector<LabelledValue>& rows) {
    return joined(rows, [](auto& row) { return row.label + " " + row.value + "\n"; });
}

TEST(ProcessorLayout, RowsOfAHybridProcessorAndOfOneWhoseSystemCannotBeRead) {
    static ProcessorFacts facts = test::factsWithoutDefinition();
    const auto probe = intelHybrid().probe();
    const ProcessorIdentity identity(probe, facts);
    const auto system = hybridSystem();
    EXPECT_EQ(rowsText(topologyRows(topology(probe, &*system), {3, "0-1,4"})),
              "Packages: 1\nCores: 14\nThreads: 20\nThreads per core: 2\n"
              "Performance cores: 6, 12 threads (0-11)\nEfficiency cores: 8, 8 threads (12-19)\n"
              "CPUID layout: leaf 0x1F, 20 threads per package, APIC id bits 1 thread, 7 package\n"
              "Counted by: the system\nAllowed processors: 3 (0-1,4)\n");
    EXPECT_EQ(rowsText(cacheLevelRows(cacheLevels(identity, &*system))),
              "L1 data: 48 KB, 12-way, 64-byte lines, shared by 2 threads\n"
              "L1 instruction: 32 KB, 8-way, 64-byte lines, shared by 2 threads\n"
              "L2 unified: 1280 KB, 10-way, 64-byte lines, shared by 2 threads\n"
              "L3 unified: 24 MB, 12-way, 64-byte lines, shared by 20 threads\n"
              "Described by: CPUID leaf 4\n");
    // A system without its files: CPUID's counts, said so, and one kind of core named; one
    // core's CPUID bounds the cores of two kinds.
    const FakeOsFactsSource empty;
    EXPECT_EQ(rowsText(topologyRows(topology(probe, &empty), {1, "0"})),
              "Packages: 1\nCores: 10 to 20\nThreads: 20\nThreads per core: 2\n"
              "Core types: two; CPUID answered on a performance core\n"
              "CPUID layout: leaf 0x1F, 20 threads per package, APIC id bits 1 thread, 7 package\n"
              "Counted by: CPUID\nAllowed processors: 1 (0)\n"
              "Note: Cores of two kinds run different numbers of threads: one core's CPUID cannot "
              "count them\n"
              "Note: The system's processor list cannot be read: the counts are CPUID's\n");
}

TEST(ProcessorLayout, ARecordedProcessorIsNotDescribedByThisSystemsFiles) {
    static ProcessorFacts facts = test::factsWithoutDefinition();
    const auto probe = athlon64X2().probe();
    const ProcessorLayout layout = processorLayout(ProcessorIdentity(probe, facts), *hybridSystem(),
                                                   test::FakeAffinity(std::vector{0}));
    EXPECT_EQ(summary(layout.topology), "1 2 2 1|1 2 0 1");
    EXPECT_TRUE(layout.topology.notes.empty() && layout.caches.notes.empty());
    EXPECT_EQ(layout.allowed.list, "0-1");
}

TEST(ProcessorLayout, DamagedAnswersAndFilesGiveSafeCounts) {
    static ProcessorFacts facts = test::factsWithoutDefinition();
    // Every level of leaf 0xB answers: the walk stops at its bound.
    FakeCpu endless;
    endless.vendor("GenuineIntel", 0xB).leaf(1, {0x906A3, 0, 0, 0});
    for (std::uint32_t sub = 0; sub < 64; ++sub) {
        endless.leaf(0xB, level(1, 31, 0xFFFF), sub);
    }
    // Leaf 4 with every field at its largest.
    endless.leaf(4, {0xFFFFFFE3, 0xFFFFFFFF, 0xFFFFFFFF, 0});
    // A system whose topology files are damaged or missing.
    FakeOsFactsSource damaged = *serverSystem();
    damaged.file(kCpu + "cpu5/topology/thread_siblings_list", "five\n");
    damaged.file(kCpu + "cpu0/cache/index1/size", "lots\n");
    const auto probe = endless.probe();
    const Topology topo = topology(probe, &damaged);
    EXPECT_EQ(summary(topo), "1 1 112 65535|0xB 65535 31 31");
    EXPECT_EQ(topo.notes, std::vector<std::string>{
                              "The system's topology files cannot be read: packages and cores "
                              "are CPUID's"});
    const CacheLevels levels = cacheLevels(ProcessorIdentity(probe, facts), &damaged);
    ASSERT_EQ(levels.caches.size(), 1u);
    EXPECT_EQ(levels.caches[0].sizeKB, INT32_MAX);
    FakeOsFactsSource noList;
    noList.file(kCpu + "online", "0-3,x\n");
    EXPECT_EQ(topology(FakeCpu().probe(), &noList).threads, 1);
}

}  // namespace
}  // namespace veltrane::ident
