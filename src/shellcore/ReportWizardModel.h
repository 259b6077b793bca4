#pragma once

#include <array>

#include "reports/ReportInputs.h"

namespace veltrane::shell {

// One section box of the report wizard: its control id, its text and the
// section it governs.
struct ReportBox {
    int id;
    const char* text;
    bool reports::ReportSections::*section;
};

// The section boxes in the order the wizard shows them. The advanced CPU box
// governs both feature sections, which the report keeps under one flag.
inline constexpr std::array<ReportBox, 5> kReportBoxes{{
    {1096, "Include Tester informations", &reports::ReportSections::tester},
    {1252, "Include System Informations", &reports::ReportSections::cpu},
    {1097, "Include Advanced CPU Infos", &reports::ReportSections::features},
    {1253, "Include OS Informations", &reports::ReportSections::os},
    {1092, "Include benchmarks results", &reports::ReportSections::benchmarks},
}};

using ReportBoxStates = std::array<bool, kReportBoxes.size()>;

// The sections the boxes ask for, `ticked` in the order of kReportBoxes.
reports::ReportSections sectionsFromBoxes(const ReportBoxStates& ticked);
// The box states that show `sections`.
ReportBoxStates boxesFromSections(const reports::ReportSections& sections);

}  // namespace veltrane::shell
