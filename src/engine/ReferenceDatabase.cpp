#include "engine/ReferenceDatabase.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/DataFiles.h"
#include "platform/TextFile.h"

namespace veltrane::engine {

namespace {

// Far above any list of machines; refuses a wrong file such as a log.
constexpr std::size_t kReferenceFileMaxBytes = 4u << 20;

bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string_view skipCSpace(std::string_view text) {
    while (!text.empty() && isCSpace(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

// Takes an optional leading sign off `text`; true when it was a minus.
bool takeSign(std::string_view& text) {
    if (text.empty() || (text.front() != '+' && text.front() != '-')) {
        return false;
    }
    const bool negative = text.front() == '-';
    text.remove_prefix(1);
    return negative;
}

// A number too large or too small for a double: atof's HUGE_VAL or zero,
// by where its first significant digit stands (in digits of its base, as a
// power of two for hexadecimal) plus its exponent.
double outOfRange(std::string_view matched, bool hex) {
    const char exponentMark = hex ? 'p' : 'e';
    const int digitBits = hex ? 4 : 1;  // a hexadecimal digit moves the point by 2^4
    long long scale = 0;
    bool significant = false;
    bool afterPoint = false;
    std::size_t i = 0;
    for (; i < matched.size() && (matched[i] | 0x20) != exponentMark; ++i) {
        if (matched[i] == '.') {
            afterPoint = true;
        } else if (matched[i] != '0' || significant) {
            scale += afterPoint ? 0 : digitBits;
            significant = true;
        } else if (afterPoint) {
            scale -= digitBits;
        }
    }
    std::string_view exponent = i < matched.size() ? matched.substr(i + 1) : std::string_view{};
    const bool negative = takeSign(exponent);
    long long power = 0;
    for (const char c : exponent) {
        power = std::min(power * 10 + (c - '0'), 1'000'000'000LL);
    }
    return scale + (negative ? -power : power) > 0 ? HUGE_VAL : 0.0;
}

// from_chars ignores the locale, so a decimal comma locale cannot cut "1050.5".
double unsignedFloatValue(std::string_view text) {
    auto format = std::chars_format::general;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') &&
        (isHexDigit(text[2]) || text[2] == '.')) {
        format = std::chars_format::hex;
        text.remove_prefix(2);
    }
    if (text.empty() || text.front() == '-' || text.front() == '+') {
        return 0.0;
    }
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, format);
    if (error == std::errc::result_out_of_range) {
        return outOfRange(text.substr(0, static_cast<std::size_t>(end - text.data())),
                          format == std::chars_format::hex);
    }
    return error == std::errc() ? value : 0.0;
}

// Beyond the float range the value becomes an infinity, as the conversion would.
float storedFloat(double value) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (std::isfinite(value) && std::fabs(value) > kMax) {
        return value < 0 ? -HUGE_VALF : HUGE_VALF;
    }
    return static_cast<float>(value);
}

// The text mode of the original platform: CR LF reads as LF. A CR that ends
// the file belongs to a line end whose LF is missing.
std::string textModeText(std::string_view raw) {
    std::string text;
    text.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const bool lineEndCr = raw[i] == '\r' && (i + 1 == raw.size() || raw[i + 1] == '\n');
        if (!lineEndCr) {
            text.push_back(raw[i]);
        }
    }
    return text;
}

ReferenceLoad failedLoad(const char* name) {
    ReferenceLoad load;
    load.error = kReferenceMissingMessage;
    load.exitStatus = kReferenceMissingExitStatus;
    load.failedFile = name;
    return load;
}

}  // namespace

std::int32_t cIntValue(std::string_view field) {
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    field = skipCSpace(field);
    const bool negative = takeSign(field);
    std::int64_t magnitude = 0;
    for (const char c : field) {
        if (!isDigit(c)) {
            break;
        }
        magnitude = std::min(magnitude * 10 + (c - '0'), kLimit);
    }
    const std::int64_t value = negative ? -magnitude : std::min(magnitude, kLimit - 1);
    return static_cast<std::int32_t>(value);
}

double cFloatValue(std::string_view field) {
    field = skipCSpace(field);
    const bool negative = takeSign(field);
    const double magnitude = unsignedFloatValue(field);
    return negative ? -magnitude : magnitude;
}

std::vector<std::string_view> splitReferenceFields(std::string_view line) {
    // The token splitter sees a C string: it ends at the first NUL.
    line = line.substr(0, line.find('\0'));
    std::vector<std::string_view> fields;
    while (!line.empty()) {
        const auto start = line.find_first_not_of('-');
        if (start == std::string_view::npos) {
            break;
        }
        line.remove_prefix(start);
        const auto end = std::min(line.find('-'), line.size());
        fields.push_back(line.substr(0, end));
        line.remove_prefix(end);
    }
    return fields;
}

std::vector<std::string> referenceLines(std::string_view raw) {
    const std::string text = textModeText(raw);
    std::vector<std::string> lines;
    std::string_view rest = text;
    while (!rest.empty()) {
        const auto window = rest.substr(0, kReferenceLineMax);
        const auto feed = window.find('\n');
        if (feed == std::string_view::npos) {
            lines.emplace_back(window);
            rest.remove_prefix(window.size());
        } else {
            lines.emplace_back(window.substr(0, feed));
            rest.remove_prefix(feed + 1);
        }
    }
    return lines;
}

std::optional<ReferenceEntry> parseReferenceLine(std::string_view line) {
    const auto f = splitReferenceFields(line);
    if (f.size() < kReferenceFieldCount) {
        return std::nullopt;
    }
    ReferenceEntry entry;
    entry.cpuName = f[0];
    entry.l1Data = f[1];
    entry.l1Code = f[2];
    entry.l2Cache = f[3];
    entry.chipset = f[4];
    entry.fsb = f[5];
    entry.osName = f[6];
    entry.overall = cIntValue(f[7]);
    entry.alu = cIntValue(f[8]);
    entry.fpu = cIntValue(f[9]);
    entry.fpuSingle = cIntValue(f[10]);
    entry.fpuDouble = cIntValue(f[11]);
    entry.mips = static_cast<float>(cIntValue(f[12]));
    entry.mflops = static_cast<float>(cIntValue(f[13]));
    entry.ramAlu = storedFloat(cFloatValue(f[14]));
    entry.ramFpu = storedFloat(cFloatValue(f[15]));
    entry.bitmapName = f[16];
    return entry;
}

std::vector<ReferenceEntry> parseReferenceText(std::string_view text) {
    std::vector<ReferenceEntry> entries;
    for (const auto& line : referenceLines(text)) {
        if (auto entry = parseReferenceLine(line)) {
            entries.push_back(std::move(*entry));
        }
    }
    return entries;
}

ReferenceLoad loadReferenceDatabase(const ReferenceFileReader& read) {
    ReferenceLoad load;
    for (const auto& file : kReferenceFiles) {
        const auto text = read(file.name);
        if (!text) {
            return failedLoad(file.name);
        }
        load.database.lists[static_cast<std::size_t>(file.listIndex)] = parseReferenceText(*text);
    }
    return load;
}

ReferenceLoad loadReferenceDatabase() {
    auto load = loadReferenceDatabase(readInstalledReferenceFile);
    if (!load.ok()) {
        load.detail = platform::dataFileProblem(load.failedFile, kReferenceFileMaxBytes);
    }
    return load;
}

std::optional<std::string> readInstalledReferenceFile(const std::string& name) {
    const auto path = platform::findDataFile(name);
    if (!path) {
        return std::nullopt;
    }
    auto read = platform::readTextFile(*path, kReferenceFileMaxBytes);
    if (!read.ok()) {
        return std::nullopt;
    }
    return std::move(read.content);
}

}  // namespace veltrane::engine
