#include "shellcore/ReportWizardModel.h"

namespace veltrane::shell {

reports::ReportSections sectionsFromBoxes(const ReportBoxStates& ticked) {
    reports::ReportSections sections;
    for (std::size_t i = 0; i < kReportBoxes.size(); ++i) {
        sections.*kReportBoxes[i].section = ticked[i];
    }
    return sections;
}

ReportBoxStates boxesFromSections(const reports::ReportSections& sections) {
    ReportBoxStates ticked{};
    for (std::size_t i = 0; i < kReportBoxes.size(); ++i) {
        ticked[i] = sections.*kReportBoxes[i].section;
    }
    return ticked;
}

}  // namespace veltrane::shell
