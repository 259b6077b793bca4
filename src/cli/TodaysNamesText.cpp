#include "cli/TodaysNamesText.h"

#include "cli/CpuInfoText.h"
#include "ident/TodaysNames.h"

namespace veltrane::cli {

std::string formatTodaysNames(const ident::ModernNames& names) {
    return formatLabelledPage("Today's names", ident::todaysNameRows(names));
}

}  // namespace veltrane::cli
