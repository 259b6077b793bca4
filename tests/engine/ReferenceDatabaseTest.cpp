#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <string>

#include "engine/ReferenceDatabase.h"
#include "platform/Format.h"
#include "platform/TextFile.h"

namespace veltrane::engine {
namespace {

const std::string kExample =
    "CPU X 1400-64 KB-64 KB-256 KB-Chipset Y-133 MHz-OS Z-1500-1200-1300-1250-1350-2100-900-"
    "1050.5-980.25-PICTURE";
const std::string kExampleFields =
    "CPU X 1400|64 KB|64 KB|256 KB|Chipset Y|133 MHz|OS Z|1500|1200|1300|1250|1350|2100|900|"
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

std::optional<std::string> readTestFile(const std::string& name) {
    auto read = platform::readTextFile(referenceDataPath(name));
    return read.ok() ? std::optional<std::string>(read.content) : std::nullopt;
}

// The example's first sixteen fields, then a seventeenth of P up to 199 characters.
std::string lineOf199() {
    std::string line = kExample.substr(0, kExample.rfind('-') + 1);
    return line + std::string(199 - line.size(), 'P');
}

TEST(ReferenceLine, TheExampleRecordFillsEveryField) {
    EXPECT_EQ(fields(parseReferenceLine(kExample)), kExampleFields);
}

TEST(ReferenceLine, LeadingAndDoubledSeparatorsGiveNoEmptyFields) {
    using Fields = std::vector<std::string_view>;
    EXPECT_EQ(splitReferenceFields("--A-B"), (Fields{"A", "B"}));
    EXPECT_EQ(splitReferenceFields("A---B-"), (Fields{"A", "B"}));
    EXPECT_EQ(splitReferenceFields(" A - B "), (Fields{" A ", " B "}));
    EXPECT_TRUE(splitReferenceFields("---").empty());
    EXPECT_EQ(fields(parseReferenceLine("--" + kExample)), kExampleFields);
    // A minus before a number is one more separator, not a sign.
    std::string line = kExample;
    line.replace(line.find("-1500-"), 6, "--1500-");
    EXPECT_EQ(fields(parseReferenceLine(line)), kExampleFields);
}

TEST(ReferenceLine, AMinusInsideATextFieldShiftsTheLaterFields) {
    std::string line = kExample;
    line.replace(0, 10, "CPU X-1400");
    // "OS Z" reads as the number 0; the eighteenth field is ignored.
    EXPECT_EQ(fields(parseReferenceLine(line)),
              "CPU X|1400|64 KB|64 KB|256 KB|Chipset Y|133 MHz|0|1500|1200|1300|1250|1350|2100|"
              "900|1050.5|980.25");
}

TEST(ReferenceLine, ALineWithFewerThanSeventeenFieldsIsNoRecord) {
    EXPECT_FALSE(parseReferenceLine(""));
    EXPECT_FALSE(parseReferenceLine("K6-2 450 MHz"));
    EXPECT_FALSE(parseReferenceLine(kExample.substr(0, kExample.rfind('-'))));
    EXPECT_FALSE(parseReferenceLine("a-b-c-d-e-f-g-1-2-3-4-5-6-7-8----------"));
    EXPECT_TRUE(parseReferenceLine("a-b-c-d-e-f-g-1-2-3-4-5-6-7-8-9-h"));
    // A line ends at a NUL like the C string it was.
    EXPECT_EQ(fields(parseReferenceLine(kExample + std::string("\0-EXTRA", 7))), kExampleFields);
    EXPECT_FALSE(parseReferenceLine(std::string("CPU\0", 4) + kExample));
}

TEST(ReferenceConversions, NumbersReadLikeAtoiAndAtofWhateverTheLocale) {
    EXPECT_EQ(cIntValue("-12"), -12);
    EXPECT_EQ(cIntValue(" \t+7x"), 7);
    EXPECT_EQ(cIntValue("1500.9"), 1500);
    EXPECT_EQ(cIntValue("abc"), 0);
    EXPECT_EQ(cIntValue("+-5"), 0);
    EXPECT_EQ(cIntValue("- 5"), 0);
    EXPECT_EQ(cIntValue("2147483647"), INT_MAX);
    EXPECT_EQ(cIntValue("2147483648"), INT_MAX);  // out of range saturates
    EXPECT_EQ(cIntValue("-2147483648"), INT_MIN);
    EXPECT_EQ(cIntValue("-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(cFloatValue(" -3.25e2 MB"), -325.0);
    EXPECT_EQ(cFloatValue("+.5"), 0.5);
    EXPECT_EQ(cFloatValue("1,5"), 1.0);
    EXPECT_EQ(cFloatValue("0x10"), 16.0);
    EXPECT_EQ(cFloatValue("0xg"), 0.0);
    EXPECT_EQ(cFloatValue("0x-1"), 0.0);
    EXPECT_EQ(cFloatValue("+-1"), 0.0);
    EXPECT_EQ(cFloatValue("1e999"), HUGE_VAL);
    EXPECT_EQ(cFloatValue("1e-999"), 0.0);
    // Beyond the float range an entry holds infinity; "--2e300" is a doubled separator.
    const auto entry = parseReferenceLine("a-b-c-d-e-f-g-1-2-3-4-5-6-7-1e300--2e300-h");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->ramAlu, HUGE_VALF);
    EXPECT_EQ(entry->ramFpu, HUGE_VALF);
}

TEST(ReferenceLines, ALongLineIsCutAfter199CharactersAndGoesOnAsTheNextLine) {
    const std::string first = lineOf199();
    std::string tail = "T-1-2-3-4-5-6-7-8-9-10-11-12-13-14-15-";
    tail += std::string(51 - tail.size(), 'Q');
    ASSERT_EQ((first + tail).size(), 250u);
    EXPECT_EQ(referenceLines(first + tail), (std::vector<std::string>{first, tail}));
    const auto entries = parseReferenceText(first + tail);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].bitmapName, first.substr(kExample.rfind('-') + 1));
    EXPECT_EQ(entries[1].cpuName, "T");
    EXPECT_EQ(entries[1].bitmapName, std::string(13, 'Q'));
    // Exactly 199 characters leave the line feed as an empty line; a carriage
    // return does not count toward the 199.
    EXPECT_EQ(referenceLines(first + "\n" + kExample),
              (std::vector<std::string>{first, "", kExample}));
    EXPECT_EQ(parseReferenceText(first + "\n" + kExample).size(), 2u);
    const std::string of198 = first.substr(0, 198);
    EXPECT_EQ(referenceLines(of198 + "\r\n" + kExample),
              (std::vector<std::string>{of198, kExample}));
}

TEST(ReferenceLines, EmptyAndShortLinesAddNoEntryAndTheOthersKeepFileOrder) {
    EXPECT_EQ(referenceLines(kExample + "\n").size(), 1u);
    EXPECT_TRUE(parseReferenceText("\n\n").empty());
    const auto entries = parseReferenceText("K6-2 450 MHz\n" + kExample + "\n\n" + "B" +
                                            kExample.substr(1) + "\n\n");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].cpuName, "CPU X 1400");
    EXPECT_EQ(entries[1].cpuName, "BPU X 1400");
    EXPECT_EQ(entries[1].bitmapName, "PICTURE");
}

TEST(ReferenceLines, CarriageReturnsBeforeLineFeedsAreDropped) {
    const auto entries = parseReferenceText(kExample + "\r\n" + kExample + "\r");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].bitmapName, "PICTURE");
    EXPECT_EQ(entries[1].bitmapName, "PICTURE");
    // a carriage return inside a line is kept
    EXPECT_EQ(referenceLines("a\rb\r\nc"), (std::vector<std::string>{"a\rb", "c"}));
}

TEST(ReferenceLoad, TheFiveFilesAreReadInOrderIntoTheListsOfTheirSuites) {
    std::vector<std::string> asked;
    const auto load = loadReferenceDatabase([&](const std::string& name) {
        asked.push_back(name);
        return readTestFile(name);
    });
    ASSERT_TRUE(load.ok()) << load.error;
    EXPECT_EQ(load.exitStatus, 0);
    EXPECT_EQ(asked, (std::vector<std::string>{"database1.dat", "database2.dat", "database3.dat",
                                               "database4.dat", "database5.dat"}));
    const auto& lists = load.database.lists;
    std::vector<std::size_t> sizes;
    for (const auto& list : lists) {
        sizes.push_back(list.size());
    }
    // By suite: database2.dat (final line feed), 3 (empty), 4 (opens with a short
    // line), 1 (CR LF, no final line end), 5.
    ASSERT_EQ(sizes, (std::vector<std::size_t>{1, 0, 1, 2, 1}));
    EXPECT_EQ(lists[0][0].bitmapName + "|" + lists[3][0].bitmapName + "|" + lists[3][1].cpuName +
                  "|" + lists[3][1].bitmapName,
              "P3|ATHLONXP|Pentium 4 2000 MHz|P4");
    EXPECT_EQ(lists[2][0].ramAlu, 800.4f);
    EXPECT_EQ(lists[4][0].overall, 2900);
}

TEST(ReferenceLoad, AMissingFileStopsTheLoadWithTheCriticalError) {
    std::vector<std::string> asked;
    const auto load = loadReferenceDatabase([&](const std::string& name) {
        asked.push_back(name);
        return name == "database3.dat" ? std::nullopt : readTestFile(name);
    });
    EXPECT_FALSE(load.ok());
    EXPECT_EQ(load.error, "Critical error: cannot find file database.dat");
    EXPECT_EQ(load.exitStatus, -1);
    EXPECT_EQ(load.failedFile, "database3.dat");
    EXPECT_EQ(asked.size(), 3u);
    for (const auto& list : load.database.lists) {
        EXPECT_TRUE(list.empty());
    }
}

// Runs in a scratch folder of its own: the current folder is searched first.
TEST(ReferenceLoad, TheInstalledReaderFindsTheFilesInTheCurrentFolder) {
    namespace fs = std::filesystem;
    const fs::path scratch =
        fs::temp_directory_path() / ("veltrane-ref-" + std::to_string(getpid()));
    fs::create_directories(scratch);
    for (const auto& file : kReferenceFiles) {
        fs::copy_file(referenceDataPath(file.name), scratch / file.name,
                      fs::copy_options::overwrite_existing);
    }
    const auto previous = fs::current_path();
    fs::current_path(scratch);
    const auto load = loadReferenceDatabase();
    const auto missing = readInstalledReferenceFile("no-such-reference-file.dat");
    fs::current_path(previous);
    fs::remove_all(scratch);

    ASSERT_TRUE(load.ok()) << load.error;
    EXPECT_EQ(load.database.lists[3].size(), 2u);
    EXPECT_EQ(load.database.lists[4].size(), 1u);
    EXPECT_FALSE(missing);
}

}  // namespace
}  // namespace veltrane::engine
