#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::engine {

// The result of another machine, one line of a reference database file.
struct ReferenceEntry {
    std::int32_t overall = 0;
    std::int32_t alu = 0;
    std::int32_t fpu = 0;
    std::int32_t fpuSingle = 0;
    std::int32_t fpuDouble = 0;
    float ramAlu = 0;
    float ramFpu = 0;
    float mips = 0;
    float mflops = 0;
    std::string cpuName;
    std::string osName;
    std::string l1Data;
    std::string l1Code;
    std::string l2Cache;
    std::string chipset;
    std::string fsb;
    std::string bitmapName;
    // The user's own entry from the results history; 0 for a shipped one.
    std::int64_t userEntryId = 0;
};

inline constexpr int kReferenceListCount = 5;
inline constexpr std::size_t kReferenceFieldCount = 17;
// The longest line read as one record; the rest of a longer line is the next one.
inline constexpr std::size_t kReferenceLineMax = 199;

// Five lists indexed by suite number (0 SSE, 1 SSE2, 2 3DNow!, 3 standard,
// 4 SMP), each in file order.
struct ReferenceDatabase {
    std::array<std::vector<ReferenceEntry>, kReferenceListCount> lists;
};

struct ReferenceFile {
    const char* name;
    int listIndex;
};

// In the order they are read.
inline constexpr std::array<ReferenceFile, kReferenceListCount> kReferenceFiles{{
    {"database1.dat", 3},
    {"database2.dat", 0},
    {"database3.dat", 1},
    {"database4.dat", 2},
    {"database5.dat", 4},
}};

// The message names "database.dat" whichever file failed.
inline constexpr const char* kReferenceMissingMessage =
    "Critical error: cannot find file database.dat";
inline constexpr const char* kReferenceErrorCaption = "Veltrane error";
inline constexpr int kReferenceMissingExitStatus = -1;

struct ReferenceLoad {
    ReferenceDatabase database;  // empty when the load failed
    std::string error;           // kReferenceMissingMessage, or empty
    int exitStatus = 0;          // kReferenceMissingExitStatus on failure
    std::string failedFile;      // the bare name that could not be read
    std::string detail;          // where it was looked for, or why it was unreadable
    bool ok() const { return error.empty(); }
};

// Gives a file's whole text by bare name, or nothing when it cannot be opened.
using ReferenceFileReader = std::function<std::optional<std::string>(const std::string& name)>;

// The C library's conversions, independent of the process locale: leading
// white space, an optional sign, then digits (or a number) up to the first
// other character; no number gives 0. Integers saturate at the int32 range.
std::int32_t cIntValue(std::string_view field);
double cFloatValue(std::string_view field);

// Splits like strtok with the separator set "-": no empty fields.
std::vector<std::string_view> splitReferenceFields(std::string_view line);

// The lines as the program reads them: CR LF taken as LF, a line ends at its
// line feed or after kReferenceLineMax characters, nothing after a final line feed.
std::vector<std::string> referenceLines(std::string_view text);

// One record, or nothing for a line with fewer than seventeen fields.
// Fields beyond the seventeenth are ignored.
std::optional<ReferenceEntry> parseReferenceLine(std::string_view line);

// Every complete record of one file's text, in file order.
std::vector<ReferenceEntry> parseReferenceText(std::string_view text);

// Reads database1.dat to database5.dat through `read`; the first file that
// cannot be read stops the load with the error for the caller to show.
ReferenceLoad loadReferenceDatabase(const ReferenceFileReader& read);

// The same with the data files found by bare name (current folder, beside
// the program, installed data folder); a failure says where it looked.
ReferenceLoad loadReferenceDatabase();

// The installed reader: a missing, unreadable or oversized file gives nothing.
std::optional<std::string> readInstalledReferenceFile(const std::string& name);

}  // namespace veltrane::engine
