#include <gtest/gtest.h>

#include "ident/ExtendedCpuPage.h"
#include "ident/ProcessorIdentity.h"
#include "support/FakeCpu.h"

namespace veltrane::ident {
namespace {

// The values of the rows in page order, joined by '|'.
std::string joined(const std::vector<LabelledValue>& rows) {
    std::string text;
    for (const auto& row : rows) {
        text += "|" + row.value;
    }
    return text.substr(1);
}

std::vector<LabelledValue> pageFor(std::uint32_t leaf2Edx, float clockMHz,
                                   std::uint32_t processors = 1) {
    const auto probe = test::FakeCpu()
                           .vendor("GenuineIntel")
                           .signature(0x6B4, 0x0387FBFF)
                           .leaf(2, {0x03020101, 0, 0, leaf2Edx})
                           .processors(processors)
                           .probe();
    ProcessorFacts facts = test::factsWithoutDefinition();
    ProcessorIdentity identity(probe, facts);
    const ProcessorDefinition definition{"Intel",  "Pentium III", "Coppermine", "500 - 1133 MHz",
                                         "1.65 V", "FC-PGA",      "133 MHz",    "cC0"};
    return extendedCpuValues(identity, {definition, "absent", clockMHz});
}

TEST(ExtendedCpuPage, ShowsTheDefinitionTheSignatureInHexAndTheCaches) {
    const auto rows = pageFor(0x0C040882, 933.4f);
    EXPECT_EQ(joined(rows),
              "Intel|GenuineIntel|Pentium III Processor|Coppermine|133 MHz|FC-PGA|6|B|4|cC0|"
              "500 - 1133 MHz|1.65 V|8 KByte|12 KByte|256 KByte|absent|Internal (full - speed)|"
              "1/1|933 MHz|0x387FBFF|933.4 MHz||||6|B|4");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].enabled, rows[i].value != "") << rows[i].label;
    }
}

TEST(ExtendedCpuPage, ASecondLevelCacheOf512KBOrMoreIsOnTheCartridge) {
    const auto rows = pageFor(0x00000043, 1466.9f);
    EXPECT_EQ(rows[14].value, "512 KByte");
    EXPECT_EQ(rows[16].value + "|" + rows[17].value + "|" + rows[18].value,
              "External On SECC Cartdrige|Unknow|unknow");
}

TEST(ExtendedCpuPage, ProcessorFieldCountsProcessors) {
    EXPECT_EQ(pageFor(0x82, 0, 2)[2].value, "2xPentium III Processor");
    EXPECT_EQ(processorFieldText(2, "AMD Ryzen 7 5800X 8-Core Processor"),
              "2xAMD Ryzen 7 5800X 8-Core Processor");
    EXPECT_EQ(processorFieldText(1, "Oxide Virtual Processor"), "Oxide Virtual Processor");
}

TEST(FeatureRows, HeadingsBlanksAndOneRowPerBit) {
    const auto rows = featureRows(0x80000001u, 0x00400000u);
    ASSERT_EQ(rows.size(), 72u);
    std::string headings, supported;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        headings += rows[i].description.empty() ? rows[i].item + "|" : "";
        supported += rows[i].description == "Supported" ? rows[i].item + "|" : "";
    }
    EXPECT_EQ(headings, " |   Standard Features Flag| | | |   Extended Feature Flags| | |");
    EXPECT_EQ(supported,
              "      Built in Floating point unit (bit 1)|      bit 32 reserved|"
              "      MMX Instructions Extensions (bit 23)|");
    EXPECT_EQ(rows[5].description, "Not Supported");
}

TEST(CpuLogo, ChosenByVendorFamilyModelAndCache) {
    const auto logos = [](const char* vendor, int family, std::initializer_list<int> models,
                          int l2KB) {
        std::string text;
        for (const int model : models) {
            text += cpuLogoName(vendor, family, model, l2KB) + "|";
        }
        return text;
    };
    EXPECT_EQ(logos("AuthenticAMD", 5, {8, 9, 10, 13}, -1), "AMD_K6-2|AMD_K6-3||AMD_K6-3|");
    EXPECT_EQ(logos("AuthenticAMD", 6, {3, 6, 7, 8, 10}, 256),
              "AMD_Duron|AMD_AthlonXP|AMD_Duron|AMD_AthlonXP|AMD_Athlon|");
    EXPECT_EQ(logos("GenuineIntel", 6, {5, 6, 7, 8}, 128),
              "Intel_Celeron|Intel_Celeron|PIIILogo|Intel_Celeron|");
    EXPECT_EQ(logos("GenuineIntel", 6, {5, 8}, 256), "PIIILogo|PIIILogo|");
    EXPECT_EQ(logos("GenuineIntel", 15, {2}, 0) + logos("CyrixInstead", 6, {0}, 0),
              "IntelPentium4||");
}

}  // namespace
}  // namespace veltrane::ident
