#include "ident/CpuFlags.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <optional>
#include <utility>

#include "platform/CpuidLeaves.h"

namespace veltrane::ident {

namespace {

using enum CpuidRegister;
using enum RegisterState;

// A CPUID register that holds flags.
struct FlagWord {
    std::uint32_t leaf;
    std::uint32_t subleaf;
    CpuidRegister reg;
};

constexpr FlagWord kStandardEdx{0x1, 0, edx};
constexpr FlagWord kStandardEcx{0x1, 0, ecx};
constexpr FlagWord kPowerEax{0x6, 0, eax};
constexpr FlagWord kPowerEcx{0x6, 0, ecx};
constexpr FlagWord kStructuredEbx{0x7, 0, ebx};
constexpr FlagWord kStructuredEcx{0x7, 0, ecx};
constexpr FlagWord kStructuredEdx{0x7, 0, edx};
constexpr FlagWord kStructured1Eax{0x7, 1, eax};
constexpr FlagWord kStructured1Ebx{0x7, 1, ebx};
constexpr FlagWord kXsaveEax{0xD, 1, eax};
constexpr FlagWord kMonitoringEdx{0xF, 0, edx};
constexpr FlagWord kMonitoringL3Edx{0xF, 1, edx};
constexpr FlagWord kAllocationEbx{0x10, 0, ebx};
constexpr FlagWord kAllocationL3Ecx{0x10, 1, ecx};
constexpr FlagWord kAllocationL2Ecx{0x10, 2, ecx};
constexpr FlagWord kExtendedEdx{0x80000001, 0, edx};
constexpr FlagWord kExtendedEcx{0x80000001, 0, ecx};
constexpr FlagWord kRasEbx{0x80000007, 0, ebx};
constexpr FlagWord kPowerManagementEdx{0x80000007, 0, edx};
constexpr FlagWord kAmdExtendedEbx{0x80000008, 0, ebx};
constexpr FlagWord kSvmEdx{0x8000000A, 0, edx};
constexpr FlagWord kEncryptionEax{0x8000001F, 0, eax};
constexpr FlagWord kAmdPerfmonEax{0x80000022, 0, eax};
constexpr FlagWord kTransmetaEdx{0x80860001, 0, edx};
constexpr FlagWord kCentaurEdx{0xC0000001, 0, edx};

constexpr CpuFlag flag(FlagWord word, int bit, std::string_view name, RegisterState state = none) {
    return {word.leaf, word.subleaf, word.reg, bit, name, state};
}

// Grouped as Linux numbers its feature words; within a word by bit.
constexpr std::array kFlags{
    flag(kStandardEdx, 0, "fpu"),
    flag(kStandardEdx, 1, "vme"),
    flag(kStandardEdx, 2, "de"),
    flag(kStandardEdx, 3, "pse"),
    flag(kStandardEdx, 4, "tsc"),
    flag(kStandardEdx, 5, "msr"),
    flag(kStandardEdx, 6, "pae"),
    flag(kStandardEdx, 7, "mce"),
    flag(kStandardEdx, 8, "cx8"),
    flag(kStandardEdx, 9, "apic"),
    flag(kStandardEdx, 11, "sep"),
    flag(kStandardEdx, 12, "mtrr"),
    flag(kStandardEdx, 13, "pge"),
    flag(kStandardEdx, 14, "mca"),
    flag(kStandardEdx, 15, "cmov"),
    flag(kStandardEdx, 16, "pat"),
    flag(kStandardEdx, 17, "pse36"),
    flag(kStandardEdx, 18, "pn"),
    flag(kStandardEdx, 19, "clflush"),
    flag(kStandardEdx, 21, "dts"),
    flag(kStandardEdx, 22, "acpi"),
    flag(kStandardEdx, 23, "mmx"),
    flag(kStandardEdx, 24, "fxsr"),
    flag(kStandardEdx, 25, "sse"),
    flag(kStandardEdx, 26, "sse2"),
    flag(kStandardEdx, 27, "ss"),
    flag(kStandardEdx, 28, "ht"),
    flag(kStandardEdx, 29, "tm"),
    flag(kStandardEdx, 30, "ia64"),
    flag(kStandardEdx, 31, "pbe"),
    // Bits that repeat leaf 1's have no name of their own.
    flag(kExtendedEdx, 11, "syscall"),
    flag(kExtendedEdx, 19, "mp"),
    flag(kExtendedEdx, 20, "nx"),
    flag(kExtendedEdx, 22, "mmxext"),
    flag(kExtendedEdx, 25, "fxsr_opt"),
    flag(kExtendedEdx, 26, "pdpe1gb"),
    flag(kExtendedEdx, 27, "rdtscp"),
    flag(kExtendedEdx, 29, "lm"),
    flag(kExtendedEdx, 30, "3dnowext"),
    flag(kExtendedEdx, 31, "3dnow"),
    flag(kTransmetaEdx, 0, "recovery"),
    flag(kTransmetaEdx, 1, "longrun"),
    flag(kTransmetaEdx, 3, "lrti"),
    // The invariant TSC gives both names.
    flag(kPowerManagementEdx, 8, "constant_tsc"),
    flag(kAmdPerfmonEax, 1, "amd_lbr_v2"),
    flag(kPowerManagementEdx, 12, "acc_power"),
    flag(kPowerManagementEdx, 8, "nonstop_tsc"),
    flag(kPowerEcx, 0, "aperfmperf"),
    flag(kPowerManagementEdx, 14, "rapl"),
    flag(kStandardEcx, 0, "pni"),
    flag(kStandardEcx, 1, "pclmulqdq"),
    flag(kStandardEcx, 2, "dtes64"),
    flag(kStandardEcx, 3, "monitor"),
    flag(kStandardEcx, 4, "ds_cpl"),
    flag(kStandardEcx, 5, "vmx"),
    flag(kStandardEcx, 6, "smx"),
    flag(kStandardEcx, 7, "est"),
    flag(kStandardEcx, 8, "tm2"),
    flag(kStandardEcx, 9, "ssse3"),
    flag(kStandardEcx, 10, "cid"),
    flag(kStandardEcx, 11, "sdbg"),
    flag(kStandardEcx, 12, "fma", avx),
    flag(kStandardEcx, 13, "cx16"),
    flag(kStandardEcx, 14, "xtpr"),
    flag(kStandardEcx, 15, "pdcm"),
    flag(kStandardEcx, 17, "pcid"),
    flag(kStandardEcx, 18, "dca"),
    flag(kStandardEcx, 19, "sse4_1"),
    flag(kStandardEcx, 20, "sse4_2"),
    flag(kStandardEcx, 21, "x2apic"),
    flag(kStandardEcx, 22, "movbe"),
    flag(kStandardEcx, 23, "popcnt"),
    flag(kStandardEcx, 24, "tsc_deadline_timer"),
    flag(kStandardEcx, 25, "aes"),
    flag(kStandardEcx, 26, "xsave"),
    flag(kStandardEcx, 28, "avx", avx),
    flag(kStandardEcx, 29, "f16c", avx),
    flag(kStandardEcx, 30, "rdrand"),
    flag(kStandardEcx, 31, "hypervisor"),
    flag(kCentaurEdx, 2, "rng"),
    flag(kCentaurEdx, 3, "rng_en"),
    flag(kCentaurEdx, 6, "ace"),
    flag(kCentaurEdx, 7, "ace_en"),
    flag(kCentaurEdx, 8, "ace2"),
    flag(kCentaurEdx, 9, "ace2_en"),
    flag(kCentaurEdx, 10, "phe"),
    flag(kCentaurEdx, 11, "phe_en"),
    flag(kCentaurEdx, 12, "pmm"),
    flag(kCentaurEdx, 13, "pmm_en"),
    flag(kExtendedEcx, 0, "lahf_lm"),
    flag(kExtendedEcx, 1, "cmp_legacy"),
    flag(kExtendedEcx, 2, "svm"),
    flag(kExtendedEcx, 3, "extapic"),
    flag(kExtendedEcx, 4, "cr8_legacy"),
    flag(kExtendedEcx, 5, "abm"),
    flag(kExtendedEcx, 6, "sse4a"),
    flag(kExtendedEcx, 7, "misalignsse"),
    flag(kExtendedEcx, 8, "3dnowprefetch"),
    flag(kExtendedEcx, 9, "osvw"),
    flag(kExtendedEcx, 10, "ibs"),
    flag(kExtendedEcx, 11, "xop", avx),
    flag(kExtendedEcx, 12, "skinit"),
    flag(kExtendedEcx, 13, "wdt"),
    flag(kExtendedEcx, 15, "lwp"),
    flag(kExtendedEcx, 16, "fma4", avx),
    flag(kExtendedEcx, 17, "tce"),
    flag(kExtendedEcx, 19, "nodeid_msr"),
    flag(kExtendedEcx, 21, "tbm"),
    flag(kExtendedEcx, 22, "topoext"),
    flag(kExtendedEcx, 23, "perfctr_core"),
    flag(kExtendedEcx, 24, "perfctr_nb"),
    flag(kExtendedEcx, 26, "bpext"),
    flag(kExtendedEcx, 27, "ptsc"),
    flag(kExtendedEcx, 28, "perfctr_llc"),
    flag(kExtendedEcx, 29, "mwaitx"),
    flag(kPowerManagementEdx, 9, "cpb"),
    flag(kPowerEcx, 3, "epb"),
    flag(kAllocationEbx, 1, "cat_l3"),
    flag(kAllocationEbx, 2, "cat_l2"),
    flag(kAllocationL3Ecx, 2, "cdp_l3"),
    flag(kPowerManagementEdx, 7, "hw_pstate"),
    flag(kPowerManagementEdx, 11, "proc_feedback"),
    flag(kStructured1Ebx, 0, "intel_ppin"),
    flag(kAllocationL2Ecx, 2, "cdp_l2"),
    // Intel and AMD say it in different leaves.
    flag(kAllocationEbx, 3, "mba"),
    flag(kAmdExtendedEbx, 6, "mba"),
    flag(kAmdPerfmonEax, 0, "perfmon_v2"),
    flag(kStructuredEbx, 0, "fsgsbase"),
    flag(kStructuredEbx, 1, "tsc_adjust"),
    flag(kStructuredEbx, 2, "sgx"),
    flag(kStructuredEbx, 3, "bmi1"),
    flag(kStructuredEbx, 4, "hle"),
    flag(kStructuredEbx, 5, "avx2", avx),
    flag(kStructuredEbx, 7, "smep"),
    flag(kStructuredEbx, 8, "bmi2"),
    flag(kStructuredEbx, 9, "erms"),
    flag(kStructuredEbx, 10, "invpcid"),
    flag(kStructuredEbx, 11, "rtm"),
    flag(kStructuredEbx, 12, "cqm"),
    flag(kStructuredEbx, 14, "mpx"),
    flag(kStructuredEbx, 15, "rdt_a"),
    flag(kStructuredEbx, 16, "avx512f", avx512),
    flag(kStructuredEbx, 17, "avx512dq", avx512),
    flag(kStructuredEbx, 18, "rdseed"),
    flag(kStructuredEbx, 19, "adx"),
    flag(kStructuredEbx, 20, "smap"),
    flag(kStructuredEbx, 21, "avx512ifma", avx512),
    flag(kStructuredEbx, 23, "clflushopt"),
    flag(kStructuredEbx, 24, "clwb"),
    flag(kStructuredEbx, 25, "intel_pt"),
    flag(kStructuredEbx, 26, "avx512pf", avx512),
    flag(kStructuredEbx, 27, "avx512er", avx512),
    flag(kStructuredEbx, 28, "avx512cd", avx512),
    flag(kStructuredEbx, 29, "sha_ni"),
    flag(kStructuredEbx, 30, "avx512bw", avx512),
    flag(kStructuredEbx, 31, "avx512vl", avx512),
    flag(kXsaveEax, 0, "xsaveopt"),
    flag(kXsaveEax, 1, "xsavec"),
    flag(kXsaveEax, 2, "xgetbv1"),
    flag(kXsaveEax, 3, "xsaves"),
    flag(kMonitoringEdx, 1, "cqm_llc"),
    flag(kMonitoringL3Edx, 0, "cqm_occup_llc"),
    flag(kMonitoringL3Edx, 1, "cqm_mbm_total"),
    flag(kMonitoringL3Edx, 2, "cqm_mbm_local"),
    flag(kStructured1Eax, 4, "avx_vnni", avx),
    flag(kStructured1Eax, 5, "avx512_bf16", avx512),
    flag(kStructured1Eax, 17, "fred"),
    flag(kStructured1Eax, 26, "lam"),
    flag(kAmdExtendedEbx, 0, "clzero"),
    flag(kAmdExtendedEbx, 1, "irperf"),
    flag(kAmdExtendedEbx, 2, "xsaveerptr"),
    flag(kAmdExtendedEbx, 4, "rdpru"),
    flag(kAmdExtendedEbx, 9, "wbnoinvd"),
    flag(kAmdExtendedEbx, 23, "amd_ppin"),
    flag(kAmdExtendedEbx, 25, "virt_ssbd"),
    flag(kAmdExtendedEbx, 27, "cppc"),
    flag(kAmdExtendedEbx, 31, "brs"),
    flag(kPowerEax, 0, "dtherm"),
    flag(kPowerEax, 1, "ida"),
    flag(kPowerEax, 2, "arat"),
    flag(kPowerEax, 4, "pln"),
    flag(kPowerEax, 6, "pts"),
    flag(kPowerEax, 7, "hwp"),
    flag(kPowerEax, 8, "hwp_notify"),
    flag(kPowerEax, 9, "hwp_act_window"),
    flag(kPowerEax, 10, "hwp_epp"),
    flag(kPowerEax, 11, "hwp_pkg_req"),
    flag(kPowerEax, 19, "hfi"),
    flag(kSvmEdx, 0, "npt"),
    flag(kSvmEdx, 1, "lbrv"),
    flag(kSvmEdx, 2, "svm_lock"),
    flag(kSvmEdx, 3, "nrip_save"),
    flag(kSvmEdx, 4, "tsc_scale"),
    flag(kSvmEdx, 5, "vmcb_clean"),
    flag(kSvmEdx, 6, "flushbyasid"),
    flag(kSvmEdx, 7, "decodeassists"),
    flag(kSvmEdx, 10, "pausefilter"),
    flag(kSvmEdx, 12, "pfthreshold"),
    flag(kSvmEdx, 13, "avic"),
    flag(kSvmEdx, 15, "v_vmsave_vmload"),
    flag(kSvmEdx, 16, "vgif"),
    flag(kSvmEdx, 18, "x2avic"),
    flag(kSvmEdx, 20, "v_spec_ctrl"),
    flag(kSvmEdx, 25, "vnmi"),
    flag(kStructuredEcx, 1, "avx512vbmi", avx512),
    flag(kStructuredEcx, 2, "umip"),
    flag(kStructuredEcx, 3, "pku"),
    flag(kStructuredEcx, 4, "ospke"),
    flag(kStructuredEcx, 5, "waitpkg"),
    flag(kStructuredEcx, 6, "avx512_vbmi2", avx512),
    flag(kStructuredEcx, 8, "gfni"),
    flag(kStructuredEcx, 9, "vaes", avx),
    flag(kStructuredEcx, 10, "vpclmulqdq", avx),
    flag(kStructuredEcx, 11, "avx512_vnni", avx512),
    flag(kStructuredEcx, 12, "avx512_bitalg", avx512),
    flag(kStructuredEcx, 13, "tme"),
    flag(kStructuredEcx, 14, "avx512_vpopcntdq", avx512),
    flag(kStructuredEcx, 16, "la57"),
    flag(kStructuredEcx, 22, "rdpid"),
    flag(kStructuredEcx, 24, "bus_lock_detect"),
    flag(kStructuredEcx, 25, "cldemote"),
    flag(kStructuredEcx, 27, "movdiri"),
    flag(kStructuredEcx, 28, "movdir64b"),
    flag(kStructuredEcx, 29, "enqcmd"),
    flag(kStructuredEcx, 30, "sgx_lc"),
    flag(kRasEbx, 0, "overflow_recov"),
    flag(kRasEbx, 1, "succor"),
    flag(kRasEbx, 3, "smca"),
    flag(kStructuredEdx, 2, "avx512_4vnniw", avx512),
    flag(kStructuredEdx, 3, "avx512_4fmaps", avx512),
    flag(kStructuredEdx, 4, "fsrm"),
    flag(kStructuredEdx, 8, "avx512_vp2intersect", avx512),
    flag(kStructuredEdx, 10, "md_clear"),
    flag(kStructuredEdx, 14, "serialize"),
    flag(kStructuredEdx, 15, "hybrid_cpu"),
    flag(kStructuredEdx, 16, "tsxldtrk"),
    flag(kStructuredEdx, 18, "pconfig"),
    flag(kStructuredEdx, 19, "arch_lbr"),
    flag(kStructuredEdx, 20, "ibt"),
    flag(kStructuredEdx, 22, "amx_bf16", amx),
    flag(kStructuredEdx, 23, "avx512_fp16", avx512),
    flag(kStructuredEdx, 24, "amx_tile", amx),
    flag(kStructuredEdx, 25, "amx_int8", amx),
    flag(kStructuredEdx, 28, "flush_l1d"),
    flag(kStructuredEdx, 29, "arch_capabilities"),
    flag(kEncryptionEax, 0, "sme"),
    flag(kEncryptionEax, 1, "sev"),
    flag(kEncryptionEax, 3, "sev_es"),
    flag(kEncryptionEax, 4, "sev_snp"),
    flag(kEncryptionEax, 14, "debug_swap"),
    flag(kEncryptionEax, 28, "svsm"),
    flag(kAmdPerfmonEax, 2, "amd_lbr_pmc_freeze"),
};

// Ranges a processor has only if its vendor says so: elsewhere their
// leaves answer with another leaf's data.
constexpr std::uint32_t kTransmetaBase = 0x80860000;
constexpr std::uint32_t kCentaurBase = 0xC0000000;

std::string vendorText(const platform::CpuProbe& probe) {
    const auto r = probe.cpuid(platform::cpuid::kVendorLeaf);
    char text[12];
    std::memcpy(text, &r.ebx, 4);
    std::memcpy(text + 4, &r.edx, 4);
    std::memcpy(text + 8, &r.ecx, 4);
    return std::string(text, sizeof text);
}

bool rangeBelongsToVendor(std::uint32_t base, const std::string& vendor) {
    switch (base) {
        case kTransmetaBase:
            return vendor == "GenuineTMx86" || vendor == "TransmetaCPU";
        case kCentaurBase:
            return vendor == "CentaurHauls" || vendor == "  Shanghai  ";
        default:
            return true;
    }
}

std::uint32_t registerValue(const platform::CpuidRegisters& r, CpuidRegister reg) {
    switch (reg) {
        case eax:
            return r.eax;
        case ebx:
            return r.ebx;
        case ecx:
            return r.ecx;
        case edx:
            break;
    }
    return r.edx;
}

// Answers a leaf once, and only when the processor has it.
class FlagReader {
public:
    explicit FlagReader(const platform::CpuProbe& probe)
        : probe_(probe), vendor_(vendorText(probe)) {}

    bool isSet(const CpuFlag& flag) {
        const auto registers = answer(flag.leaf, flag.subleaf);
        return registers && ((registerValue(*registers, flag.reg) >> flag.bit) & 1) != 0;
    }

private:
    std::optional<platform::CpuidRegisters> answer(std::uint32_t leaf, std::uint32_t subleaf) {
        const auto key = std::pair(leaf, subleaf);
        if (const auto it = answers_.find(key); it != answers_.end()) {
            return it->second;
        }
        const bool present = hasLeaf(leaf) && hasSubleaf(leaf, subleaf);
        return answers_[key] = present ? std::optional(probe_.cpuid(leaf, subleaf)) : std::nullopt;
    }

    // As Linux checks: the range's first leaf names its last, within the range.
    bool hasLeaf(std::uint32_t leaf) {
        const std::uint32_t base = leaf & 0xFFFF0000u;
        if (!rangeBelongsToVendor(base, vendor_)) {
            return false;
        }
        auto [it, fresh] = lastLeaves_.try_emplace(base, 0);
        if (fresh) {
            it->second = probe_.cpuid(base).eax;
        }
        return it->second >= leaf && it->second <= (base | 0xFFFFu);
    }

    bool hasSubleaf(std::uint32_t leaf, std::uint32_t subleaf) {
        if (leaf != platform::cpuid::kStructuredFeaturesLeaf || subleaf == 0) {
            return true;
        }
        const auto first = answer(leaf, 0);
        return first && first->eax >= subleaf;
    }

    const platform::CpuProbe& probe_;
    std::string vendor_;
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::optional<platform::CpuidRegisters>>
        answers_;
    std::map<std::uint32_t, std::uint32_t> lastLeaves_;
};

std::vector<std::string> setFlags(const platform::CpuProbe& probe, bool usableOnly) {
    FlagReader reader(probe);
    std::vector<std::string> names;
    for (const auto& flag : kFlags) {
        const bool listed = std::find(names.begin(), names.end(), flag.name) != names.end();
        const bool usable = !usableOnly || osSupport(probe, flag.state) != OsSupport::disabled;
        if (!listed && usable && reader.isSet(flag)) {
            names.emplace_back(flag.name);
        }
    }
    return names;
}

}  // namespace

std::span<const CpuFlag> cpuFlagTable() {
    return kFlags;
}

std::vector<std::string> cpuFlags(const platform::CpuProbe& probe) {
    return setFlags(probe, false);
}

std::vector<std::string> usableCpuFlags(const platform::CpuProbe& probe) {
    return setFlags(probe, true);
}

}  // namespace veltrane::ident
