// The main benchmark form without a window: masks, optimisation list,
// field texts and what each command asks of the main frame. The report
// wizard's section boxes against the sections the page shows.
#include <gtest/gtest.h>

#include "reports/HtmlReport.h"
#include "shellcore/BenchmarkFormModel.h"
#include "shellcore/RepeatRequest.h"
#include "shellcore/ReportWizardModel.h"
#include "support/FakeCpu.h"
#include "support/RecordingFrame.h"

namespace veltrane::shell {
namespace {

using Strings = std::vector<std::string>;
using veltrane::test::machineOfDump;

// The text of the field `label`, whichever of the form's lists holds it.
std::string fieldText(const FormTexts& texts, const std::string& label) {
    for (const auto* fields : {&texts.processor, &texts.features, &texts.memory}) {
        for (const FormField& field : *fields) {
            if (field.label == label) {
                return field.text;
            }
        }
    }
    return "<no field " + label + ">";
}

TEST(FormOptimizations, DefaultFollowsVendorFamilyAndProcessorCount) {
    // "selected/entries logo code-switches"
    const std::pair<const char*, const char*> cases[] = {
        {"pentium3-coppermine", "0/4 PIIILogo2 Enabled"},
        {"pentium4-northwood", "1/4 P4Logo2 Enabled"},
        {"athlonxp-palomino", "2/4 AthlonLogo2 Enabled"},
        {"k6-2-cxt", "3/4  Disabled"},
        // More than one processor: SMP selected, the vendor's logo kept.
        {"athlonmp-thoroughbred-dual", "4/5 AthlonLogo2 Disabled"},
        {"corei7-coffeelake", "4/5 PIIILogo2 Disabled"},
        {"zen5-virtual", "4/5  Disabled"},
    };
    for (const auto& [dump, expected] : cases) {
        const auto f = machineOfDump(dump);
        const OptimizationList list =
            optimizationList(f.identity.vendor, f.identity.family, f.processorCount);
        EXPECT_EQ(std::to_string(list.selected) + "/" + std::to_string(list.entries.size()) + " " +
                      list.logo + " " + list.codeSwitches,
                  expected)
            << dump;
    }
    // Choosing one sets its logo and code switches; SMP leaves the switches alone.
    const Strings effects{"PIIILogo2 Enabled", "P4Logo2 Enabled", "AthlonLogo2 Enabled",
                          " Disabled", " unchanged"};
    for (int index = 0; index < 5; ++index) {
        const OptimizationEffect effect = optimizationEffect(index);
        EXPECT_EQ(effect.logo + " " + effect.codeSwitches.value_or("unchanged"),
                  effects[std::size_t(index)]);
    }
}

TEST(FormTexts, RecordedProcessorsCacheLocationsAndEachFeaturesOwnSpelling) {
    const auto dual = machineOfDump("athlonmp-thoroughbred-dual", 2000.0f);
    const auto rated = machineOfDump("athlonxp-palomino", 1333.33f);
    const auto onDie = machineOfDump("pentium3-coppermine");
    auto slot = onDie;  // a slot processor with an off-die cache
    slot.identity.l2KB = 512;
    auto family15 = slot;
    family15.identity.family = 15;
    const auto serial = veltrane::test::machineOf(std::make_shared<platform::RecordedCpuProbe>(
        veltrane::test::FakeCpu().vendor("GenuineIntel").signature(0x686, 1u << 18).probe()));
    const std::tuple<const ident::MachineFacts&, const char*, const char*> cases[] = {
        {dual, "CPU Name:", "2xAthlon XP / MP Processor"},
        {dual, "CPU L2 Cache:", "256 KByte"},
        {dual, "Trace Cache:", "Absent"},
        {dual, "CPU Frequency:", "2.00 GHz  (2000.0 MHz)"},
        {dual, "3DNow! support:", "Detected"},
        {dual, "SSE2 Support:", "Not detected"},
        {rated, "CPU Frequency:", "1333.33 MHz ( XP1599+ estimated )"},  // the estimate beside
        {onDie, "Cache Location:", "Internal (full - speed)"},
        {slot, "Cache Location:", "External on SECC Cartdrige"},
        {family15, "Cache Location:", "Internal (full - speed)"},
        {serial, "MMX Support:", "Not Detected"},
        {serial, "Xtended MMX:", "Not detected"},
        {serial, "CPU Serial Number:", "Detected"},
    };
    for (const auto& [facts, label, expected] : cases) {
        EXPECT_EQ(fieldText(formTexts(facts), label), expected) << label;
    }
}

TEST(FormTexts, OsRevision) {
    ident::OsInfo os{platform::OsFacts{}};
    os.majorVersion = 6;
    os.minorVersion = 1;
    os.kernelName = "Linux";
    EXPECT_EQ(osRevisionFieldText(os), "Linux version 6.1.0");
    os.kernelName.clear();
    os.buildNumber = 2600;
    EXPECT_EQ(osRevisionFieldText(os), "MS Windows 6.1");
}

TEST(FormTexts, MemoryFieldsAndBarsWithoutDividingByZero) {
    constexpr std::uint64_t kMB = 1u << 20;
    platform::MemoryFacts memory;
    memory.status = {37, 1023 * kMB, 300 * kMB, 0, 0};  // no swap at all
    memory.totalVirtual = 1000 * kMB;
    memory.availVirtual = 250 * kMB;
    auto facts = machineOfDump("k6-2-cxt");
    facts.memory = ident::MemoryInfo(memory);
    const FormTexts texts = formTexts(facts);
    EXPECT_EQ(texts.memory, (std::vector<FormField>{{"System RAM:", "1024 MByte"},
                                                    {"RAM available:", "300 MByte"}}));
    EXPECT_EQ(texts.bars, (std::array<FormBar, 3>{{{"Mem Loaded:", 100, 37, "37 %"},
                                                   {"Page File Loaded:", 0, 0, "0 %"},
                                                   {"User Resources:", 1000, 750, "75 %"}}}));
}

TEST(FormResultField, FirstLineOfTempdata) {
    EXPECT_EQ(resultFieldText(std::string("1234  CPUMarks\0\0\0\0", 18)), "1234  CPUMarks");
    EXPECT_EQ(resultFieldText("N/A  CPUMarks\r\nsecond line"), "N/A  CPUMarks");
    EXPECT_EQ(resultFieldText(""), "");
    EXPECT_EQ(readResultField("no-such-folder/tempdata"), "");
}

TEST(FormCommands, AskTheFrameInTheirOrder) {
    const std::string close = "send command 57602";
    // The command, its requests, whether it marks a run and needs one.
    const std::tuple<int, Strings, bool, bool> cases[] = {
        {cmd::ConfigureLooping, {"send 1042 0 0", close}, false, false},
        {cmd::CpuInfo, {"send 1046 0 0"}, false, false},
        {cmd::CacheInfo, {"send 1046 1 0"}, false, false},
        {cmd::MotherboardInfo, {"send 1046 2 0"}, false, false},
        {cmd::OsInfo, {"send 1046 3 0"}, false, false},
        {cmd::ReportWizard, {"send 1040 0 0"}, false, false},
        {cmd::NewDefaultMenu, {"post 1030 3 255", close}, false, false},
        {cmd::BenchSse, {close, "post 1030 0 255"}, false, false},
        {cmd::BenchSse2, {close, "post 1030 1 255"}, false, false},
        {cmd::Bench3DNow, {close, "post 1030 2 255"}, false, false},
        {cmd::BenchStandard, {close, "post 1030 3 255"}, false, false},
        {cmd::RunAluOnly, {close, "send 1030 3 1"}, true, false},
        {cmd::RunFpuOnly, {close, "send 1030 3 6"}, true, false},
        {cmd::RunMipsOnly, {close, "send 1030 3 8"}, true, false},
        {cmd::RunMflopsOnly, {close, "send 1030 3 16"}, true, false},
        {cmd::RunRamOnly, {close, "send 1030 3 96"}, true, false},
        {cmd::GraphOverall, {"send 1036 0 0"}, false, true},
        {cmd::GraphAluFpu, {"send 1036 1 0"}, false, true},
        {cmd::GraphFpuSpDp, {"send 1036 2 0"}, false, true},
        {cmd::GraphMipsMflops, {"send 1036 5 0"}, false, true},
        {cmd::GraphRam, {"send 1036 3 0"}, false, true},
        {cmd::HelpSystem, {}, false, false},  // opens the page itself
    };
    for (const auto& [id, log, marksRun, needsRun] : cases) {
        const FormCommand command = formCommand(id);
        test::RecordingFrame frame;
        applySteps(command.steps, frame);
        EXPECT_TRUE(command.handled) << id;
        EXPECT_EQ(frame.log, log) << id;
        EXPECT_EQ(command.marksFormRun, marksRun) << id;
        EXPECT_EQ(command.needsFormRun, needsRun) << id;
        EXPECT_EQ(command.opensHelp, id == cmd::HelpSystem) << id;
    }
    // The frame's own commands stay with the frame.
    for (int id : {cmd::NewDefault, cmd::BenchSmp, cmd::NewCustom, cmd::SaveProject, 0}) {
        EXPECT_FALSE(formCommand(id).handled) << id;
    }
}

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

// The Run button's repeat count rides above the mask; a plain mask is one run.
TEST(FormRepeat, TheCountTravelsWithTheMask) {
    // Runs asked for, mask, the request, and the count the frame reads back.
    const std::tuple<int, int, std::string, int> cases[] = {
        {1, 136, "post 1030 3 136", 1},       {3, 136, "post 1030 3 648", 3},
        {100, 255, "post 1030 3 25599", 100}, {0, 255, "post 1030 3 255", 1},
        {101, 8, "post 1030 3 25352", 100},
    };
    for (const auto& [runs, mask, request, count] : cases) {
        test::RecordingFrame frame;
        applySteps(runSteps(3, mask, runs), frame);
        EXPECT_EQ(frame.log.back(), request) << runs;
        EXPECT_EQ(repeatCountOf(runRequestArgument(mask, runs)), count) << runs;
        EXPECT_EQ(runRequestArgument(mask, runs) & 0xFF, mask) << runs;
    }
    for (const std::intptr_t junk : {std::intptr_t{-1}, std::intptr_t{100} << 8}) {
        EXPECT_EQ(repeatCountOf(junk), 1) << junk;
    }
    EXPECT_EQ(runCountText(2, 3), "Run 2 of 3");
    EXPECT_EQ(runCountText(1, 1), "");
}

// The results window's spread: the overall score, else the total time, and
// the figure that spread most when that is another.
TEST(FormRepeat, SpreadOfTheHeadlineFigure) {
    const engine::Figure& overall = engine::kFigures[0];
    const engine::Figure& time = engine::kFigures[1];
    const engine::Figure& mips = engine::kFigures[8];
    using Stats = std::vector<engine::FigureStats>;
    const std::tuple<Stats, int, std::string> cases[] = {
        {{{&overall, 1500, 1450.7, 1530.2, 2.04}, {&mips, 1, 1, 1, 1}},
         3,
         "Median of 3 runs: 1450 - 1530 CPUMarks, RSD 2.0 %"},
        {{{&time, 2, 1.5, 2.25, 1}, {&mips, 1, 1, 1, 4.25}},
         2,
         "Median of 2 runs: Total time (s) 1.50 - 2.25, RSD 1.0 %\nMost spread: MIPS, RSD 4.2 %"},
        {{{&time, 2, 2, 2, 0}}, 1, ""},
    };
    for (const auto& [stats, runs, text] : cases) {
        EXPECT_EQ(spreadText(stats, runs), text);
    }
}

}  // namespace
}  // namespace veltrane::shell
