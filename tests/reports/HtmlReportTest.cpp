// The HTML report page and its file; the comparison pages and their charts.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "platform/TextFile.h"
#include "reports/ComparisonChart.h"
#include "reports/ComparisonPages.h"
#include "reports/HtmlReport.h"
#include "reports/HtmlReportFile.h"
#include "support/FakeCpu.h"
#include "support/Joined.h"
#include "support/ScratchFolder.h"

namespace veltrane::reports {
namespace {

namespace fs = std::filesystem;

const std::string kHeaderBytes =
    "<html><head><title>Veltrane System informations report</title></head><body "
    "bgcolor=FFFFFF>\r\n<font face=Tahoma color=FFFFFF><table border=0 width=100% "
    "cellspacing=0 cellpadding=5>\r\n<tr align=left><td><p><big><b><font size=\"6\" "
    "face=\"Arial\" color=000000>Veltrane report</FONT></b></big></p><hr "
    "width=100%></td></tr>\r\n<tr align=left><td><p><big><font size=\"4\" face=\"Arial\" "
    "color=000000>Data reported on 24:10:0,Thursday 5/12/2002</FONT></big></p><hr "
    "width=100%></td></tr></table>";
const std::string kFooterBytes =
    "<tr align=center><td><p><big><font size=\"2\" face=\"Arial\" color=000000>Veltrane (c) "
    "the Veltrane developers. All rights reserved.</FONT></big></p><hr "
    "width=100%></td></tr></body></HTML>";
const std::string kValueCell =
    "</font></b></td><td height=\"40\" width=\"453\"><font size=\"4\" "
    "face=\"Arial\">";
const std::string kLastCloser = "</font></font></td></tr></table></div><p>&nbsp;</p><p>&nbsp;</p>";

// A family-6 processor at 2394.5678 MHz with bits 0 and 23 of the standard
// feature word and 17 and 31 of the extended one.
ReportInputs sampleInputs() {
    const auto cpu =
        test::FakeCpu().signature(0x600, 0x00800001).leaf(0x80000001, {0, 0, 0, 0x80020000});
    ReportInputs in(test::machineOf(std::make_shared<platform::RecordedCpuProbe>(cpu.probe()),
                                    2394.5678f, false));
    in.time =
        platform::programClockTime(1039129800);  // 5 Dec 2002, 23:10:00 UTC: 24:10 on its clock
    in.tester = {"Ada", "bench-box", "overclocked"};
    in.machine.identity.l2KB = 512;
    auto& os = in.machine.os;
    os.kernelName = "Linux";
    os.majorVersion = 6, os.buildNumber = 7, os.monitorCount = 1;
    platform::MemoryFacts memory;
    memory.system.maximumApplicationAddress = 0x7ffffffeffffULL;
    in.machine.memory = ident::MemoryInfo(memory);
    in.result = {.floatResult = -3.5f, .ramFpuResult = 123.9f, .overallResult = 1e12f};
    return in;
}

// Differs from the sample wherever a value is computed or escaped.
ReportInputs otherInputs() {
    ReportInputs in = sampleInputs();
    in.tester = {"<script>", "", "a & \"b\""};
    in.machine.os.userName = "<u>";
    in.machine.os.kernelName.clear();
    in.machine.os.standbyTimeout = 59;
    in.machine.identity.family = 15, in.machine.identity.stepping = 10;
    in.result = {.floatResult = 16777215, .doubleResult = 0.5f, .overallResult = -1e12f};
    in.result.checks[3] = engine::checkFailed("ticks");  // MIPS
    return in;
}

// The value cell's text of the first row with this label.
std::string valueOf(const std::string& page, const std::string& label) {
    const auto at = page.find(label + "</font></b></td>");
    if (at == std::string::npos) {
        return "(no row " + label + ")";
    }
    const auto begin = page.find("face=\"Arial\">", at + label.size()) + 13;
    return page.substr(begin, page.find("</font></font>", begin) - begin);
}

// Sections in their fixed order, and a row of each kind with its style,
// unit suffix and, where it ends its table, the closer.
TEST(HtmlReport, SectionsRowsAndClosers) {
    ReportInputs in = sampleInputs();
    const std::string page = htmlReportText(in);
    std::size_t at = 0;
    for (const char* title :
         {">Tester informations<", ">CPU Informations<", ">Standard CPU Features<",
          ">Extended CPU Features<", ">OS Informations<", ">Benchmarks Results<"}) {
        EXPECT_NE(at = page.find(title, at), std::string::npos) << title;
    }
    for (const std::string& fragment : std::initializer_list<std::string>{
             "colspan=\"2\" bgcolor=\"#000080\"><p align=\"center\"><font size=\"5\" "
             "face=\"Arial\" color=\"#FFFFFF\">Tester informations</font></td></tr></p>",
             "<tr><td height=\"40\" width=\"200\"><b><font size=\"4\" face=\"Arial\">L2 cache:" +
                 kValueCell + "512KByte</font></font></td></tr>",
             "<tr><td height=\"40\" width=\"161\"><b><font size=\"4\" face=\"Arial\">Number Of "
             "Monitors:</font></b></td><td height=\"40\" width=\"493\"><font size=\"4\" "
             "face=\"Arial\">1Monitor(s)</font></font></td></tr>",
             "3DNow! Instructions:" + kValueCell + "Supported" + kLastCloser,
             // Set only in the extended word, whose bit 17 keeps its standard label.
             "Page size Extensions:" + kValueCell + "Supported",
             "123 Mbyte/s" + kLastCloser + "<tr align=center>",
         }) {
        EXPECT_NE(page.find(fragment), std::string::npos) << fragment;
    }
    // 32 rows each: bits 0 and 23 set in S, 17 and 31 in X
    const std::regex notSupported(">Not Supported<");
    EXPECT_EQ(std::distance(std::sregex_iterator(page.begin(), page.end(), notSupported), {}), 60);
    in.sections = {false, false, false, false, false};
    EXPECT_EQ(htmlReportText(in), kHeaderBytes + kFooterBytes);
}

TEST(HtmlReport, ComputedAndEscapedValues) {
    const char* const rows[][3] = {
        {"Tester Name:", "Ada", "&lt;script&gt;"},
        {"System Details:", "overclocked", "a &amp; &quot;b&quot;"},
        {"User name:", "", "&lt;u&gt;"},
        {"Current Frequency:", "2394.57MHz", "2394.57MHz"},
        {"Maximum Application Address:", "0x7ffffffeffff", "0x7ffffffeffff"},
        // The two precisions are added in single precision: the sum rounds up.
        {"FPU Result (overall):", "-1 FPUMarks", "8388608 FPUMarks"},
        {"FPU Double Precision Result:", "0 FPUMarks DP", "0 FPUMarks DP"},
        {"Overall Result:", "2147483647 CPUMarks", "-2147483648 CPUMarks"},
        {"Stand-By Timeout:", "Stand-By Disabled", "0 Minute(s)"},
        {"MIPS Result:", "0 MIPS", "0 MIPS - INVALID"},
        {"L2 cache location:", "External on SECC Cartdrige", "Internal(full - speed)"},
        {"Family, model, stepping:", "6,0,0 Signature: 0x600", "f,0,a Signature: 0xf0a"},
        {"OS Revision:", "Linux version6.0.7", "Microsoft Windows version6.0.7"},
    };
    const std::string sample = htmlReportText(sampleInputs());
    const std::string other = htmlReportText(otherInputs());
    for (const auto& [label, inSample, inOther] : rows) {
        EXPECT_EQ(valueOf(sample, label), inSample) << label;
        EXPECT_EQ(valueOf(other, label), inOther) << label;
    }
}

TEST(HtmlReportFile, WritesThePageKeepsTheFolderAndAddsTheExtension) {
    const test::ScratchFolder scratch;
    const ReportInputs in = sampleInputs();
    ASSERT_TRUE(writeHtmlReport("report.htm", in).ok());
    EXPECT_EQ(platform::readTextFile("report.htm").content, htmlReportText(in));

    const ReportWriteResult failed = writeHtmlReport("missing/report.htm", in);
    EXPECT_EQ(failed.message, "Errror: Cannot create report file");
    EXPECT_FALSE(failed.detail.empty());
    EXPECT_EQ(writeHtmlReport("", in).message, kReportCreateError);
    // Long names and replacing whole are writeOutputFile's, tested with the platform.
    // A report's working directory comes back.
    fs::create_directory("inner");
    {
        const ReportWorkingDirectory keep;
        fs::current_path("inner");
    }
    EXPECT_EQ(fs::current_path(), scratch.path);
    // The extension is added only where there is none.
    EXPECT_EQ(withReportExtension("out"), "out.htm");
    EXPECT_EQ(withReportExtension("dir.d/out"), "dir.d/out.htm");
    EXPECT_EQ(withReportExtension("out.html"), "out.html");
    EXPECT_EQ(withReportExtension(""), "");
}

using Values = std::vector<std::int32_t>;

// Entry i of the standard list scores 1000 + i overall.
engine::ReferenceDatabase databaseWithStandard(int count) {
    engine::ReferenceDatabase db;
    for (int i = 0; i < count; ++i) {
        engine::ReferenceEntry e;
        e.cpuName = "CPU " + std::to_string(i);
        e.chipset = e.cpuName + " chipset";
        e.bitmapName = e.cpuName + "Logo";
        e.overall = 1000 + i;
        e.alu = 2, e.fpu = 3, e.fpuSingle = 4, e.fpuDouble = 5;
        e.ramAlu = 1050.9f, e.ramFpu = 980.25f, e.mips = 2100.7f, e.mflops = 900;
        db.lists[3].push_back(e);
    }
    return db;
}

const engine::ChartPageValues kStandardRun{1500.9f, 1200.5f, 99.99f, 7,    8,
                                           30.7f,   40.2f,   5.9f,   6.1f, 3};

TEST(ComparisonPages, FiveChartPagesOfTheRunsOwnListWithYourSystemFirst) {
    const auto pages = comparisonPages(kStandardRun, databaseWithStandard(6));
    ASSERT_EQ(pages.size(), 5u);
    const int indexes[] = {0, 1, 2, 3, 5};
    // Yours truncated, not rounded; the first entry's in the page's order.
    const Values yours[] = {{1500}, {1200, 99}, {7, 8}, {30, 40}, {5, 6}};
    const Values first[] = {{1000}, {2, 3}, {4, 5}, {1050, 980}, {2100, 900}};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(pages[i].pageIndex, indexes[i]);
        ASSERT_EQ(pages[i].groups.size(), 5u) << "your system and the first four entries";
        EXPECT_EQ(pages[i].groups[0].values, yours[i]);
        EXPECT_EQ(pages[i].groups[1].values, first[i]);
        EXPECT_EQ(pages[i].groups[1].name, indexes[i] == 3 ? "CPU 0 chipset" : "CPU 0");
        EXPECT_EQ(pages[i].groups[4].bitmapName, "CPU 3Logo");
        EXPECT_EQ(pages[i].caption, indexes[i] == 3 ? "Your System:   " : "Your System:");
    }
    EXPECT_EQ(pages[1].units, (std::vector<std::string>{"ALUMarks", "FPUMarks"}));
}

TEST(ComparisonPages, ShortOrEmptyListsAndChosenPositions) {
    const auto groups = [](int page, int entries, int list, ReferenceChoice choice = {0, 1, 2, 3}) {
        return comparisonPage(page, kStandardRun, databaseWithStandard(entries), list, choice)
            .groups;
    };
    EXPECT_EQ(groups(0, 2, 3).size(), 3u);
    EXPECT_EQ(groups(0, 0, 3).size(), 1u);
    EXPECT_EQ(groups(0, 6, 2).size(), 1u) << "the 3DNow! list is empty";
    const auto chosen = groups(0, 6, 3, {5, 1, 9, -1});
    ASSERT_EQ(chosen.size(), 3u);
    EXPECT_EQ(chosen[1].values, Values{1005});
    EXPECT_EQ(chosen[2].values, Values{1001});
    EXPECT_TRUE(groups(4, 6, 3).empty()) << "the database page has no chart";
}

// Five groups always, in list order: a position beyond the list leaves its
// group empty; the chart's own look stays, the page's numbers and colours are set.
TEST(ComparisonChart, FixedGroupsTheirColoursAndNumbers) {
    const auto db = databaseWithStandard(2);
    ChartData chart = chartPageDefaults();
    chart.backColor = 0x123456;
    chart.fillMode = FillMode::vertical;
    std::tm when{};
    when.tm_year = 126, when.tm_mon = 11, when.tm_mday = 6, when.tm_hour = 23;
    fillComparisonChart(chart, 1, kStandardRun, db, 3, {1, 0, 5, -1}, when);
    const auto bars = test::joined(chart.entries, [](const ChartEntry& e) {
        return e.shown ? std::to_string(e.value) + "/" + std::to_string(e.color) + " " : "- ";
    });
    // Yours 0x74E801 and 0xFFCC62, the references' 0x0000FF and 0x00FFFF.
    EXPECT_EQ(bars, "1200/7661569 99/16764002 2/255 3/65535 2/255 3/65535 - - - - ");
    EXPECT_EQ(std::tuple(chart.chartNumber, chart.backColor, chart.fillMode, chart.title),
              std::tuple(2, PackedColor{0x123456}, FillMode::vertical,
                         std::string("Integer/FPU Performance")));
    EXPECT_EQ(chart.subtitle, chartSubtitle(when));
    setReferenceGroup(chart, 1, 3, &db.lists[3][1]);
    setReferenceGroup(chart, 1, 2, nullptr);
    EXPECT_EQ(std::tuple(chart.entries[4].shown, chart.entries[6].value, chart.entries[7].shown),
              std::tuple(false, 2, true));
    for (const auto& [page, number] : {std::pair(0, 1), {1, 2}, {2, 4}, {3, 3}, {4, 0}, {5, 5}}) {
        EXPECT_EQ(chartNumberOfPage(page), number) << page;
        EXPECT_EQ(pageOfChartNumber(number), number == 0 ? -1 : page) << page;
    }
    // A custom run's overall bar says it has no score; the other pages show figures.
    engine::ChartPageValues custom = kStandardRun;
    custom.overallMeasured = false;
    fillComparisonChart(chart, 0, custom, db, 3, kFirstFourEntries, when);
    EXPECT_EQ(chart.entries[0].label, "N/A");
    EXPECT_EQ(std::tuple(chart.entries[0].color, chart.entries[1].color, chart.seriesCount),
              std::tuple(PackedColor{0x74E828}, PackedColor{0x6363FF}, 1));
    fillComparisonChart(chart, 5, custom, db, 3, kFirstFourEntries, when);
    EXPECT_EQ(chart.entries[0].label, "");
}

TEST(DatabaseRows, OneRowPerEntryInTheColumnsOrder) {
    const auto rows = engine::databaseRows(databaseWithStandard(2), 3);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1], (std::vector<std::string>{"CPU 1", "CPU 1 chipset", "1001", "2", "3", "4",
                                                 "5", "1051", "980", "2101", "900", ""}));
    EXPECT_EQ(rows[1].size(), engine::databaseColumns().size());
    EXPECT_TRUE(engine::databaseRows(databaseWithStandard(2), 5).empty());
}

}  // namespace
}  // namespace veltrane::reports
