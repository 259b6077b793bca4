// Reference database files: any text gives complete records or none.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "engine/ReferenceDatabase.h"

namespace {

using veltrane::fuzz::fuzzCheck;
namespace engine = veltrane::engine;

// What strtol gives, held to the int32 range: the promise of cIntValue.
std::int32_t clampedStrtol(std::string_view text) {
    const std::string cText(text.substr(0, text.find('\0')));
    const long value = std::strtol(cText.c_str(), nullptr, 10);
    if (value > INT32_MAX) {
        return INT32_MAX;
    }
    return value < INT32_MIN ? INT32_MIN : static_cast<std::int32_t>(value);
}

// Every text field is one piece of a line cut at the separators.
void checkTextField(const std::string& field) {
    fuzzCheck(!field.empty(), "empty text field");
    fuzzCheck(field.size() <= engine::kReferenceLineMax, "text field longer than a line");
    fuzzCheck(field.find_first_of(std::string_view("-\n\0", 3)) == std::string::npos,
              "text field holds a separator, a line feed or a NUL");
}

void checkEntry(const engine::ReferenceEntry& entry) {
    for (const std::string* field :
         {&entry.cpuName, &entry.l1Data, &entry.l1Code, &entry.l2Cache, &entry.chipset, &entry.fsb,
          &entry.osName, &entry.bitmapName}) {
        checkTextField(*field);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const auto& line : engine::referenceLines(text)) {
        fuzzCheck(line.size() <= engine::kReferenceLineMax, "line longer than the maximum");
    }
    for (const auto& entry : engine::parseReferenceText(text)) {
        checkEntry(entry);
    }
    fuzzCheck(engine::cIntValue(text) == clampedStrtol(text), "cIntValue differs from strtol");
    return 0;
}
