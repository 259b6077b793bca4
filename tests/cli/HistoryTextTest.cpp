#include <gtest/gtest.h>

#include "cli/HistoryText.h"

namespace veltrane::cli {
namespace {

store::RunRow run(std::int64_t id, bool fullRun, double mips, double overall) {
    store::RunRow row;
    row.id = id;
    row.finishedAt = "2026-12-07T05:30:59Z";
    row.machine = "Machine " + std::to_string(id);
    row.fullRun = fullRun;
    row.figures.overall = overall;
    row.figures.mips = mips;
    return row;
}

TEST(HistoryTextTest, FiguresNotMeasuredShowAsDashesAndHaveNoRatio) {
    auto full = run(1, true, 40000.7, 26000.9);  // cut, as the run's own result shows them
    auto custom = run(2, false, 44000, 0);
    custom.trusted = false;
    full.inLists = true;
    const std::string table = historyTable({full, custom});
    EXPECT_NE(table.find("\n1*     2026-12-07 05:30 Machine 1"), std::string::npos) << table;
    EXPECT_NE(table.find("\n2!     2026-12-07 05:30 Machine 2"), std::string::npos) << table;
    EXPECT_NE(table.find("standard      26000         -"), std::string::npos) << table;
    EXPECT_NE(table.find("standard          -         -"), std::string::npos) << table;
    EXPECT_EQ(historyTable({}).rfind("No runs are kept yet", 0), 0u);

    const std::string compared = historyCompareText(full, custom);
    for (const char* line :
         {"\nCPUMarks       26000                        -                            -\n",
          "\nMIPS           40000                        44000                        1.100\n",
          "\nALUMarks       -                            -                            -\n",
          "\nA self-check failed in at least one run"}) {
        EXPECT_NE(compared.find(line), std::string::npos) << line << compared;
    }
    EXPECT_EQ(compared.find(" \n"), std::string::npos) << "no blanks at line ends";
}

}  // namespace
}  // namespace veltrane::cli
