// cpumodels.dat: any text parses; every record kept is within the file's
// limits, and the lookup finds for each record's own keys a record at least
// as narrow that holds them.
#include <tuple>

#include "FuzzCheck.h"
#include "ident/ModernModels.h"

namespace ident = veltrane::ident;
using veltrane::fuzz::fuzzCheck;

namespace {

bool withinLimits(const ident::ModernNames& names) {
    for (const auto* text : {&names.manufacturer, &names.codename, &names.microarchitecture,
                             &names.process, &names.socket}) {
        if (text->empty() || text->size() > ident::kModelFieldMaxLength) {
            return false;
        }
    }
    return true;
}

bool withinLimits(const ident::ModelRecord& record) {
    const auto ordered = [](ident::ValueRange range, int max) {
        return range.first >= 0 && range.first <= range.last && range.last <= max;
    };
    return record.vendor.size() == 12 && record.family >= 0 && record.family <= 0x10E &&
           ordered(record.model, 0xFF) && ordered(record.stepping, 0xF) &&
           withinLimits(record.names);
}

auto widths(const ident::ModelRecord& record) {
    return std::tuple(record.model.width(), record.stepping.width());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto table = ident::parseModelTable(veltrane::fuzz::asText(data, size));
    fuzzCheck((table.skippedLines == 0) == table.firstSkipped.empty(),
              "the first skipped line is named exactly when a line was skipped");
    for (const auto& record : table.records) {
        fuzzCheck(withinLimits(record), "a record outside the file's limits was kept");
        const auto* found =
            table.find(record.vendor, record.family, record.model.first, record.stepping.first);
        fuzzCheck(found != nullptr, "a record's own keys found nothing");
        fuzzCheck(found->vendor == record.vendor && found->family == record.family &&
                      found->model.holds(record.model.first) &&
                      found->stepping.holds(record.stepping.first),
                  "the record found does not hold the keys");
        fuzzCheck(widths(*found) <= widths(record), "a wider record won");
    }
    return 0;
}
