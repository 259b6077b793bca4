#include "ident/PageBlocks.h"

#include <algorithm>

#include "ident/OsPage.h"

namespace veltrane::ident {

namespace {

constexpr std::size_t kUpperBlockRows = 4;
constexpr std::size_t kMemoryGauges = 3;

}  // namespace

PageBlocks pageBlocks(std::vector<LabelledValue> rows, std::size_t upper, std::size_t gauges) {
    upper = std::min(upper, rows.size());
    gauges = std::min(gauges, rows.size() - upper);
    const auto fieldsBegin = rows.begin() + static_cast<std::ptrdiff_t>(upper);
    const auto gaugesBegin = rows.end() - static_cast<std::ptrdiff_t>(gauges);
    PageBlocks blocks;
    blocks.upper.assign(rows.begin(), fieldsBegin);
    blocks.fields.assign(fieldsBegin, gaugesBegin);
    blocks.gauges.assign(gaugesBegin, rows.end());
    return blocks;
}

PageBlocks extendedCpuBlocks(const std::vector<LabelledValue>& rows) {
    return pageBlocks(rows, kUpperBlockRows, 0);
}

PageBlocks osPageBlocks(const OsInfo& os, const MemoryInfo& memory) {
    return pageBlocks(osPageRows(os, memory), kUpperBlockRows, kMemoryGauges);
}

}  // namespace veltrane::ident
