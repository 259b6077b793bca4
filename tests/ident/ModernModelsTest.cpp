// cpumodels.dat: the shipped file's names for well-known processors, the
// parser's handling of damaged lines, the narrowest record winning, loading by
// name, and the names of recorded processors.
#include <gtest/gtest.h>

#include <fstream>

#include "ident/ModernModels.h"
#include "ident/ProcessorIdentity.h"
#include "ident/TodaysNames.h"
#include "support/FakeCpu.h"
#include "support/ScratchFolder.h"

namespace veltrane::ident {
namespace {

const std::string kShippedFile = VELTRANE_SOURCE_DATA_DIR "/cpumodels.dat";

const ModelTable& shippedTable() {
    static const LoadedModelTable loaded = loadModelTableFrom(kShippedFile);
    return loaded.table;
}

std::string codenameOf(const ModelTable& table, const char* vendor, int family, int model,
                       int stepping) {
    const auto* record = table.find(vendor, family, model, stepping);
    return record != nullptr ? record->names.codename : "Unknow";
}

struct KnownProcessor {
    const char* vendor;
    int family;
    int model;
    int stepping;
    const char* codename;
};

const KnownProcessor kKnownProcessors[] = {
    {"GenuineIntel", 6, 0x0F, 6, "Merom / Conroe / Kentsfield / Woodcrest / Clovertown"},
    {"GenuineIntel", 6, 0x97, 2, "Alder Lake-S"},
    {"GenuineIntel", 6, 0xB7, 1, "Raptor Lake-S / Raptor Lake Refresh"},
    {"GenuineIntel", 6, 0xAA, 4, "Meteor Lake-H / Meteor Lake-U"},
    {"GenuineIntel", 6, 0x8F, 8, "Sapphire Rapids"},
    {"GenuineIntel", 6, 0xC6, 2, "Arrow Lake-S / Arrow Lake-HX"},
    {"GenuineIntel", 6, 0xBD, 1, "Lunar Lake"},
    {"GenuineIntel", 6, 0xAF, 3, "Sierra Forest"},
    {"GenuineIntel", 6, 0x5C, 9, "Apollo Lake"},
    // One model, several products told apart by stepping.
    {"GenuineIntel", 6, 0x9E, 0x9, "Kaby Lake-S / Kaby Lake-H / Kaby Lake-X"},
    {"GenuineIntel", 6, 0x9E, 0xA, "Coffee Lake-S / Coffee Lake-H / Coffee Lake Refresh"},
    {"GenuineIntel", 6, 0x55, 0x4, "Skylake-SP / Skylake-X / Skylake-W"},
    {"GenuineIntel", 6, 0x55, 0x7, "Cascade Lake-SP / Cascade Lake-X / Cascade Lake-W"},
    {"GenuineIntel", 6, 0x55, 0xB, "Cooper Lake"},
    {"AuthenticAMD", 0x0F, 0x2B, 1,
     "Venice / San Diego / Toledo / Manchester / Palermo / Denmark / "
     "Italy / Egypt"},
    {"AuthenticAMD", 0x10, 0x04, 2, "Deneb / Heka / Callisto / Shanghai"},
    {"AuthenticAMD", 0x15, 0x02, 0, "Vishera / Abu Dhabi / Seoul / Delhi"},
    {"AuthenticAMD", 0x17, 0x71, 0, "Matisse"},
    {"AuthenticAMD", 0x17, 0x01, 1, "Summit Ridge / Naples / Whitehaven"},
    {"AuthenticAMD", 0x19, 0x21, 0, "Vermeer"},
    {"AuthenticAMD", 0x19, 0x01, 1, "Milan / Milan-X"},
    {"AuthenticAMD", 0x19, 0x08, 2, "Chagall"},  // inside Milan's range, named on its own
    {"AuthenticAMD", 0x19, 0x61, 2, "Raphael / Dragon Range"},
    {"AuthenticAMD", 0x19, 0xA0, 1, "Bergamo / Siena"},
    {"AuthenticAMD", 0x1A, 0x44, 0, "Granite Ridge / Fire Range"},
    {"AuthenticAMD", 0x1A, 0x02, 1, "Turin"},
    {"AuthenticAMD", 0x1A, 0x11, 0, "Turin Dense"},
    {"HygonGenuine", 0x18, 0x00, 2, "Dhyana"},
    // Not in the file: an old model, a gap between ranges, a vendor asking for another's family.
    {"GenuineIntel", 6, 0x08, 6, "Unknow"},
    {"AuthenticAMD", 0x1A, 0x30, 0, "Unknow"},
    {"GenuineIntel", 0x19, 0x21, 0, "Unknow"},
    {"CentaurHauls", 6, 0x0F, 0, "Unknow"},
};

TEST(ShippedModelFile, NamesWellKnownProcessors) {
    for (const auto& cpu : kKnownProcessors) {
        EXPECT_EQ(codenameOf(shippedTable(), cpu.vendor, cpu.family, cpu.model, cpu.stepping),
                  cpu.codename)
            << cpu.vendor << " " << std::hex << cpu.family << "/" << cpu.model << "/"
            << cpu.stepping;
    }
}

TEST(ShippedModelFile, ParsesWithoutSkippedLinesAndIsFoundBesideThePrograms) {
    const auto loaded = loadModelTableFrom(kShippedFile);
    EXPECT_EQ(loaded.problem, "");
    EXPECT_EQ(loaded.table.skippedLines, 0u) << loaded.table.firstSkipped;
    std::ifstream file(kShippedFile);
    std::size_t recordLines = 0;
    for (std::string line; std::getline(file, line);) {
        recordLines += !line.empty() && line[0] != ';' ? 1u : 0u;
    }
    EXPECT_EQ(loaded.table.records.size(), recordLines);
    // The build copies the file beside the programs, where the lookup by name finds it.
    EXPECT_EQ(installedModelTable().problem, "");
    EXPECT_EQ(installedModelTable().table.records.size(), loaded.table.records.size());
}

struct LineCase {
    const char* line;
    bool kept;
};

const std::string kLongCodename(kModelFieldMaxLength + 1, 'x');
const std::string kLongLine =
    "GenuineIntel | 6 | 1 | * | Intel | " + std::string(kModelLineMaxLength, 'y') + " | u | p | s";

const LineCase kLines[] = {
    {"GenuineIntel | 6 | 0x97 | * | Intel | A | u | p | s", true},
    {"GenuineIntel|0x6|97|2|Intel|A|u|p|s\r", true},  // CR LF, no blanks, no 0x
    {"\tAuthenticAMD\t| 1a | 0x10 - 0x1F | 0-f | AMD | A | u | p | s", true},
    {"GenuineIntel | 6 | 0x97 | * | Intel | A | u | p", false},  // eight fields
    {"GenuineIntel | 6 | 0x97 | * | Intel | A | u | p | s | t", false},
    {"GenuineIntel | 6 | 0x97 | * | Intel |  | u | p | s", false},  // empty field
    {"GenuineInte | 6 | 0x97 | * | Intel | A | u | p | s", false},  // eleven-character vendor
    {"GenuineIntel | 0x1G | 0x97 | * | Intel | A | u | p | s", false},
    {"GenuineIntel | 0x10F | 0x97 | * | Intel | A | u | p | s", false},  // past 0xF + 0xFF
    {"GenuineIntel | 6 | 0x100 | * | Intel | A | u | p | s", false},
    {"GenuineIntel | 6 | 0x0097 | * | Intel | A | u | p | s", false},  // four digits
    {"GenuineIntel | 6 | 0x20-0x10 | * | Intel | A | u | p | s", false},
    {"GenuineIntel | 6 | 0x10- | * | Intel | A | u | p | s", false},
    {"GenuineIntel | 6 | -0x10 | * | Intel | A | u | p | s", false},
    {"GenuineIntel | 6 | 0x | * | Intel | A | u | p | s", false},
    {"GenuineIntel | 6 | 0x97 | 0x10 | Intel | A | u | p | s", false},
    {"GenuineIntel | 6 | 0x97 | ** | Intel | A | u | p | s", false},
    {"GenuineIntel | 6 | 0x97 | * | Intel | A\x1B[2J | u | p | s", false},
    {"GenuineIntel | 6 | 0x97 | * | Intel | Caf\xC3\xA9 | u | p | s", false},
    {kLongLine.c_str(), false},
};

TEST(ModelFileParser, KeepsGoodLinesAndSkipsDamagedOnes) {
    for (const auto& c : kLines) {
        const auto table = parseModelTable(std::string("; comment\n\n") + c.line);
        EXPECT_EQ(table.records.size(), c.kept ? 1u : 0u) << c.line;
        EXPECT_EQ(table.skippedLines, c.kept ? 0u : 1u) << c.line;
        EXPECT_EQ(table.firstSkipped.rfind("line 3: ", 0), c.kept ? std::string::npos : 0u)
            << table.firstSkipped;
    }
    const auto longField = "GenuineIntel | 6 | 1 | * | Intel | " + kLongCodename + " | u | p | s";
    EXPECT_EQ(parseModelTable(longField).skippedLines, 1u);
    const auto record = parseModelTable(kLines[2].line).records.at(0);
    EXPECT_EQ(std::tuple(record.vendor, record.family, record.model.first, record.model.last,
                         record.stepping.first, record.stepping.last, record.names.socket),
              std::tuple("AuthenticAMD", 0x1A, 0x10, 0x1F, 0, 0xF, "s"));
}

TEST(ModelFileParser, TheNarrowestModelThenSteppingRangeWinsAndTheFirstOnATie) {
    const auto table = parseModelTable(
        "GenuineIntel | 6 | * | * | I | any model | u | p | s\n"
        "GenuineIntel | 6 | 0x50-0x5F | * | I | model range | u | p | s\n"
        "GenuineIntel | 6 | 0x55 | 5-7 | I | stepping range | u | p | s\n"
        "GenuineIntel | 6 | 0x55 | 5-7 | I | later tie | u | p | s\n"
        "GenuineIntel | 6 | 0x55 | * | I | one model | u | p | s\n");
    const std::pair<int, int> modelAndStepping[] = {{0x10, 0}, {0x5A, 0}, {0x55, 0}, {0x55, 6}};
    const char* const expected[] = {"any model", "model range", "one model", "stepping range"};
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const auto [model, stepping] = modelAndStepping[i];
        EXPECT_EQ(codenameOf(table, "GenuineIntel", 6, model, stepping), expected[i]);
    }
    EXPECT_EQ(codenameOf(table, "GenuineIntel", 7, 0x55, 6), "Unknow");
}

TEST(ModelFileLoading, ReportsAMissingFileAndSkippedLines) {
    const test::ScratchFolder folder;
    const auto missing = loadModelTableFrom("no-such-models.dat");
    EXPECT_TRUE(missing.table.records.empty());
    EXPECT_EQ(missing.problem.rfind("no-such-models.dat: ", 0), 0u) << missing.problem;
    EXPECT_TRUE(missing.problem.ends_with("; today's processor names read \"Unknow\""));
    std::ofstream("damaged.dat") << "GenuineIntel | 6 | 0x97 | * | Intel | A | u | p | s\n"
                                 << "GenuineIntel | 6 | 0x97 | * | Intel\n"
                                 << "GenuineIntel | 6 | 0x97\n";
    const auto damaged = loadModelTableFrom("damaged.dat");
    EXPECT_EQ(damaged.table.records.size(), 1u);
    EXPECT_EQ(damaged.problem,
              "damaged.dat: 2 damaged line(s) skipped, the first at line 2: not nine non-empty "
              "fields of at most 80 characters");
}

// Leaf 0 and leaf 1 of a processor the program has no vendor number for.
const platform::CpuProbe& hygonProbe() {
    static const auto probe =
        test::FakeCpu().vendor("HygonGenuine", 1).signature(0x00900F02).probe();
    return probe;
}

TEST(TodaysNames, RecordedProcessorsGetTheirNamesAndOnlyNewOnesBeyondTheDefinitionFile) {
    struct Case {
        std::shared_ptr<const platform::CpuProbe> probe;
        const char* names;  // manufacturer|codename|microarchitecture|process|socket
        bool beyondDefinitionFile;
    };
    const Case cases[] = {
        {test::recordedProbe("zen5-virtual"), "AMD|Turin|Zen 5|TSMC N4P + N6|SP5", true},
        {test::recordedProbe("corei7-coffeelake"),
         "Intel|Coffee Lake-S / Coffee Lake-H / Coffee Lake Refresh|Skylake|14 nm|"
         "LGA1151 / BGA1440",
         true},
        {borrowed(hygonProbe()), "Hygon|Dhyana|Zen|14 nm|SP3", true},
        {test::recordedProbe("pentium3-coppermine"), "Unknow|Unknow|Unknow|Unknow|Unknow", false},
    };
    for (const auto& c : cases) {
        ProcessorFacts facts = test::factsWithoutDefinition();
        const ProcessorIdentity identity(*c.probe, facts);
        const auto names = todaysNames(identity, shippedTable());
        EXPECT_EQ(names.manufacturer + "|" + names.codename + "|" + names.microarchitecture + "|" +
                      names.process + "|" + names.socket,
                  c.names);
        const auto beyond = namesBeyondDefinitionFile(identity, shippedTable());
        EXPECT_EQ(beyond.has_value(), c.beyondDefinitionFile) << c.names;
        EXPECT_TRUE(!beyond || *beyond == names);
    }
}

}  // namespace
}  // namespace veltrane::ident
