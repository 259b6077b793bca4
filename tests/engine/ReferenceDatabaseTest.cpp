// Reference lists: their lines and numbers, the five files, and the rows that spell an entry out.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "engine/ReferenceDatabase.h"
#include "engine/ReferenceDetails.h"
#include "platform/Format.h"
#include "platform/TextFile.h"
#include "support/Joined.h"

namespace veltrane::engine {
namespace {

const std::string kExample =
    "CPU X 1400-64 KB-32 KB-256 KB-Chipset Y-133 MHz-OS Z-1500-1200-1300-1250-1350-2100-900-"
    "1050.5-980.25-PICTURE";
const std::string kExampleFields =
    "CPU X 1400|64 KB|32 KB|256 KB|Chipset Y|133 MHz|OS Z|1500|1200|1300|1250|1350|2100|900|"
    "1050.5|980.25|PICTURE";

// Every field of an entry in file order, joined by '|'.
std::string fields(const std::optional<ReferenceEntry>& e) {
    if (!e) {
        return "no record";
    }
    return e->cpuName + "|" + e->l1Data + "|" + e->l1Code + "|" + e->l2Cache + "|" + e->chipset +
           "|" + e->fsb + "|" + e->osName + "|" +
           strprintf("%d|%d|%d|%d|%d|%g|%g|%g|%g|", e->overall, e->alu, e->fpu, e->fpuSingle,
                     e->fpuDouble, e->mips, e->mflops, e->ramAlu, e->ramFpu) +
           e->bitmapName;
}

std::string referenceDataPath(const std::string& name) {
    return std::string(VELTRANE_TEST_DATA_DIR) + "/reference/" + name;
}

// Loads the test data files, noting the names asked for; `missing` cannot be read.
ReferenceLoad loadTestFiles(std::vector<std::string>& asked, const std::string& missing = "") {
    return loadReferenceDatabase([&](const std::string& name) -> std::optional<std::string> {
        asked.push_back(name);
        auto read = platform::readTextFile(referenceDataPath(name));
        return read.ok() && name != missing ? std::optional(read.content) : std::nullopt;
    });
}

TEST(ReferenceLine, SeventeenFieldsSplitAtEveryRunOfMinusesMakeARecord) {
    std::string doubled = kExample;
    doubled.replace(doubled.find("-1500-"), 6, "--1500-");  // a minus before a number is no sign
    const std::pair<std::string, std::string> cases[] = {
        {kExample, kExampleFields},
        {"--" + kExample, kExampleFields},
        {doubled, kExampleFields},
        {kExample + std::string("\0-EXTRA", 7), kExampleFields},  // a line ends at a NUL
        {std::string("CPU\0", 4) + kExample, "no record"},
        // A minus inside a text field shifts the later fields: "OS Z" reads as 0.
        {"CPU X-1400" + kExample.substr(10),
         "CPU X|1400|64 KB|32 KB|256 KB|Chipset Y|133 MHz|0|1500|1200|1300|1250|1350|2100|900|"
         "1050.5|980.25"},
        {kExample.substr(0, kExample.rfind('-')), "no record"},
        {"a-b-c-d-e-f-g-1-2-3-4-5-6-7-8----------", "no record"},
        // Beyond the float range a bandwidth holds infinity.
        {"a-b-c-d-e-f-g-1-2-3-4-5-6-7-1e300--2e300-h", "a|b|c|d|e|f|g|1|2|3|4|5|6|7|inf|inf|h"},
    };
    for (const auto& [line, want] : cases) {
        EXPECT_EQ(fields(parseReferenceLine(line)), want) << line;
    }
}

TEST(ReferenceConversions, NumbersReadLikeAtoiAndAtofWhateverTheLocale) {
    std::string ints;
    for (const char* text : {"-12", " \t+7x", "1500.9", "abc", "+-5", "- 5", "2147483647",
                             "2147483648", "-2147483648", "-99999999999"}) {
        ints += strprintf("%d ", cIntValue(text));
    }
    EXPECT_EQ(ints, "-12 7 1500 0 0 0 2147483647 2147483647 -2147483648 -2147483648 ");
    std::string floats;
    // out of range by the digits' own place, not only by the exponent's sign
    const std::string tiny = "0." + std::string(400, '0') + "1";
    const std::string huge = "1" + std::string(400, '0') + "e-10";
    for (const std::string text : {" -3.25e2 MB", "+.5", "1,5", "0x10", "0xg", "0x-1", "+-1",
                                   "1e999", "1e-999", "0x1p-2000", tiny.c_str(), huge.c_str()}) {
        floats += strprintf("%g ", cFloatValue(text));
    }
    EXPECT_EQ(floats, "-325 0.5 1 16 0 0 0 inf 0 0 0 inf ");
}

TEST(ReferenceLines, LinesEndAtALineFeedOrAfter199Characters) {
    const std::string head = kExample.substr(0, kExample.rfind('-') + 1);
    const std::string first = head + std::string(199 - head.size(), 'P');
    const std::string of198 = first.substr(0, 198);
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {first + kExample, {first, kExample}},
        {first + "\n" + kExample, {first, "", kExample}},  // the feed after 199 is an empty line
        {of198 + "\r\n" + kExample, {of198, kExample}},    // CR LF counts as one character
        {kExample + "\n", {kExample}},
        {"\n\n", {"", ""}},
        {"a\rb\r\nc\r", {"a\rb", "c"}},  // a carriage return inside a line is kept
    };
    for (const auto& [text, want] : cases) {
        EXPECT_EQ(referenceLines(text), want) << text;
    }
}

TEST(ReferenceLoad, TheFiveFilesAreReadInOrderIntoTheirSuitesListsOrNoneIfOneIsMissing) {
    std::vector<std::string> asked;
    const auto load = loadTestFiles(asked);
    ASSERT_TRUE(load.ok()) << load.error;
    EXPECT_EQ(asked, (std::vector<std::string>{"database1.dat", "database2.dat", "database3.dat",
                                               "database4.dat", "database5.dat"}));
    const auto& lists = load.database.lists;
    // By suite: database2.dat (final line feed), 3 (empty), 4 (opens with a short
    // line), 1 (CR LF, no final line end), 5.
    ASSERT_EQ((std::vector{lists[0].size(), lists[1].size(), lists[2].size(), lists[3].size(),
                           lists[4].size()}),
              (std::vector<std::size_t>{1, 0, 1, 2, 1}));
    EXPECT_EQ(lists[0][0].bitmapName + "|" + lists[2][0].bitmapName + "|" + lists[3][0].bitmapName +
                  "|" + lists[3][1].cpuName + "|" + lists[3][1].bitmapName + "|" +
                  lists[4][0].bitmapName,
              "P3|DURON|ATHLONXP|Pentium 4 2000 MHz|P4|ATHLONMP");
    // A missing file stops the load with the critical error.
    asked.clear();
    const auto failed = loadTestFiles(asked, "database3.dat");
    EXPECT_EQ(failed.error, "Critical error: cannot find file database.dat");
    EXPECT_EQ(std::tuple(failed.exitStatus, failed.failedFile, asked.size()),
              std::tuple(-1, std::string("database3.dat"), 3u));
    EXPECT_TRUE(failed.database.lists[3].empty());  // database1.dat was read, yet nothing is kept
}

// The current folder is searched first.
TEST(ReferenceLoad, TheInstalledReaderFindsTheFilesInTheCurrentFolder) {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(referenceDataPath(""));
    const auto load = loadReferenceDatabase();
    const auto missing = readInstalledReferenceFile("no-such-reference-file.dat");
    std::filesystem::current_path(previous);
    ASSERT_TRUE(load.ok()) << load.error;
    EXPECT_EQ(load.database.lists[3].size(), 2u);
    EXPECT_FALSE(missing);
}

// MIPS and MFLOPS are read as integers, the bandwidths as floats.
ReferenceEntry exampleEntry() {
    return *parseReferenceLine(
        "CPU X 1400-64 KB-32 KB-256 KB-Chipset Y-133 MHz-OS Z-1500-1200-1300-1250-1350-2100.9-"
        "900.6-1050.7-999.5001-PICTURE");
}

TEST(ReferenceDetails, SixteenRowsSpellOutTheEntryRoundingTheFloats) {
    auto entry = exampleEntry();
    EXPECT_EQ(
        test::joined(referenceDetailsRows(entry),
                     [](auto& row) { return row.item + "=" + row.description + "|"; }),
        "CPU Name and Frequency=CPU X 1400|L1 Data Cache=64 KB|L1 Instruction Cache=32 KB|"
        "L2 Cache=256 KB|Chipset Name=Chipset Y|FSB Frequency=133 MHz|OS Installed=OS Z|"
        "Overall Result=1500 CPUMarks|ALU Result=1200 ALUMarks|FPU Overall Result=1300 FPUMarks|"
        "FPU Result Details: Single Precision=1250 FPUMarks SP|"
        "FPU Result Details: Double Precision=1350 FPUMarks DP|"
        "RAM Bandwidth MB/s: ALU=1051 MB/s|RAM Bandwidth MB/s: FPU=1000 MB/s|"
        "System Estimated MIPS=2100 MIPS|System Estimated MFLOPS=900 MFLOPS|");
    entry.ramAlu = 1050.2f;
    entry.mips = 2100.7f;
    const auto rows = referenceDetailsRows(entry);
    EXPECT_EQ(rows[12].description + "|" + rows[14].description, "1050 MB/s|2101 MIPS");
}

TEST(ReferenceDetails, TheListIsChosenBySuiteNumberAndOutOfRangeGivesNoRows) {
    ReferenceDatabase database;
    for (std::size_t list = 0; list < database.lists.size(); ++list) {
        database.lists[list] = {exampleEntry(), exampleEntry()};
        database.lists[list][1].cpuName = "suite " + std::to_string(list);
    }
    EXPECT_EQ(referenceDetailsRows(database, 1, 3)[0].description, "suite 3");
    EXPECT_EQ(referenceDetailsRows(database, 1, 0)[0].description, "suite 0");
    EXPECT_EQ(referenceDetailsRows(database, 0, 4)[0].description, "CPU X 1400");
    database.lists[3].clear();
    for (const auto& [position, suite] :
         {std::pair{2, 2}, {-1, 2}, {0, -1}, {0, 5}, {0, 3}, {2147483647, 2}}) {
        EXPECT_TRUE(referenceDetailsRows(database, position, suite).empty())
            << position << " " << suite;
    }
}

TEST(ChartPageValues, EachPageGetsItsFiguresFromTheResult) {
    BenchResult r;
    r.suite = 1;
    float value = 0.75f;
    for (float* field : {&r.overallResult, &r.integerResult, &r.floatResult, &r.doubleResult,
                         &r.ramAluResult, &r.ramFpuResult, &r.mipsResult, &r.mflopsResult}) {
        *field = value += 100;
    }
    const auto v = chartPageValues(r);
    EXPECT_EQ(
        (std::vector<float>{v.overall, v.integer, v.fpu, v.ramAlu, v.ramFpu, v.mips, v.mflops}),
        (std::vector<float>{100.75f, 200.75f, 350.75f, 500.75f, 600.75f, 700.75f, 800.75f}));
    // The precision page truncates; the range guard is RunEnd's truncatedInt.
    EXPECT_EQ((std::vector<int>{v.floatSingle, v.floatDouble, v.suite}),
              (std::vector<int>{300, 400, 1}));
}

}  // namespace
}  // namespace veltrane::engine
