// The main benchmark form without a window: masks, optimisation list,
// field texts and what each command asks of the main frame.
#include <gtest/gtest.h>

#include <fstream>

#include "FormFakeFrame.h"
#include "ident/Clock.h"
#include "ident/ClockTexts.h"
#include "ident/ProcessorIdentity.h"
#include "shell/BenchmarkFormModel.h"
#include "support/FakeCpu.h"

namespace veltrane::shell {
namespace {

using Strings = std::vector<std::string>;

std::string fieldText(const std::vector<FormField>& fields, const std::string& label) {
    for (const FormField& field : fields) {
        if (field.label == label) {
            return field.text;
        }
    }
    return "<no field " + label + ">";
}

// A recorded processor as the form would capture it, with the shipped
// definition file and a clock that is `clockMHz` once measured.
FormFacts factsOfDump(const std::string& dump, float clockMHz = 0.0f) {
    const auto probe =
        platform::loadCpuidDumpFile(std::string(VELTRANE_TEST_DATA_DIR) + "/" + dump + ".cpuid");
    ident::ProcessorFacts facts;
    facts.openDefinitionFile = [] {
        return std::make_unique<std::ifstream>(VELTRANE_SOURCE_DATA_DIR "/cpudef.dat");
    };
    ident::ProcessorIdentity identity(*probe, facts);
    ident::ClockState clock;
    if (clockMHz > 0.0f) {
        clock.publish(clockMHz,
                      ident::ratingApplies(identity.vendor, identity.family, identity.model)
                          ? ident::ratingText(clockMHz)
                          : std::string());
    }
    return captureFormFacts(identity, facts, clock, ident::OsInfo(platform::OsFacts{}),
                            ident::MemoryInfo(platform::MemoryFacts{}));
}

TEST(FormRunMask, StartsFromFullAndClearsUntickedTests) {
    const struct {
        std::array<bool, 7> ticked;
        int mask;
    } cases[] = {
        {{true, true, true, true, true, true, true}, 255},
        {{false, false, false, false, false, false, false}, 128},
        {{false, false, false, true, false, false, false}, 136},
        {{false, false, false, false, false, true, true}, 224},
        {{true, false, false, false, false, false, true}, 193},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(runMask(c.ticked), c.mask);
    }
}

struct DefaultCase {
    const char* dump;
    int selected;
    const char* logo;
    std::size_t entries;
    const char* codeSwitches;
};

class FormDefaultOptimization : public ::testing::TestWithParam<DefaultCase> {};

TEST_P(FormDefaultOptimization, FollowsVendorFamilyAndProcessorCount) {
    const DefaultCase& c = GetParam();
    const FormFacts facts = factsOfDump(c.dump);
    const OptimizationList list =
        optimizationList(facts.vendor, facts.family, facts.processorCount);
    EXPECT_EQ(list.selected, c.selected);
    EXPECT_EQ(list.logo, c.logo);
    ASSERT_EQ(list.entries.size(), c.entries);
    EXPECT_EQ(list.entries[3], "Standard IA-32 Code");
    EXPECT_EQ(list.codeSwitches, c.codeSwitches);
    if (c.entries == 5) {
        EXPECT_EQ(list.entries[4], "MultiThreaded SMP Code");
    }
}

const DefaultCase kDefaults[] = {
    {"pentium3-coppermine", 0, "PIIILogo2", 4, "Enabled"},
    {"pentium4-northwood", 1, "P4Logo2", 4, "Enabled"},
    {"athlonxp-palomino", 2, "AthlonLogo2", 4, "Enabled"},
    {"k6-2-cxt", 3, "", 4, "Disabled"},
    // More than one processor: SMP selected, the vendor's logo kept.
    {"athlonmp-thoroughbred-dual", 4, "AthlonLogo2", 5, "Disabled"},
    {"corei7-coffeelake", 4, "PIIILogo2", 5, "Disabled"},
    {"zen5-virtual", 4, "", 5, "Disabled"},
};

INSTANTIATE_TEST_SUITE_P(RecordedProcessors, FormDefaultOptimization,
                         ::testing::ValuesIn(kDefaults), [](const auto& param) {
                             std::string name = param.param.dump;
                             for (char& ch : name) {
                                 ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             }
                             return name;
                         });

TEST(FormOptimizationChange, SetsLogoAndCodeSwitches) {
    EXPECT_EQ(optimizationEffect(0).logo, "PIIILogo2");
    EXPECT_EQ(optimizationEffect(1).logo, "P4Logo2");
    EXPECT_EQ(optimizationEffect(2).logo, "AthlonLogo2");
    for (int index : {0, 1, 2}) {
        EXPECT_EQ(optimizationEffect(index).codeSwitches, "Enabled");
    }
    EXPECT_EQ(optimizationEffect(3).logo, "");
    EXPECT_EQ(optimizationEffect(3).codeSwitches, "Disabled");
    EXPECT_EQ(optimizationEffect(4).logo, "");
    EXPECT_FALSE(optimizationEffect(4).codeSwitches.has_value());
}

TEST(FormTexts, DualAthlonShowsCountPrefixAndItsFacts) {
    const FormTexts texts = formTexts(factsOfDump("athlonmp-thoroughbred-dual", 2000.0f));
    EXPECT_EQ(fieldText(texts.processor, "Manufacturer:"), "AuthenticAMD");
    EXPECT_EQ(fieldText(texts.processor, "CPU Name:"), "2xAthlon XP / MP Processor");
    EXPECT_EQ(fieldText(texts.processor, "CPU family:"), "6");
    EXPECT_EQ(fieldText(texts.processor, "CPU Model:"), "8");
    EXPECT_EQ(fieldText(texts.processor, "Step:"), "1");
    EXPECT_EQ(fieldText(texts.processor, "L1 Data cache:"), "64 KByte");
    EXPECT_EQ(fieldText(texts.processor, "CPU L2 Cache:"), "256 KByte");
    EXPECT_EQ(fieldText(texts.processor, "Trace Cache:"), "Absent");
    EXPECT_EQ(fieldText(texts.processor, "Cache Location:"), "Internal (full - speed)");
    EXPECT_EQ(fieldText(texts.processor, "CPU Frequency:"), "2.00 GHz  (2000.0 MHz)");
    EXPECT_EQ(fieldText(texts.features, "3DNow! support:"), "Detected");
    EXPECT_EQ(fieldText(texts.features, "SSE2 Support:"), "Not detected");
}

TEST(FormTexts, RatedAthlonShowsTheEstimateBesideTheClock) {
    const FormTexts texts = formTexts(factsOfDump("athlonxp-palomino", 1333.33f));
    EXPECT_EQ(fieldText(texts.processor, "CPU Name:"), "Athlon XP / MP Processor");
    EXPECT_EQ(fieldText(texts.processor, "CPU Frequency:"), "1333.33 MHz ( XP1599+ estimated )");
}

TEST(FormTexts, CacheLocationDependsOnSizeAndFamily) {
    // A Pentium 4 whose leaf 2 reports 512 KB of second-level cache.
    const auto probe = test::FakeCpu()
                           .vendor("GenuineIntel")
                           .signature(0xF24, 0xBFEBFBFF)
                           .leaf(2, {0x665B5001, 0, 0, 0x7B})
                           .processors(1)
                           .probe();
    auto noDefinition = test::factsWithoutDefinition();
    ident::ProcessorIdentity p4(probe, noDefinition);
    FormFacts facts =
        captureFormFacts(p4, noDefinition, ident::ClockState(), ident::OsInfo(platform::OsFacts{}),
                         ident::MemoryInfo(platform::MemoryFacts{}));
    EXPECT_EQ(fieldText(formTexts(facts).processor, "CPU L2 Cache:"), "512 KByte");
    EXPECT_EQ(fieldText(formTexts(facts).processor, "Cache Location:"), "Internal (full - speed)");
    facts.family = 6;  // a slot processor with an off-die cache
    EXPECT_EQ(fieldText(formTexts(facts).processor, "Cache Location:"),
              "External on SECC Cartdrige");
    facts.l2KB = 256;
    EXPECT_EQ(fieldText(formTexts(facts).processor, "Cache Location:"), "Internal (full - speed)");
}

TEST(FormTexts, FeatureLinesKeepTheirOwnSpellings) {
    FormFacts facts;
    EXPECT_EQ(formTexts(facts).features,
              (std::vector<FormField>{{"MMX Support:", "Not Detected"},
                                      {"3DNow! support:", "Not Detected"},
                                      {"Xtended MMX:", "Not detected"},
                                      {"Xtended 3DNow!:", "Not detected"},
                                      {"SSE Support:", "Not detected"},
                                      {"SSE2 Support:", "Not detected"},
                                      {"CPU Serial Number:", "Not detected"}}));
    facts.features = {true, true, true, true, true, true, true};
    for (const FormField& field : formTexts(facts).features) {
        EXPECT_EQ(field.text, "Detected") << field.label;
    }
}

TEST(FormTexts, OsRevisionOfTheOriginalPlatformAndOfLinux) {
    ident::OsInfo os{platform::OsFacts{}};
    os.kernelName.clear();
    os.majorVersion = 5;
    os.minorVersion = 1;
    os.buildNumber = 2600;
    EXPECT_EQ(osRevisionFieldText(os), "MS Windows 5.1");
    os.kernelName = "Linux";
    os.majorVersion = 6;
    os.minorVersion = 1;
    os.buildNumber = 0;
    EXPECT_EQ(osRevisionFieldText(os), "Linux version 6.1.0");
}

TEST(FormTexts, MemoryFieldsAndBarsWithoutDividingByZero) {
    constexpr std::uint64_t kMB = 1u << 20;
    platform::MemoryFacts memory;
    memory.status = {37, 1023 * kMB, 300 * kMB, 0, 0};  // no swap at all
    memory.totalVirtual = 1000 * kMB;
    memory.availVirtual = 250 * kMB;
    FormFacts facts;
    facts.memory = ident::MemoryInfo(memory);
    const FormTexts texts = formTexts(facts);
    EXPECT_EQ(fieldText(texts.memory, "System RAM:"), "1024 MByte");
    EXPECT_EQ(fieldText(texts.memory, "RAM available:"), "300 MByte");
    EXPECT_EQ(texts.bars[0], (FormBar{"Mem Loaded:", 100, 37, "37 %"}));
    EXPECT_EQ(texts.bars[1], (FormBar{"Page File Loaded:", 0, 0, "0 %"}));
    EXPECT_EQ(texts.bars[2], (FormBar{"User Resources:", 1000, 750, "75 %"}));
}

TEST(FormResultField, FirstLineOfTempdata) {
    EXPECT_EQ(resultFieldText(std::string("1234  CPUMarks\0\0\0\0", 18)), "1234  CPUMarks");
    EXPECT_EQ(resultFieldText("Bench not run yet"), "Bench not run yet");
    EXPECT_EQ(resultFieldText("N/A  CPUMarks\r\nsecond line"), "N/A  CPUMarks");
    EXPECT_EQ(resultFieldText(""), "");
    EXPECT_EQ(readResultField("no-such-folder/tempdata"), "");
}

Strings frameLog(const std::vector<FrameStep>& steps) {
    test::FormFakeFrame frame;
    applySteps(steps, frame);
    return frame.log;
}

TEST(FormCommands, AskTheFrameInTheirOrder) {
    const struct {
        int command;
        Strings log;
        bool marksRun;
    } cases[] = {
        {cmd::ConfigureLooping, {"send 1042 0 0", "send command 57602"}, false},
        {cmd::CpuInfo, {"send 1046 0 0"}, false},
        {cmd::CacheInfo, {"send 1046 1 0"}, false},
        {cmd::MotherboardInfo, {"send 1046 2 0"}, false},
        {cmd::OsInfo, {"send 1046 3 0"}, false},
        {cmd::ReportWizard, {"send 1040 0 0"}, false},
        {cmd::NewDefaultMenu, {"post 1030 3 255", "send command 57602"}, false},
        {cmd::BenchSse, {"send command 57602", "post 1030 0 255"}, false},
        {cmd::BenchSse2, {"send command 57602", "post 1030 1 255"}, false},
        {cmd::Bench3DNow, {"send command 57602", "post 1030 2 255"}, false},
        {cmd::BenchStandard, {"send command 57602", "post 1030 3 255"}, false},
        {cmd::RunAluOnly, {"send command 57602", "send 1030 3 1"}, true},
        {cmd::RunFpuOnly, {"send command 57602", "send 1030 3 6"}, true},
        {cmd::RunMipsOnly, {"send command 57602", "send 1030 3 8"}, true},
        {cmd::RunMflopsOnly, {"send command 57602", "send 1030 3 16"}, true},
        {cmd::RunRamOnly, {"send command 57602", "send 1030 3 96"}, true},
    };
    for (const auto& c : cases) {
        const FormCommand command = formCommand(c.command);
        EXPECT_TRUE(command.handled) << c.command;
        EXPECT_EQ(frameLog(command.steps), c.log) << c.command;
        EXPECT_EQ(command.marksFormRun, c.marksRun) << c.command;
        EXPECT_FALSE(command.needsFormRun) << c.command;
    }
}

TEST(FormCommands, GraphsNeedAFormRunAndHelpOpensThePage) {
    const std::pair<int, int> pages[] = {{cmd::GraphOverall, 0},
                                         {cmd::GraphAluFpu, 1},
                                         {cmd::GraphFpuSpDp, 2},
                                         {cmd::GraphMipsMflops, 5},
                                         {cmd::GraphRam, 3}};
    for (const auto& [id, page] : pages) {
        const FormCommand command = formCommand(id);
        EXPECT_TRUE(command.needsFormRun);
        EXPECT_EQ(frameLog(command.steps), Strings{"send 1036 " + std::to_string(page) + " 0"});
    }
    EXPECT_TRUE(formCommand(cmd::HelpSystem).opensHelp);
    EXPECT_TRUE(formCommand(cmd::HelpSystem).steps.empty());
    // The frame's own commands stay with the frame.
    for (int id : {cmd::NewDefault, cmd::BenchSmp, cmd::NewCustom, cmd::SaveProject, 0}) {
        EXPECT_FALSE(formCommand(id).handled) << id;
    }
}

TEST(FormCommands, RunPostsTheCloseBeforeTheRun) {
    EXPECT_EQ(frameLog(runSteps(2, 136)), (Strings{"post command 57602", "post 1030 2 136"}));
}

}  // namespace
}  // namespace veltrane::shell
