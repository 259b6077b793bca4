#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "reports/HtmlReport.h"
#include "reports/HtmlReportFile.h"
#include "support/FakeCpu.h"

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
const std::string kSpacer = "<p>&nbsp;</p><p>&nbsp;</p>";
const std::string kLastCloser = "</font></font></td></tr></table></div>" + kSpacer;

ReportInputs sampleInputs() {
    ReportInputs in;
    in.time = programClockTime(1039129800);  // 5 Dec 2002, 23:10:00 UTC
    in.tester = {"Ada", "bench-box", "overclocked"};
    in.cpu.vendor = "GenuineIntel";
    in.cpu.family = 6;
    in.cpu.model = 8;
    in.cpu.stepping = 3;
    in.cpu.l2KB = 256;
    in.cpu.clockMHz = 2394.5678f;
    in.features = {0x00800001, 0};
    in.os.osName = "Debian";
    in.os.kernelName = "Linux";
    in.os.majorVersion = 6;
    in.os.buildNumber = 7;
    in.os.monitorCount = 1;
    in.memory.maxAppAddress = 0x7ffffffeffffULL;
    in.memory.allocationGranularity = 4096;
    in.result.ramFpuResult = 123.9f;
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

TEST(HtmlReport, NoSectionsGivesHeaderAndFooterOnly) {
    ReportInputs in = sampleInputs();
    in.sections = {false, false, false, false, false};
    EXPECT_EQ(htmlReportText(in), kHeaderBytes + kFooterBytes);
}

TEST(HtmlReport, SectionsComeInFixedOrderAndFeaturesGoTogether) {
    ReportInputs in = sampleInputs();
    const std::string all = htmlReportText(in);
    std::size_t last = 0;
    for (const char* title : {">Tester informations</font></td></tr></p>", ">CPU Informations<",
                              ">Standard CPU Features<", ">Extended CPU Features<",
                              ">OS Informations<", ">Benchmarks Results<"}) {
        const auto at = all.find(title);
        ASSERT_NE(at, std::string::npos) << title;
        EXPECT_GT(at, last) << title;
        last = at;
    }
    in.sections = {false, false, true, false, false};
    const std::string features = htmlReportText(in);
    EXPECT_LT(features.find("Standard CPU Features"), features.find("Extended CPU Features"));
    EXPECT_EQ(features.find("Tester informations"), std::string::npos);
    EXPECT_EQ(valueOf(features, "Built in FPU:"), "Supported");
    // 32 rows each: bits 0 and 23 set in S, none in X
    std::size_t notSupported = 0;
    for (auto at = features.find(">Not Supported<"); at != std::string::npos;
         at = features.find(">Not Supported<", at + 1)) {
        ++notSupported;
    }
    EXPECT_EQ(notSupported, 30u + 32u);
    EXPECT_NE(features.find("3DNow! Instructions:</font></b></td><td height=\"40\" width=\"453\">"
                            "<font size=\"4\" face=\"Arial\">Not Supported" +
                            kLastCloser),
              std::string::npos);
}

// A row of each section with its style, unit suffix and, where it ends its
// table, the closer; the features sections' rows are checked above.
TEST(HtmlReport, RowsCarryTheirStylesSuffixesAndClosers) {
    const std::string page = htmlReportText(sampleInputs());
    for (const char* fragment : {
             "colspan=\"2\" bgcolor=\"#000080\"><p align=\"center\"><font size=\"5\" "
             "face=\"Arial\" color=\"#FFFFFF\">Tester informations</font></td></tr></p>",
             "System Details:</font></b></td><td height=\"40\" width=\"453\"><font size=\"4\" "
             "face=\"Arial\">overclocked</font></font></td></tr></table></div>",
             "<tr><td height=\"40\" width=\"200\"><b><font size=\"4\" face=\"Arial\">L2 cache:"
             "</font></b></td><td height=\"40\" width=\"453\"><font size=\"4\" face=\"Arial\">"
             "256KByte</font></font></td></tr>",
             "<tr><td height=\"40\" width=\"161\"><b><font size=\"4\" face=\"Arial\">Number Of "
             "Monitors:</font></b></td><td height=\"40\" width=\"493\"><font size=\"4\" "
             "face=\"Arial\">1Monitor(s)</font></font></td></tr>",
             "123 Mbyte/s</font></font></td></tr></table></div><p>&nbsp;</p><p>&nbsp;</p><tr "
             "align=center>",
         }) {
        EXPECT_NE(page.find(fragment), std::string::npos) << fragment;
    }
}

TEST(HtmlReport, ComputedValues) {
    struct Case {
        const char* label;
        void (*set)(ReportInputs&);  // nullptr: the sample as it is
        const char* value;
    };
    const Case cases[] = {
        {"Current Frequency:", nullptr, "2394.57MHz"},
        {"Maximum Application Address:", nullptr, "0x7ffffffeffff"},
        {"FPU Result (overall):",
         [](ReportInputs& in) { in.result.floatResult = 101.9f, in.result.doubleResult = 100.9f; },
         "101 FPUMarks"},
        {"FPU Result (overall):",
         [](ReportInputs& in) { in.result.floatResult = -3.5f, in.result.doubleResult = 0; },
         "-1 FPUMarks"},
        {"FPU Result (overall):",  // the sum rounds up in single precision
         [](ReportInputs& in) { in.result.floatResult = 16777215, in.result.doubleResult = 0.5f; },
         "8388608 FPUMarks"},
        {"Overall Result:", [](ReportInputs& in) { in.result.overallResult = 1e12f; },
         "2147483647 CPUMarks"},
        {"Stand-By Timeout:", [](ReportInputs& in) { in.os.standbyTimeout = 0; },
         "Stand-By Disabled"},
        {"Stand-By Timeout:", [](ReportInputs& in) { in.os.standbyTimeout = 59; }, "0 Minute(s)"},
        {"Stand-By Timeout:", [](ReportInputs& in) { in.os.standbyTimeout = 600; }, "10 Minute(s)"},
        {"L2 cache location:", [](ReportInputs& in) { in.cpu.l2KB = 512, in.cpu.family = 6; },
         "External on SECC Cartdrige"},
        {"L2 cache location:", [](ReportInputs& in) { in.cpu.l2KB = 512, in.cpu.family = 15; },
         "Internal(full - speed)"},
        {"L2 cache location:", [](ReportInputs& in) { in.cpu.l2KB = 256, in.cpu.family = 6; },
         "Internal(full - speed)"},
        {"L2 cache location:", [](ReportInputs& in) { in.cpu.l2KB = -1, in.cpu.family = 6; },
         "Internal(full - speed)"},
        {"Family, model, stepping:",
         [](ReportInputs& in) { in.cpu.family = 15, in.cpu.model = 0, in.cpu.stepping = 10; },
         "f,0,a Signature: 0xf0a"},
        {"OS Revision:", nullptr, "Linux version6.0.7"},
        {"OS Revision:", [](ReportInputs& in) { in.os.kernelName.clear(); },
         "Microsoft Windows version6.0.7"},
    };
    for (const Case& c : cases) {
        ReportInputs in = sampleInputs();
        if (c.set != nullptr) {
            c.set(in);
        }
        EXPECT_EQ(valueOf(htmlReportText(in), c.label), c.value) << c.label;
    }
}

TEST(HtmlReport, UserAndSystemTextsAreEscaped) {
    ReportInputs in = sampleInputs();
    in.tester.testerName = "<script>";
    in.tester.comments = "a & \"b\"";
    in.os.userName = "<u>";  // a system text too
    const std::string page = htmlReportText(in);
    EXPECT_EQ(valueOf(page, "Tester Name:"), "&lt;script&gt;");
    EXPECT_EQ(valueOf(page, "System Details:"), "a &amp; &quot;b&quot;");
    EXPECT_EQ(valueOf(page, "User name:"), "&lt;u&gt;");
    EXPECT_EQ(page.find("<script>"), std::string::npos);
}

TEST(HtmlReport, ReadsBothFeatureWordsFromTheProbe) {
    const auto probe = test::FakeCpu()
                           .signature(0x683, 0x0383fbff)
                           .leaf(0x80000001, {0, 0, 0, 0xc0400000})
                           .probe();
    const ReportFeatureWords words = readFeatureWords(probe);
    EXPECT_EQ(words.standard, 0x0383fbffu);
    EXPECT_EQ(words.extended, 0xc0400000u);
}

class HtmlReportFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("veltrane-report-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        start_ = fs::current_path();
    }
    void TearDown() override {
        EXPECT_EQ(fs::current_path(), start_);
        fs::remove_all(folder_);
    }
    std::string read(const fs::path& path) const {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    }

    fs::path folder_;
    fs::path start_;
};

TEST_F(HtmlReportFileTest, WritesThePageAndRefusesAnUnwritablePlace) {
    const ReportInputs in = sampleInputs();
    const fs::path target = folder_ / "report.htm";
    ASSERT_TRUE(writeHtmlReport(target.string(), in).ok());
    EXPECT_EQ(read(target), htmlReportText(in));

    const fs::path missing = folder_ / "missing" / "report.htm";
    const ReportWriteResult failed = writeHtmlReport(missing.string(), in);
    EXPECT_EQ(failed.message, "Errror: Cannot create report file");
    EXPECT_FALSE(failed.detail.empty());
    EXPECT_EQ(writeHtmlReport("", in).message, kReportCreateError);
    // An existing report whose temporary name would be too long for the
    // folder: the write fails, even for root, and must keep the old page.
    const fs::path kept = folder_ / (std::string(250, 'r') + ".htm");
    std::ofstream(kept) << "old";
    EXPECT_FALSE(writeHtmlReport(kept.string(), in).ok());
    EXPECT_EQ(read(kept), "old");
    EXPECT_EQ(read(target), htmlReportText(in));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), 2);
}

TEST_F(HtmlReportFileTest, WorkingDirectoryComesBack) {
    {
        const ReportWorkingDirectory keep;
        fs::current_path(folder_);
    }
    EXPECT_EQ(fs::current_path(), start_);
}

TEST(HtmlReportFile, AddsTheExtensionOnlyWhenThereIsNone) {
    EXPECT_EQ(withReportExtension("out"), "out.htm");
    EXPECT_EQ(withReportExtension("dir.d/out"), "dir.d/out.htm");
    EXPECT_EQ(withReportExtension("out.html"), "out.html");
    EXPECT_EQ(withReportExtension(""), "");
}

}  // namespace
}  // namespace veltrane::reports
