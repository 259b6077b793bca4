// Reference database files: any text gives complete records or none.
#include "FuzzCheck.h"
#include "engine/ReferenceDatabase.h"

using veltrane::fuzz::fuzzCheck;
namespace engine = veltrane::engine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = veltrane::fuzz::asText(data, size);
    for (const auto& line : engine::referenceLines(text)) {
        fuzzCheck(line.size() <= engine::kReferenceLineMax, "line longer than the maximum");
    }
    // Every text field is one piece of a line cut at the separators.
    for (const auto& e : engine::parseReferenceText(text)) {
        for (const std::string* field : {&e.cpuName, &e.l1Data, &e.l1Code, &e.l2Cache, &e.chipset,
                                         &e.fsb, &e.osName, &e.bitmapName}) {
            fuzzCheck(!field->empty(), "empty text field");
            fuzzCheck(field->size() <= engine::kReferenceLineMax, "text field longer than a line");
            fuzzCheck(field->find_first_of(std::string_view("-\n\0", 3)) == std::string::npos,
                      "text field holds a separator, a line feed or a NUL");
        }
    }
    // The promise of cIntValue: strtol, held to the int32 range.
    fuzzCheck(engine::cIntValue(text) == veltrane::fuzz::clampedStrtol(text),
              "cIntValue differs from strtol");
    return 0;
}
