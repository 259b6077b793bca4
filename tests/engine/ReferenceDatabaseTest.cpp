#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <string>

#include "engine/ReferenceDatabase.h"
#include "platform/TextFile.h"

namespace veltrane::engine {
namespace {

const std::string kExample =
    "CPU X 1400-64 KB-64 KB-256 KB-Chipset Y-133 MHz-OS Z-1500-1200-1300-1250-1350-2100-900-"
    "1050.5-980.25-PICTURE";

std::string referenceDataPath(const std::string& name) {
    return std::string(VELTRANE_TEST_DATA_DIR) + "/reference/" + name;
}

std::optional<std::string> readTestFile(const std::string& name) {
    auto read = platform::readTextFile(referenceDataPath(name));
    return read.ok() ? std::optional<std::string>(read.content) : std::nullopt;
}

TEST(ReferenceLine, TheExampleRecordFillsEveryField) {
    const auto entry = parseReferenceLine(kExample);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->cpuName, "CPU X 1400");
    EXPECT_EQ(entry->l1Data, "64 KB");
    EXPECT_EQ(entry->l1Code, "64 KB");
    EXPECT_EQ(entry->l2Cache, "256 KB");
    EXPECT_EQ(entry->chipset, "Chipset Y");
    EXPECT_EQ(entry->fsb, "133 MHz");
    EXPECT_EQ(entry->osName, "OS Z");
    EXPECT_EQ(entry->overall, 1500);
    EXPECT_EQ(entry->alu, 1200);
    EXPECT_EQ(entry->fpu, 1300);
    EXPECT_EQ(entry->fpuSingle, 1250);
    EXPECT_EQ(entry->fpuDouble, 1350);
    EXPECT_EQ(entry->mips, 2100.0f);
    EXPECT_EQ(entry->mflops, 900.0f);
    EXPECT_EQ(entry->ramAlu, 1050.5f);
    EXPECT_EQ(entry->ramFpu, 980.25f);
    EXPECT_EQ(entry->bitmapName, "PICTURE");
}

TEST(ReferenceLine, LeadingAndDoubledSeparatorsGiveNoEmptyFields) {
    using Fields = std::vector<std::string_view>;
    EXPECT_EQ(splitReferenceFields("--A-B"), (Fields{"A", "B"}));
    EXPECT_EQ(splitReferenceFields("A---B-"), (Fields{"A", "B"}));
    EXPECT_EQ(splitReferenceFields(" A - B "), (Fields{" A ", " B "}));
    EXPECT_TRUE(splitReferenceFields("---").empty());
    EXPECT_TRUE(splitReferenceFields("").empty());

    const auto entry = parseReferenceLine("--" + kExample);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->cpuName, "CPU X 1400");
}

TEST(ReferenceLine, AMinusBeforeANumberIsASeparatorNotASign) {
    std::string line = kExample;
    line.replace(line.find("-1500-"), 6, "--1500-");
    const auto entry = parseReferenceLine(line);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->overall, 1500);
    EXPECT_EQ(entry->bitmapName, "PICTURE");
}

TEST(ReferenceLine, AMinusInsideATextFieldShiftsTheLaterFields) {
    std::string line = kExample;
    line.replace(0, 10, "CPU X-1400");
    const auto entry = parseReferenceLine(line);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->cpuName, "CPU X");
    EXPECT_EQ(entry->l1Data, "1400");
    EXPECT_EQ(entry->osName, "133 MHz");
    EXPECT_EQ(entry->overall, 0);  // "OS Z" has no digits
    EXPECT_EQ(entry->alu, 1500);
    EXPECT_EQ(entry->mips, 1350.0f);
    EXPECT_EQ(entry->ramAlu, 900.0f);
    EXPECT_EQ(entry->ramFpu, 1050.5f);
    EXPECT_EQ(entry->bitmapName, "980.25");  // the eighteenth field is ignored
}

TEST(ReferenceLine, ALineWithFewerThanSeventeenFieldsIsNoRecord) {
    EXPECT_FALSE(parseReferenceLine(""));
    EXPECT_FALSE(parseReferenceLine("K6-2 450 MHz"));
    EXPECT_FALSE(parseReferenceLine(kExample.substr(0, kExample.rfind('-'))));
    EXPECT_FALSE(parseReferenceLine("a-b-c-d-e-f-g-1-2-3-4-5-6-7-8----------"));
    EXPECT_TRUE(parseReferenceLine("a-b-c-d-e-f-g-1-2-3-4-5-6-7-8-9-h"));
}

TEST(ReferenceLine, ALineEndsAtANulLikeTheCString) {
    std::string line = kExample;
    line += std::string("\0-EXTRA", 7);
    const auto entry = parseReferenceLine(line);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->bitmapName, "PICTURE");
    EXPECT_FALSE(parseReferenceLine(std::string("CPU\0", 4) + kExample));
}

TEST(ReferenceConversions, IntegersReadLikeAtoi) {
    EXPECT_EQ(cIntValue("1500"), 1500);
    EXPECT_EQ(cIntValue("-12"), -12);
    EXPECT_EQ(cIntValue(" \t+7x"), 7);
    EXPECT_EQ(cIntValue("1500.9"), 1500);
    EXPECT_EQ(cIntValue("42 MHz"), 42);
    EXPECT_EQ(cIntValue("abc"), 0);
    EXPECT_EQ(cIntValue(""), 0);
    EXPECT_EQ(cIntValue("+-5"), 0);
    EXPECT_EQ(cIntValue("- 5"), 0);
    EXPECT_EQ(cIntValue("x12"), 0);
}

TEST(ReferenceConversions, IntegersOutOfRangeSaturate) {
    EXPECT_EQ(cIntValue("2147483647"), INT_MAX);
    EXPECT_EQ(cIntValue("2147483648"), INT_MAX);
    EXPECT_EQ(cIntValue("99999999999999999999999"), INT_MAX);
    EXPECT_EQ(cIntValue("-2147483648"), INT_MIN);
    EXPECT_EQ(cIntValue("-99999999999999999999999"), INT_MIN);
}

TEST(ReferenceConversions, NumbersReadLikeAtofWhateverTheLocale) {
    EXPECT_EQ(cFloatValue("1050.5"), 1050.5);
    EXPECT_EQ(cFloatValue(" -3.25e2 MB"), -325.0);
    EXPECT_EQ(cFloatValue("+.5"), 0.5);
    EXPECT_EQ(cFloatValue("1,5"), 1.0);
    EXPECT_EQ(cFloatValue("0x10"), 16.0);
    EXPECT_EQ(cFloatValue("0xg"), 0.0);
    EXPECT_EQ(cFloatValue("0x-1"), 0.0);
    EXPECT_EQ(cFloatValue("x"), 0.0);
    EXPECT_EQ(cFloatValue("+-1"), 0.0);
    EXPECT_EQ(cFloatValue(""), 0.0);
    EXPECT_EQ(cFloatValue("1e999"), HUGE_VAL);
    EXPECT_EQ(cFloatValue("-1e999"), -HUGE_VAL);
    EXPECT_EQ(cFloatValue("1e-999"), 0.0);
}

TEST(ReferenceConversions, ANumberBeyondTheFloatRangeIsStoredAsInfinity) {
    const auto entry = parseReferenceLine("a-b-c-d-e-f-g-1-2-3-4-5-6-7-1e300--2e300-h");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->ramAlu, HUGE_VALF);
    // "--2e300" is a doubled separator: the value is positive
    EXPECT_EQ(entry->ramFpu, HUGE_VALF);
}

TEST(ReferenceLines, ALongLineIsCutAfter199CharactersAndGoesOnAsTheNextLine) {
    std::string first = kExample.substr(0, kExample.rfind('-') + 1);
    first += std::string(199 - first.size(), 'P');
    std::string tail = "T-1-2-3-4-5-6-7-8-9-10-11-12-13-14-15-";
    tail += std::string(51 - tail.size(), 'Q');
    const std::string line = first + tail;
    ASSERT_EQ(line.size(), 250u);

    const auto lines = referenceLines(line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], first);
    EXPECT_EQ(lines[1], tail);

    const auto entries = parseReferenceText(line);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].bitmapName, std::string(199 - kExample.rfind('-') - 1, 'P'));
    EXPECT_EQ(entries[1].cpuName, "T");
    EXPECT_EQ(entries[1].bitmapName, std::string(51 - 38, 'Q'));
}

TEST(ReferenceLines, ALineOfExactly199CharactersLeavesItsLineFeedAsAnEmptyLine) {
    std::string first = kExample.substr(0, kExample.rfind('-') + 1);
    first += std::string(199 - first.size(), 'P');
    const auto lines = referenceLines(first + "\n" + kExample);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(parseReferenceText(first + "\n" + kExample).size(), 2u);
}

TEST(ReferenceLines, AnEmptyFinalLineAddsNoEntry) {
    EXPECT_EQ(referenceLines(kExample + "\n").size(), 1u);
    const auto entries = parseReferenceText(kExample + "\n" + kExample + "\n\n");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].bitmapName, "PICTURE");
    EXPECT_TRUE(parseReferenceText("").empty());
    EXPECT_TRUE(parseReferenceText("\n\n").empty());
}

TEST(ReferenceLines, ShortLinesAreSkippedAndTheOthersKeepFileOrder) {
    const auto entries =
        parseReferenceText("K6-2 450 MHz\n" + kExample + "\n\n" + "B" + kExample.substr(1));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].cpuName, "CPU X 1400");
    EXPECT_EQ(entries[1].cpuName, "BPU X 1400");
}

TEST(ReferenceLines, CarriageReturnsBeforeLineFeedsAreDropped) {
    const auto entries = parseReferenceText(kExample + "\r\n" + kExample + "\r\n");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].bitmapName, "PICTURE");
    EXPECT_EQ(entries[1].bitmapName, "PICTURE");
    EXPECT_EQ(parseReferenceText(kExample + "\r")[0].bitmapName, "PICTURE");
    // a carriage return inside a line is kept
    EXPECT_EQ(referenceLines("a\rb\r\nc"), (std::vector<std::string>{"a\rb", "c"}));
}

TEST(ReferenceLines, ACarriageReturnDoesNotCountTowardThe199Characters) {
    std::string first = kExample.substr(0, kExample.rfind('-') + 1);
    first += std::string(198 - first.size(), 'P');
    const auto lines = referenceLines(first + "\r\n" + kExample);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], first);
}

TEST(ReferenceLoad, TheFiveFilesFillTheListsOfTheirSuites) {
    const auto load = loadReferenceDatabase(readTestFile);
    ASSERT_TRUE(load.ok()) << load.error;
    EXPECT_EQ(load.exitStatus, 0);
    const auto& lists = load.database.lists;
    ASSERT_EQ(lists[3].size(), 2u);  // database1.dat, CR LF, no final line end
    EXPECT_EQ(lists[3][0].bitmapName, "ATHLONXP");
    EXPECT_EQ(lists[3][1].cpuName, "Pentium 4 2000 MHz");
    EXPECT_EQ(lists[3][1].bitmapName, "P4");
    ASSERT_EQ(lists[0].size(), 1u);  // database2.dat, final line feed
    EXPECT_EQ(lists[0][0].bitmapName, "P3");
    EXPECT_TRUE(lists[1].empty());   // database3.dat is empty
    ASSERT_EQ(lists[2].size(), 1u);  // database4.dat opens with a short line
    EXPECT_EQ(lists[2][0].ramAlu, 800.4f);
    ASSERT_EQ(lists[4].size(), 1u);
    EXPECT_EQ(lists[4][0].overall, 2900);
}

TEST(ReferenceLoad, FilesAreReadInTheirNumberedOrder) {
    std::vector<std::string> asked;
    loadReferenceDatabase([&](const std::string& name) -> std::optional<std::string> {
        asked.push_back(name);
        return std::string();
    });
    EXPECT_EQ(asked, (std::vector<std::string>{"database1.dat", "database2.dat", "database3.dat",
                                               "database4.dat", "database5.dat"}));
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
    EXPECT_STREQ(kReferenceErrorCaption, "Veltrane error");
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
