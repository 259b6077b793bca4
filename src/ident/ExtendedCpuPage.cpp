#include "ident/ExtendedCpuPage.h"

#include <array>

#include "ident/ClockTexts.h"
#include "ident/ProcessorIdentity.h"
#include "ident/Vendor.h"
#include "platform/Format.h"

namespace veltrane::ident {

namespace {

constexpr std::array<const char*, 32> kStandardLabels{
    "Built in Floating point unit (bit 1)",
    "Virtual Mode Extensions (bit 2)",
    "Debugging Extensions (bit 3)",
    "Page Size Extensions (bit 4)",
    "TimeStamp Counter (bit 5)",
    "Models Specific Registers Support (bit 6)",
    "Page Address Extensions (bit 7)",
    "Machine check extensions (bit 8)",
    "CMPXCHG8B Instruction (bit 9)",
    "Built in APIC Hardware (bit 10)",
    "bit 11 reserved",
    "FastSystem Call (bit 12)",
    "Memory Type Range Registers (bit 13)",
    "Page Global Enable (bit 14)",
    "Machine check Architecture (bit 15)",
    "Conditional Move Instruction (bit 16)",
    "Page Attribute Table (bit 17)",
    "36 bit Page Size Extensions (PAE) (bit 18)",
    "96  Bit Processor Number (bit 19)",
    "CLFLUSH Instruction (bit 20)",
    "bit 21 Reserved",
    "Debug Trace Store (bit 22)",
    "ACPI Supported (bit 23)",
    "MMX Instructions (bit 24)",
    "Fast Floating Point Save/Restore (bit 25)",
    "Streaming SIMD Extensions (bit 26)",
    "Streaming SIMD Extensions 2 (bit 27)",
    "Self Snoop (bit 28)",
    "(Jackson Tecnology (bit 29)",
    "Thermal Monitor on chip (bit 30)",
    "IA-64 Processor capable (bit 31)",
    "bit 32 reserved",
};

constexpr std::array<const char*, 32> kExtendedLabels{
    "Built in Floating point unit (bit 1)",
    "Virtual Mode Extensions (bit 2)",
    "Debugging Extensions (bit 3)",
    "Page Size Extensions (bit 4)",
    "TimeStamp Counter (bit 5)",
    "AMD K86 Models Specific Regs (bit 6)",
    "Page Address Extensions (bit 7)",
    "Machine check extensions (bit 8)",
    "CMPXCHG8B Instruction (bit 9)",
    "Built in APIC Hardware (bit 10)",
    "bit 11 reserved",
    "FastSystem Call (bit 12)",
    "Memory Type Range Registers (bit 13)",
    "Page Global Enable (bit 14)",
    "Machine check Architecture (bit 15)",
    "Conditional Move Instruction (bit 16)",
    "Page Attribute Table (bit 17) ",
    "36 bit Page Size Extensions (PAE) (bit 18)",
    "Bit 19 Reserved",
    "bit 20 Reserved",
    "bit 21 Reserved",
    "bit 22 Reserved",
    "MMX Instructions Extensions (bit 23)",
    "MMX Instructions (bit 24)",
    "Fast Floating Point Save/Restore (bit 25)",
    "bit 26 reserved",
    "bit 27 reserved",
    "bit 28 reserved",
    "bit 29 reserved",
    "x86-64 Extended Technology (bit 30)",
    "3DNow! Instruction SetExtension (bit 31)",
    "3DNow! Instruction Set (bit 32)",
};

constexpr int kOnChipL2LimitKB = 512;

void appendFlagRows(std::vector<FeatureRow>& rows, const char* heading, std::uint32_t flags,
                    const std::array<const char*, 32>& labels) {
    rows.push_back({" ", ""});
    rows.push_back({heading, ""});
    rows.push_back({" ", ""});
    rows.push_back({" ", ""});
    for (int bit = 0; bit < 32; ++bit) {
        const bool set = ((flags >> bit) & 1u) != 0;
        rows.push_back({std::string("      ") + labels[static_cast<std::size_t>(bit)],
                        set ? "Supported" : "Not Supported"});
    }
}

std::vector<LabelledValue> l2Rows(int l2KB, float clockMHz) {
    const bool onChip = l2KB < kOnChipL2LimitKB;
    return {
        {"L2 Cache Loc:", onChip ? "Internal (full - speed)" : "External On SECC Cartdrige"},
        {"L2 Divider:", onChip ? "1/1" : "Unknow"},
        {"L2 Cache Freq:",
         onChip ? strprintf("%d MHz", static_cast<int>(clockMHz)) : std::string("unknow")},
    };
}

std::string hexText(int value) {
    return strprintf("%X", static_cast<unsigned>(value));
}

std::string kbyteText(int value) {
    return strprintf("%d KByte", value);
}

}  // namespace

std::string processorFieldText(int processorCount, const std::string& processorName) {
    // Brand strings of newer processors often end in the word already.
    const bool named = processorName.ends_with(" Processor");
    if (processorCount > 1) {
        return strprintf(named ? "%dx%s" : "%dx%s Processor", processorCount,
                         processorName.c_str());
    }
    return named ? processorName : processorName + " Processor";
}

std::vector<LabelledValue> extendedCpuValues(const ProcessorIdentity& identity,
                                             const ExtendedCpuInputs& inputs) {
    const auto& d = inputs.definition;
    std::vector<LabelledValue> rows{
        {"Manufacturer:", d.manufacturer},
        {"Vendor String:", identity.vendor},
        {"Processor:", processorFieldText(identity.processorCount(), d.processorName)},
        {"CPU Codename:", d.codename},
        {"Bus type:", d.busType},
        {"Platform:", d.platform},
        {"Family:", hexText(identity.family)},
        {"Model:", hexText(identity.model)},
        {"Step:", hexText(identity.stepping)},
        {"Step Mask:", d.stepMask},
        {"Freq. Range:", d.frequencyRange},
        {"Default Vcore:", d.defaultVcore},
        {"L1D cache:", kbyteText(identity.l1DataKB)},
        {"L1 Instr. cache:", kbyteText(identity.l1CodeKB)},
        {"L2 Cache:", kbyteText(identity.l2KB)},
        {"Trace Cache:", inputs.traceCacheText},
    };
    for (auto& row : l2Rows(identity.l2KB, inputs.clockMHz)) {
        rows.push_back(std::move(row));
    }
    rows.push_back({"F. Flags:", strprintf("0x%X", identity.standardFeatureFlags())});
    rows.push_back({"Frequency:", pageFrequencyText(inputs.clockMHz)});
    rows.push_back({"Current Vcore:", "", false});
    rows.push_back({"Multiplier:", "", false});
    rows.push_back({"FSB Freq:", "", false});
    // Filled where the processor reports a family or model beyond four bits.
    rows.push_back({"Extended Family:", hexText(identity.displayFamily())});
    rows.push_back({"Extended Model:", hexText(identity.displayModel())});
    rows.push_back({"Extended Step:", hexText(identity.stepping)});
    return rows;
}

std::vector<FeatureRow> featureRows(std::uint32_t standardFlags, std::uint32_t extendedFlags) {
    std::vector<FeatureRow> rows;
    appendFlagRows(rows, "   Standard Features Flag", standardFlags, kStandardLabels);
    appendFlagRows(rows, "   Extended Feature Flags", extendedFlags, kExtendedLabels);
    return rows;
}

std::string cpuLogoName(const std::string& vendor, int family, int model, int l2KB) {
    if (vendor == kVendorAmd && family == 5) {
        if (model == 6 || model == 7 || model == 8) {
            return "AMD_K6-2";
        }
        return model == 9 || model == 13 ? "AMD_K6-3" : "";
    }
    if (vendor == kVendorAmd && family == 6) {
        if (model == 3 || model == 7) {
            return "AMD_Duron";
        }
        return model == 6 || model == 8 ? "AMD_AthlonXP" : "AMD_Athlon";
    }
    if (vendor == kVendorIntel && family == 6) {
        const bool celeronModel = model == 5 || model == 6 || model == 8;
        return celeronModel && (l2KB == 0 || l2KB == 128) ? "Intel_Celeron" : "PIIILogo";
    }
    if (vendor == kVendorIntel && family == 15) {
        return "IntelPentium4";
    }
    return "";
}

}  // namespace veltrane::ident
