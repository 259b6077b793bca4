#include "reports/HtmlReport.h"

#include <array>
#include <cmath>
#include <limits>

#include "platform/Format.h"
#include "reports/HtmlReportSections.h"

namespace veltrane::reports {

namespace {

using sections::ReportRow;
using sections::ReportSection;
using sections::RowStyle;

constexpr const char* kHeader =
    "<html><head><title>Veltrane System informations report</title></head>"
    "<body bgcolor=FFFFFF>\r\n"
    "<font face=Tahoma color=FFFFFF><table border=0 width=100% cellspacing=0 cellpadding=5>\r\n"
    "<tr align=left><td><p><big><b><font size=\"6\" face=\"Arial\" color=000000>Veltrane "
    "report</FONT></b></big></p><hr width=100%></td></tr>\r\n"
    "<tr align=left><td><p><big><font size=\"4\" face=\"Arial\" color=000000>";
constexpr const char* kHeaderEnd = "</FONT></big></p><hr width=100%></td></tr></table>";

constexpr const char* kFooterStart =
    "<tr align=center><td><p><big><font size=\"2\" face=\"Arial\" color=000000>";
constexpr const char* kFooterEnd = "</FONT></big></p><hr width=100%></td></tr></body></HTML>";

constexpr const char* kOpenerStart =
    "<div align=\"left\"><table border=\"1\" height=\"100\" width=\"100%\" "
    "cellspacing=\"1\"><tr><td height=\"59\" width=\"654\" colspan=\"";
constexpr const char* kOpenerEnd = "\" bgcolor=\"#000080\">";
constexpr const char* kTitleStart =
    "<p align=\"center\"><font size=\"5\" face=\"Arial\" "
    "color=\"#FFFFFF\">";
constexpr const char* kTitleEnd = "</font></td></tr>";

constexpr const char* kNarrowLabel =
    "<tr><td height=\"40\" width=\"200\"><b><font size=\"4\" "
    "face=\"Arial\">";
constexpr const char* kNarrowValue =
    "<td height=\"40\" width=\"453\"><font size=\"4\" "
    "face=\"Arial\">";
constexpr const char* kWideLabel =
    "<tr><td height=\"40\" width=\"161\"><b><font size=\"4\" "
    "face=\"Arial\">";
constexpr const char* kWideValue =
    "<td height=\"40\" width=\"493\"><font size=\"4\" "
    "face=\"Arial\">";
constexpr const char* kLabelEnd = "</font></b></td>";
constexpr const char* kValueEnd = "</font></font></td></tr>";
constexpr const char* kLastValueEnd = "</font></font></td></tr></table></div>";
constexpr const char* kSectionSpacer = "<p>&nbsp;</p><p>&nbsp;</p>";

constexpr std::array<const char*, 7> kDayNames = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday",
};

const char* dayName(std::int32_t weekday) {
    return weekday >= 0 && weekday < 7 ? kDayNames[static_cast<std::size_t>(weekday)] : "";
}

void appendRow(std::string& page, const ReportRow& row, bool last) {
    const bool wide = row.style == RowStyle::wide;
    page += wide ? kWideLabel : kNarrowLabel;
    page += row.label;
    page += kLabelEnd;
    page += wide ? kWideValue : kNarrowValue;
    page += row.value;
    page += last ? kLastValueEnd : kValueEnd;
}

void appendSection(std::string& page, const ReportSection& section) {
    page += kOpenerStart;
    page += section.threeColumns ? "3" : "2";
    page += kOpenerEnd;
    page += kTitleStart;
    page += section.title;
    page += kTitleEnd;
    if (section.titleClosesParagraph) {
        page += "</p>";
    }
    for (std::size_t i = 0; i < section.rows.size(); ++i) {
        appendRow(page, section.rows[i], i + 1 == section.rows.size());
    }
    page += kSectionSpacer;
}

void appendSections(std::string& page, const ReportInputs& in) {
    const ReportSections& chosen = in.sections;
    if (chosen.tester) {
        appendSection(page, sections::testerSection(in.tester));
    }
    if (chosen.cpu) {
        appendSection(page, sections::cpuSection(in.machine));
        appendSection(page, sections::todaySection(in.machine));
    }
    if (chosen.features) {
        appendSection(page, sections::standardFeatureSection(in.machine.features.standard));
        appendSection(page, sections::extendedFeatureSection(in.machine.features.extended));
    }
    if (chosen.os) {
        appendSection(page, sections::osSection(in.machine.os, in.machine.memory));
    }
    if (chosen.benchmarks) {
        appendSection(page, sections::benchmarkSection(in.result));
    }
}

}  // namespace

std::string htmlEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string reportDateText(const platform::ClockTime& t) {
    return strprintf("Data reported on %d:%d:%d,%s %d/%d/%d", t.hour, t.minute, t.second,
                     dayName(t.weekday), t.day, t.month, t.year);
}

std::string htmlReportText(const ReportInputs& inputs) {
    std::string page = kHeader;
    page += reportDateText(inputs.time);
    page += kHeaderEnd;
    appendSections(page, inputs);
    page += kFooterStart;
    page += kReportNotice;
    page += kFooterEnd;
    return page;
}

}  // namespace veltrane::reports
