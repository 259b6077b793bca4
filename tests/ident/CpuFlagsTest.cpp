// The feature flags under their Linux names, the vector state the OS has
// enabled, and this processor's flags against what its kernel shows.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "ident/CpuFlags.h"
#include "ident/FeatureFlagsPage.h"
#include "platform/CpuidLeaves.h"
#include "support/FakeCpu.h"

namespace veltrane::ident {
namespace {

using platform::CpuidKey;
using platform::CpuidRegisters;

// CPUID answers built register by register, then handed to a FakeCpu.
class Answers {
public:
    Answers& set(std::uint32_t leaf, std::uint32_t subleaf, CpuidRegister reg, std::uint32_t bits) {
        auto& r = leaves_[{leaf, subleaf}];
        (reg == CpuidRegister::eax   ? r.eax
         : reg == CpuidRegister::ebx ? r.ebx
         : reg == CpuidRegister::ecx ? r.ecx
                                     : r.edx) |= bits;
        return *this;
    }

    Answers& bit(std::uint32_t leaf, std::uint32_t subleaf, CpuidRegister reg, int bit) {
        return set(leaf, subleaf, reg, 1u << bit);
    }

    test::FakeCpu cpu() const {
        test::FakeCpu cpu;
        for (const auto& [key, registers] : leaves_) {
            cpu.leaf(key.leaf, registers, key.subleaf);
        }
        return cpu;
    }

private:
    std::map<CpuidKey, CpuidRegisters> leaves_;
};

// An AMD processor with leaves up to 0x10 and 0x80000026 and leaf 7's
// sub-leaves 0 and 1, and no flag set.
Answers modernAmd(std::uint32_t highest = 0x10, std::uint32_t highestExtended = 0x80000026,
                  std::uint32_t lastSubleafOf7 = 1) {
    Answers answers;
    answers.set(0, 0, CpuidRegister::eax, highest)
        .set(0, 0, CpuidRegister::ebx, 0x68747541)  // "AuthenticAMD"
        .set(0, 0, CpuidRegister::edx, 0x69746e65)
        .set(0, 0, CpuidRegister::ecx, 0x444d4163)
        .set(7, 0, CpuidRegister::eax, lastSubleafOf7)
        .set(0x80000000, 0, CpuidRegister::eax, highestExtended);
    return answers;
}

std::string spaced(const std::vector<std::string>& words) {
    std::string text;
    for (const auto& word : words) {
        text += (text.empty() ? "" : " ") + word;
    }
    return text;
}

std::string flagsOf(const test::FakeCpu& cpu, bool usable = false) {
    const auto probe = cpu.probe();
    return spaced(usable ? usableCpuFlags(probe) : cpuFlags(probe));
}

using enum CpuidRegister;

TEST(CpuFlags, EachBitLandsOnItsLinuxName) {
    const struct {
        std::uint32_t leaf;
        std::uint32_t subleaf;
        CpuidRegister reg;
        int bit;
        const char* names;
    } cases[] = {
        {1, 0, edx, 0, "fpu"},
        {1, 0, edx, 10, ""},  // reserved
        {1, 0, edx, 18, "pn"},
        {1, 0, edx, 21, "dts"},
        {1, 0, edx, 28, "ht"},
        {1, 0, ecx, 0, "pni"},
        {1, 0, ecx, 27, ""},  // OSXSAVE: Linux shows no flag for it
        {1, 0, ecx, 31, "hypervisor"},
        {6, 0, eax, 2, "arat"},
        {6, 0, eax, 19, "hfi"},
        {6, 0, ecx, 0, "aperfmperf"},
        {6, 0, ecx, 3, "epb"},
        {7, 0, ebx, 16, "avx512f"},
        {7, 0, ebx, 29, "sha_ni"},
        {7, 0, ecx, 14, "avx512_vpopcntdq"},
        {7, 0, edx, 8, "avx512_vp2intersect"},
        {7, 0, edx, 29, "arch_capabilities"},
        {7, 1, eax, 5, "avx512_bf16"},
        {7, 1, ebx, 0, "intel_ppin"},
        {0xD, 1, eax, 3, "xsaves"},
        {0xF, 0, edx, 1, "cqm_llc"},
        {0xF, 1, edx, 2, "cqm_mbm_local"},
        {0x10, 2, ecx, 2, "cdp_l2"},
        {0x80000001, 0, edx, 0, ""},  // leaf 1's FPU bit again
        {0x80000001, 0, edx, 26, "pdpe1gb"},
        {0x80000001, 0, ecx, 8, "3dnowprefetch"},
        {0x80000007, 0, ebx, 3, "smca"},
        {0x80000007, 0, edx, 8, "constant_tsc nonstop_tsc"},
        {0x80000007, 0, edx, 9, "cpb"},
        {0x80000008, 0, ebx, 0, "clzero"},
        {0x8000000A, 0, edx, 2, "svm_lock"},
        {0x8000000A, 0, edx, 7, "decodeassists"},
        {0x8000001F, 0, eax, 1, "sev"},
        {0x80000022, 0, eax, 2, "amd_lbr_pmc_freeze"},
    };
    for (const auto& c : cases) {
        const auto cpu = modernAmd().bit(c.leaf, c.subleaf, c.reg, c.bit).cpu();
        EXPECT_EQ(flagsOf(cpu), c.names)
            << std::hex << c.leaf << "/" << c.subleaf << " bit " << std::dec << c.bit;
    }
    // Intel and AMD name memory bandwidth allocation in different leaves: one flag.
    const auto both = modernAmd().bit(0x10, 0, ebx, 3).bit(0x80000008, 0, ebx, 6).cpu();
    EXPECT_EQ(flagsOf(both), "mba");
}

TEST(CpuFlags, TableNamesAreLinuxNamesInLinuxOrder) {
    std::set<std::string_view> names;
    std::set<std::tuple<std::uint32_t, std::uint32_t, CpuidRegister, int>> bits;
    for (const auto& flag : cpuFlagTable()) {
        EXPECT_TRUE(flag.bit >= 0 && flag.bit < 32) << flag.name;
        EXPECT_EQ(flag.name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_"),
                  std::string_view::npos)
            << flag.name;
        const bool sharedBit = !bits.insert({flag.leaf, flag.subleaf, flag.reg, flag.bit}).second;
        const bool sharedName = !names.insert(flag.name).second;
        EXPECT_TRUE(!sharedBit || flag.name == "nonstop_tsc") << flag.name;
        EXPECT_TRUE(!sharedName || flag.name == "mba") << flag.name;
    }
    // Every bit set: the list follows the table, as /proc/cpuinfo does.
    Answers all = modernAmd(0x1F, 0x80000026);
    for (const auto& flag : cpuFlagTable()) {
        all.bit(flag.leaf, flag.subleaf, flag.reg, flag.bit);
    }
    const auto listed = flagsOf(all.cpu());
    EXPECT_TRUE(listed.starts_with("fpu vme de pse tsc msr pae mce cx8 apic sep mtrr pge mca"));
    EXPECT_NE(listed.find("lm 3dnowext 3dnow constant_tsc amd_lbr_v2"), std::string::npos);
    EXPECT_TRUE(listed.ends_with("debug_swap svsm amd_lbr_pmc_freeze")) << listed;
}

// The dump of the virtual machine the program is developed on.
TEST(CpuFlags, OfARecordedProcessorAreTheBitsItSets) {
    EXPECT_EQ(spaced(cpuFlags(*test::recordedProbe("zen5-virtual"))),
              "fpu vme de pse tsc msr pae mce cx8 apic sep mtrr pge mca cmov pat pse36 clflush "
              "mmx fxsr sse sse2 ht syscall nx mmxext pdpe1gb lm constant_tsc nonstop_tsc pni "
              "pclmulqdq ssse3 fma cx16 sse4_1 sse4_2 movbe popcnt aes xsave avx f16c rdrand "
              "hypervisor lahf_lm cr8_legacy abm sse4a misalignsse 3dnowprefetch bpext fsgsbase "
              "bmi1 avx2 smep bmi2 erms avx512f avx512dq adx smap avx512ifma clflushopt clwb "
              "avx512cd sha_ni avx512bw avx512vl xsaveopt xsavec xgetbv1 avx_vnni avx512_bf16 "
              "clzero xsaveerptr arat avx512vbmi avx512_vbmi2 gfni vaes vpclmulqdq avx512_vnni "
              "avx512_bitalg avx512_vpopcntdq movdiri movdir64b fsrm avx512_vp2intersect");
}

// Answers CPUID from `inner` and keeps the highest leaf of each range asked for.
class WatchedProbe final : public platform::CpuProbe {
public:
    explicit WatchedProbe(const platform::CpuProbe& inner) : inner_(inner) {}
    platform::CpuidRegisters cpuid(std::uint32_t leaf, std::uint32_t subleaf) const override {
        auto& highest = highestAsked[leaf & 0xFFFF0000u];
        highest = std::max(highest, leaf);
        if (leaf == platform::cpuid::kStructuredFeaturesLeaf) {
            highestSubleafOf7 = std::max(highestSubleafOf7, subleaf);
        }
        return inner_.cpuid(leaf, subleaf);
    }
    std::uint64_t readTimeStampCounter() const override { return 0; }

    mutable std::map<std::uint32_t, std::uint32_t> highestAsked;
    mutable std::uint32_t highestSubleafOf7 = 0;

private:
    const platform::CpuProbe& inner_;
};

TEST(CpuFlags, ReadsNoLeafBeyondTheHighestOfItsRange) {
    const auto centaur = [](std::uint32_t highest) {
        Answers answers;
        answers.set(0, 0, eax, 1).set(0, 0, ebx, 0x746e6543).set(0, 0, edx, 0x48727561);
        answers.set(0, 0, ecx, 0x736c7561).set(0xC0000000, 0, eax, highest);
        return answers.bit(0xC0000001, 0, edx, 2).bit(1, 0, edx, 0);  // rng, fpu
    };
    const struct {
        Answers answers;
        const char* flags;
        std::map<std::uint32_t, std::uint32_t> highestAsked;
        std::uint32_t highestSubleafOf7;
    } cases[] = {
        {modernAmd(5, 0x80000007).bit(6, 0, eax, 2).bit(0x80000008, 0, ebx, 0).bit(1, 0, edx, 0),
         "fpu",
         {{0, 1}, {0x80000000, 0x80000007}},
         0},
        // Leaf 7.0 says it has no sub-leaf 1.
        {modernAmd(0x10, 0x80000026, 0).bit(7, 1, eax, 5).bit(7, 0, ebx, 3),
         "bmi1",
         {{0, 0x10}, {0x80000000, 0x80000022}},
         0},
        // No extended leaves: 0x80000000 answers with a basic leaf's data.
        {modernAmd(0xD, 0xD).bit(0x80000001, 0, ecx, 0),
         "",
         {{0, 0xD}, {0x80000000, 0x80000000}},
         1},
        // The Centaur range only where the vendor has it.
        {centaur(0xC0000001),
         "fpu rng",
         {{0, 1}, {0x80000000, 0x80000000}, {0xC0000000, 0xC0000001}},
         0},
        {centaur(0xC0000000),
         "fpu",
         {{0, 1}, {0x80000000, 0x80000000}, {0xC0000000, 0xC0000000}},
         0},
    };
    for (const auto& c : cases) {
        const auto recorded = c.answers.cpu().probe();
        const WatchedProbe watched(recorded);
        EXPECT_EQ(spaced(cpuFlags(watched)), c.flags);
        EXPECT_EQ(watched.highestAsked, c.highestAsked) << c.flags;
        EXPECT_EQ(watched.highestSubleafOf7, c.highestSubleafOf7) << c.flags;
    }
}

// A processor with SSE, AVX and FMA, AVX2, AVX-512 and AMX tiles; OSXSAVE
// as given, with the XCR0 the OS set, or none recorded.
test::FakeCpu vectorCpu(bool osXsave, std::optional<std::uint64_t> xcr0) {
    auto answers = modernAmd().bit(1, 0, edx, 25).bit(1, 0, ecx, 28).bit(1, 0, ecx, 12);
    answers.bit(7, 0, ebx, 5).bit(7, 0, ebx, 16).bit(7, 0, edx, 24);
    if (osXsave) {
        answers.bit(1, 0, ecx, platform::cpuid::kOsXsaveBit);
    }
    auto cpu = answers.cpu();
    if (xcr0) {
        cpu.xcr0(*xcr0);
    }
    return cpu;
}

TEST(UsableCpuFlags, HidesFlagsWhoseRegisterStateTheOsHasNotEnabled) {
    const char* all = "sse fma avx avx2 avx512f amx_tile";
    const struct {
        bool osXsave;
        std::optional<std::uint64_t> xcr0;
        const char* usable;
        const char* state;
    } cases[] = {
        {true, 0x600E7, all,
         "XCR0: 0x00000000000600E7|SSE: supported, enabled by the OS|AVX: supported, enabled by "
         "the OS|AVX-512: supported, enabled by the OS|AMX: supported, enabled by the OS"},
        {true, 0x7, "sse fma avx avx2",
         "XCR0: 0x0000000000000007|SSE: supported, enabled by the OS|AVX: supported, enabled by "
         "the OS|AVX-512: supported, not enabled by the OS|AMX: supported, not enabled by the OS"},
        // AVX-512 needs all three of its components and the AVX state below them.
        {true, 0xE3, "sse",
         "XCR0: 0x00000000000000E3|SSE: supported, enabled by the OS|AVX: supported, not enabled "
         "by the OS|AVX-512: supported, not enabled by the OS|AMX: supported, not enabled by the "
         "OS"},
        {false, std::nullopt, "sse",
         "XCR0: not readable (XSAVE not enabled by the OS)|SSE: supported, OS state not "
         "known|AVX: supported, not enabled by the OS|AVX-512: supported, not enabled by the "
         "OS|AMX: supported, not enabled by the OS"},
        // A dump made before XCR0 was recorded: nothing is hidden.
        {true, std::nullopt, all,
         "XCR0: not recorded|SSE: supported, OS state not known|AVX: supported, OS state not "
         "known|AVX-512: supported, OS state not known|AMX: supported, OS state not known"},
    };
    for (const auto& c : cases) {
        const auto probe = vectorCpu(c.osXsave, c.xcr0).probe();
        EXPECT_EQ(spaced(cpuFlags(probe)), all);
        EXPECT_EQ(spaced(usableCpuFlags(probe)), c.usable);
        std::string rows;
        for (const auto& row : featureFlagsPage(probe).vectorState) {
            rows += (rows.empty() ? "" : "|") + row.label + " " + row.value;
        }
        EXPECT_EQ(rows, c.state);
    }
}

TEST(VectorState, ShowsAmxOnlyWhereTheProcessorOrTheOsHasIt) {
    const auto plain = modernAmd().bit(1, 0, edx, 25).bit(1, 0, ecx, 27).cpu().xcr0(0x3).probe();
    const auto rows = featureFlagsPage(plain).vectorState;
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[2].value, "not supported");
    EXPECT_EQ(rows[3].label, "AVX-512:");
}

std::set<std::string> wordSet(const std::string& text) {
    std::istringstream words(text);
    return std::set<std::string>(std::istream_iterator<std::string>(words), {});
}

// Flags Linux shows that no CPUID bit gives directly, so no table can have them.
const std::set<std::string> kKernelOnlyFlags = wordSet(
    // Synthesised from the processor's family and model or its vendor.
    "rep_good nopl xtopology cpuid extd_apicid amd_dcm up art arch_perfmon pebs bts cxmmx "
    "k6_mtrr cyrix_arr centaur_mcr nonstop_tsc_s3 ring3mwait "
    // Linux also sets these from the model, or on AMD from family 0x12 on,
    // whatever leaves 6 and 0x80000007 say.
    "constant_tsc arat "
    // Given by a hypervisor or by the kernel's own timing of the TSC.
    "tsc_reliable tsc_known_freq vmmcall "
    // Also set when the kernel finds them another way: the local APIC already
    // in x2APIC mode, a hypervisor's word for the deadline timer, AMD's
    // topology leaves switched on through a model-specific register. A
    // virtual machine restored on another host may also answer CPUID now
    // without bits the kernel saw when it started.
    "x2apic tsc_deadline_timer topoext "
    // The mitigations Linux chose, from several bits and model lists.
    "pti ibrs ibpb stibp ssbd ibrs_enhanced user_shstk split_lock_detect "
    // Read from model-specific registers, not CPUID.
    "cpuid_fault tpr_shadow flexpriority ept vpid ept_ad tdx_host_platform tdx_guest intel_ppin");

// The flags of /proc/cpuinfo's first processor.
std::optional<std::set<std::string>> kernelFlags() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.starts_with("flags")) {
            return wordSet(line.substr(line.find(':') + 1));
        }
    }
    return std::nullopt;
}

// This machine: its dump holds every leaf the flags come from, and XCR0; a
// flag of the kernel's that a CPUID bit gives is in our list too, and in the
// usable list, since the kernel shows only usable ones.
TEST(NativeProcessor, HasEveryFlagItsKernelDerivesFromCpuidAndDumpsThemAll) {
    const auto& probe = platform::nativeCpuProbe();
    const auto ours = cpuFlags(probe);
    const auto usable = usableCpuFlags(probe);
    const platform::RecordedCpuProbe replay(
        platform::parseCpuidDump(platform::formatCpuidDump(platform::captureCpuidDump(probe))));
    EXPECT_EQ(cpuFlags(replay), ours);
    EXPECT_EQ(usableCpuFlags(replay), usable);
    EXPECT_EQ(replay.xcr0(), probe.xcr0());
    const auto kernel = kernelFlags();
    if (!kernel) {
        GTEST_SKIP() << "/proc/cpuinfo has no flags line here";
    }
    for (const auto& flag : *kernel) {
        if (!kKernelOnlyFlags.contains(flag)) {
            EXPECT_NE(std::find(ours.begin(), ours.end(), flag), ours.end()) << flag;
            EXPECT_NE(std::find(usable.begin(), usable.end(), flag), usable.end()) << flag;
        }
    }
}

}  // namespace
}  // namespace veltrane::ident
