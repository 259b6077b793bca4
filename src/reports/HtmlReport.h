#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "reports/ReportInputs.h"

namespace veltrane::reports {

inline constexpr const char* kReportNotice =
    "Veltrane (c) the Veltrane developers. All rights reserved.";

// Text for an HTML page: & < > and " become entities, so nothing the user or
// the system supplies can open a tag or leave an attribute.
std::string htmlEscaped(std::string_view text);

// The "Data reported on ..." line.
std::string reportDateText(const platform::ClockTime& time);

// The whole page: header, the chosen sections in the order T C S X O B, footer.
std::string htmlReportText(const ReportInputs& inputs);

}  // namespace veltrane::reports
