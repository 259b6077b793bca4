// The report wizard's section boxes against the sections the page shows.
#include <gtest/gtest.h>

#include "reports/HtmlReport.h"
#include "shellcore/ReportWizardModel.h"
#include "support/FakeCpu.h"

namespace veltrane::shell {
namespace {

// The section titles each box brings onto the page, in the boxes' order.
const std::vector<std::vector<std::string>> kTitlesByBox = {
    {"Tester informations"},
    {"CPU Informations"},
    {"Standard CPU Features", "Extended CPU Features"},
    {"OS Informations"},
    {"Benchmarks Results"},
};

TEST(ReportWizardBoxes, EachCombinationWritesExactlyItsSections) {
    reports::ReportInputs inputs(veltrane::test::machineOfDump("pentium4-northwood", 2000.0f));
    for (unsigned combination = 0; combination < 32; ++combination) {
        ReportBoxStates ticked{};
        for (std::size_t box = 0; box < ticked.size(); ++box) {
            ticked[box] = ((combination >> box) & 1U) != 0;
        }
        inputs.sections = sectionsFromBoxes(ticked);
        EXPECT_EQ(boxesFromSections(inputs.sections), ticked) << combination;
        const std::string page = reports::htmlReportText(inputs);
        for (std::size_t box = 0; box < ticked.size(); ++box) {
            for (const std::string& title : kTitlesByBox[box]) {
                EXPECT_EQ(page.find(">" + title + "</font>") != std::string::npos, ticked[box])
                    << "combination " << combination << ", " << title;
            }
        }
    }
}

TEST(ReportWizardBoxes, StartAsTheFrameKeepsThemAndNamesAreDistinct) {
    EXPECT_EQ(boxesFromSections(reports::ReportSections{}),
              ReportBoxStates({true, true, true, true, true}));
    for (std::size_t i = 0; i < kReportBoxes.size(); ++i) {
        for (std::size_t j = i + 1; j < kReportBoxes.size(); ++j) {
            EXPECT_NE(kReportBoxes[i].id, kReportBoxes[j].id);
            EXPECT_TRUE(kReportBoxes[i].section != kReportBoxes[j].section);
        }
    }
}

}  // namespace
}  // namespace veltrane::shell
