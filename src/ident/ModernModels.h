#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::ident {

// cpumodels.dat: names for the processors cpudef.dat's keys cannot express,
// one record per line, nine fields separated by '|':
//   vendor | family | model | stepping | manufacturer | codename |
//   microarchitecture | process | socket
// Family and model are the displayed values in hexadecimal ("0x1A", "6");
// model and stepping also take a range "lo-hi" or "*" for any value.
inline constexpr const char* kModelFileName = "cpumodels.dat";
// Larger files are refused, longer lines and fields skipped as damaged.
inline constexpr std::size_t kModelFileMaxBytes = 1u << 20;
inline constexpr std::size_t kModelLineMaxLength = 255;
inline constexpr std::size_t kModelFieldMaxLength = 80;

// What the file says about a processor; every field is "Unknow" for one it
// does not list.
struct ModernNames {
    std::string manufacturer = "Unknow";
    std::string codename = "Unknow";
    std::string microarchitecture = "Unknow";
    std::string process = "Unknow";
    std::string socket = "Unknow";

    bool operator==(const ModernNames&) const = default;
};

struct ValueRange {
    int first = 0;
    int last = 0;

    bool holds(int value) const { return value >= first && value <= last; }
    int width() const { return last - first; }
};

struct ModelRecord {
    std::string vendor;  // the 12 characters of CPUID leaf 0
    int family = 0;
    ValueRange model;
    ValueRange stepping;
    ModernNames names;
};

struct ModelTable {
    std::vector<ModelRecord> records;
    std::size_t skippedLines = 0;
    std::string firstSkipped;  // "line 12: ...", empty when none was skipped

    // The record with the narrowest model range, then the narrowest stepping
    // range, that holds the processor; the earlier one on a tie. Null if none.
    const ModelRecord* find(std::string_view vendor, int family, int model, int stepping) const;
};

// Comments (';'), blank lines and damaged lines are left out; any text parses.
ModelTable parseModelTable(std::string_view text);

}  // namespace veltrane::ident
