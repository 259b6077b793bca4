#include <gtest/gtest.h>

#include <map>

#include "ident/ExtendedCpuPage.h"
#include "ident/ProcessorIdentity.h"
#include "support/FakeCpu.h"

namespace veltrane::ident {
namespace {

std::map<std::string, LabelledValue> byLabel(const std::vector<LabelledValue>& rows) {
    std::map<std::string, LabelledValue> map;
    for (const auto& row : rows) {
        EXPECT_TRUE(map.emplace(row.label, row).second) << "label twice: " << row.label;
    }
    return map;
}

class ExtendedCpuPageTest : public ::testing::Test {
protected:
    std::map<std::string, LabelledValue> pageFor(std::uint32_t leaf2Edx, float clockMHz,
                                                 std::uint32_t processors = 1) {
        probe_ =
            std::make_unique<platform::RecordedCpuProbe>(test::FakeCpu()
                                                             .vendor("GenuineIntel")
                                                             .signature(0x686, 0x0387FBFF)
                                                             .leaf(2, {0x03020101, 0, 0, leaf2Edx})
                                                             .processors(processors)
                                                             .probe());
        ProcessorIdentity identity(*probe_, facts_);
        return byLabel(extendedCpuValues(identity, {definition_, "absent", clockMHz}));
    }

    std::unique_ptr<platform::RecordedCpuProbe> probe_;
    ProcessorFacts facts_ = test::factsWithoutDefinition();
    ProcessorDefinition definition_{"Intel",  "Pentium III", "Coppermine", "500 - 1133 MHz",
                                    "1.65 V", "FC-PGA",      "133 MHz",    "cC0"};
};

TEST_F(ExtendedCpuPageTest, ShowsTheDefinitionTheSignatureAndTheCaches) {
    auto page = pageFor(0x0C040882, 933.4f);
    EXPECT_EQ(page["Manufacturer:"].value, "Intel");
    EXPECT_EQ(page["Vendor String:"].value, "GenuineIntel");
    EXPECT_EQ(page["Processor:"].value, "Pentium III Processor");
    EXPECT_EQ(page["CPU Codename:"].value, "Coppermine");
    EXPECT_EQ(page["Bus type:"].value, "133 MHz");
    EXPECT_EQ(page["Platform:"].value, "FC-PGA");
    EXPECT_EQ(page["Family:"].value, "6");
    EXPECT_EQ(page["Model:"].value, "8");
    EXPECT_EQ(page["Step:"].value, "6");
    EXPECT_EQ(page["Step Mask:"].value, "cC0");
    EXPECT_EQ(page["Freq. Range:"].value, "500 - 1133 MHz");
    EXPECT_EQ(page["Default Vcore:"].value, "1.65 V");
    EXPECT_EQ(page["L1D cache:"].value, "8 KByte");
    EXPECT_EQ(page["L1 Instr. cache:"].value, "12 KByte");
    EXPECT_EQ(page["L2 Cache:"].value, "256 KByte");
    EXPECT_EQ(page["Trace Cache:"].value, "absent");
    EXPECT_EQ(page["F. Flags:"].value, "0x387FBFF");
    EXPECT_EQ(page["Frequency:"].value, "933.4 MHz");
    EXPECT_EQ(page["Extended Family:"].value, "6");
    EXPECT_EQ(page["Extended Model:"].value, "8");
    for (const char* label : {"Current Vcore:", "Multiplier:", "FSB Freq:"}) {
        EXPECT_FALSE(page[label].enabled) << label;
        EXPECT_EQ(page[label].value, "") << label;
    }
}

TEST_F(ExtendedCpuPageTest, OnChipSecondLevelCacheRunsAtTheCoreClock) {
    auto onChip = pageFor(0x00000082, 1466.9f);
    EXPECT_EQ(onChip["L2 Cache Loc:"].value, "Internal (full - speed)");
    EXPECT_EQ(onChip["L2 Divider:"].value, "1/1");
    EXPECT_EQ(onChip["L2 Cache Freq:"].value, "1466 MHz");
    auto cartridge = pageFor(0x00000043, 1466.9f);
    EXPECT_EQ(cartridge["L2 Cache Loc:"].value, "External On SECC Cartdrige");
    EXPECT_EQ(cartridge["L2 Divider:"].value, "Unknow");
    EXPECT_EQ(cartridge["L2 Cache Freq:"].value, "unknow");
}

TEST_F(ExtendedCpuPageTest, ProcessorFieldCountsProcessors) {
    EXPECT_EQ(pageFor(0x82, 0, 2)["Processor:"].value, "2xPentium III Processor");
    EXPECT_EQ(processorFieldText(1, "Athlon"), "Athlon Processor");
    EXPECT_EQ(processorFieldText(2, "AMD Ryzen 7 5800X 8-Core Processor"),
              "2xAMD Ryzen 7 5800X 8-Core Processor");
    EXPECT_EQ(processorFieldText(1, "Oxide Virtual Processor"), "Oxide Virtual Processor");
}

TEST(FeatureRows, HeadingsBlanksAndOneRowPerBit) {
    const auto rows = featureRows(0x80000001u, 0x00400000u);
    ASSERT_EQ(rows.size(), 72u);
    EXPECT_EQ(rows[0].item, " ");
    EXPECT_EQ(rows[1].item, "   Standard Features Flag");
    EXPECT_EQ(rows[1].description, "");
    EXPECT_EQ(rows[2].item, " ");
    EXPECT_EQ(rows[3].item, " ");
    EXPECT_EQ(rows[4].item, "      Built in Floating point unit (bit 1)");
    EXPECT_EQ(rows[4].description, "Supported");
    EXPECT_EQ(rows[5].description, "Not Supported");
    EXPECT_EQ(rows[35].item, "      bit 32 reserved");
    EXPECT_EQ(rows[35].description, "Supported");
    EXPECT_EQ(rows[36].item, " ");
    EXPECT_EQ(rows[37].item, "   Extended Feature Flags");
    EXPECT_EQ(rows[40].item, "      Built in Floating point unit (bit 1)");
    EXPECT_EQ(rows[40].description, "Not Supported");
    EXPECT_EQ(rows[62].item, "      MMX Instructions Extensions (bit 23)");
    EXPECT_EQ(rows[62].description, "Supported");
    EXPECT_EQ(rows[71].item, "      3DNow! Instruction Set (bit 32)");
}

TEST(CpuLogo, ChosenByVendorFamilyModelAndCache) {
    EXPECT_EQ(cpuLogoName("AuthenticAMD", 5, 8, -1), "AMD_K6-2");
    EXPECT_EQ(cpuLogoName("AuthenticAMD", 5, 13, -1), "AMD_K6-3");
    EXPECT_EQ(cpuLogoName("AuthenticAMD", 5, 10, -1), "");
    EXPECT_EQ(cpuLogoName("AuthenticAMD", 6, 7, 64), "AMD_Duron");
    EXPECT_EQ(cpuLogoName("AuthenticAMD", 6, 8, 256), "AMD_AthlonXP");
    EXPECT_EQ(cpuLogoName("AuthenticAMD", 6, 10, 512), "AMD_Athlon");
    EXPECT_EQ(cpuLogoName("GenuineIntel", 6, 6, 128), "Intel_Celeron");
    EXPECT_EQ(cpuLogoName("GenuineIntel", 6, 5, 0), "Intel_Celeron");
    EXPECT_EQ(cpuLogoName("GenuineIntel", 6, 8, 256), "PIIILogo");
    EXPECT_EQ(cpuLogoName("GenuineIntel", 6, 7, 128), "PIIILogo");
    EXPECT_EQ(cpuLogoName("GenuineIntel", 15, 2, 0), "IntelPentium4");
    EXPECT_EQ(cpuLogoName("CyrixInstead", 6, 0, 0), "");
}

}  // namespace
}  // namespace veltrane::ident
