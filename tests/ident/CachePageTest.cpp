#include <gtest/gtest.h>

#include <string>

#include "ident/CachePage.h"
#include "ident/CacheSizes.h"
#include "ident/ProcessorIdentity.h"
#include "support/FakeCpu.h"

namespace veltrane::ident {
namespace {

using test::FakeCpu;

// The groups in page order: TLBs for large and small pages, L1 data and code, L2 TLBs, L2, L3.
// TLB: data ways and entries, code ways and entries; cache: ways, lines per tag, line size, size.
std::string page(const FakeCpu& cpu) {
    const auto probe = cpu.probe();
    ProcessorFacts facts = test::factsWithoutDefinition();
    std::string text;
    for (const auto& group : cachePage(ProcessorIdentity(probe, facts), "Test").groups) {
        text += " | ";
        for (const auto& field : group.fields) {
            text += (field.enabled ? field.value : "~") + ",";
        }
        text.pop_back();
    }
    return text.substr(3);  // a disabled field shows as '~'
}

FakeCpu amd(std::uint32_t highestExtended, std::uint32_t leaf, platform::CpuidRegisters r) {
    FakeCpu cpu;
    cpu.vendor("AuthenticAMD").signature(0x662).leaf(0x80000000, {highestExtended, 0, 0, 0});
    return cpu.leaf(leaf, r);
}

FakeCpu intelLeaf2(std::uint32_t eax, std::uint32_t edx) {
    FakeCpu cpu;
    cpu.vendor("GenuineIntel").signature(0x686).leaf(2, {eax, 0, 0, edx});
    return cpu;
}

// A processor that defers to leaves 4 and 0x18: L1 data 48 KB 12 way,
// L1 instruction 32 KB 8 way, L2 1280 KB 20 way, L3 fully associative. Its TLB leaf counts
// only when the highest leaf admits it; entries not to be shown come before those that are.
FakeCpu modernIntel(std::uint32_t highestLeaf, std::uint32_t signature = 0x000706E5) {
    FakeCpu cpu;
    cpu.vendor("GenuineIntel", highestLeaf)
        .signature(signature)
        .leaf(2, {0x00FEFF01, 0x000000F0, 0, 0x0C000843})
        .leaf(4, {0x1C004121, 0x02C0003F, 0x3F, 0}, 0)
        .leaf(4, {0x1C004122, 0x01C0003F, 0x3F, 0}, 1)
        .leaf(4, {0x1C004143, 0x04C0003F, 0x3FF, 0}, 2)
        .leaf(4, {0x1C03C363, 0x02C0003F, 0x3FFF, 0}, 3)
        .leaf(0x18, {7, 0x00080001, 0x10, 0x00000022}, 0)  // L1 instruction, 4 KB, 8 way 16 sets
        .leaf(0x18, {0, 0x00080006, 0x1, 0x00000122}, 1)   // L1 instruction, 2M/4M, full 8
        .leaf(0x18, {0, 0x0010000F, 0x1, 0x00000125}, 2)   // L1 store-only: not shown
        .leaf(0x18, {0, 0x0004000F, 0x10, 0x00000021}, 3)  // L1 data, every size, 4 way 16 sets
        .leaf(0x18, {0, 0x0004000E, 0x8, 0x00000024}, 4)   // L1 load-only, large: narrower, ignored
        .leaf(0x18, {0, 0x00080007, 0x400, 0x00000063}, 5)   // a third level: not shown
        .leaf(0x18, {0, 0x00080007, 0x100, 0x00000043}, 6)   // L2 unified 4K/2M/4M, 8 way 256 sets
        .leaf(0x18, {0, 0x00040009, 0x200, 0x00000043}, 7);  // L2 unified 4K+1G: later, ignored
    return cpu;
}

TEST(CachePage, EachGroupFromTheLeavesOfTheVendor) {
    const struct {
        const char* why;
        FakeCpu cpu;
        const char* expected;
    } cases[] = {
        // AMD: a second-level answer the highest extended leaf does not admit is never read.
        {"AMD without leaf 80000006",
         amd(0x80000005, 0x80000006, {0x61016101, 0x61016101, 0x01006140, 0}),
         "0 way,0 entries,0 way,0 entries | 0 way,0 entries,0x0 way,0 entries | "
         "0 way,0 lines,0 Byte,0 KByte | 0 way,0 lines,0 Byte,0 KByte | "
         "off,0 entries,off,0 entries | off,0 entries,off,0 entries | "
         "off,0 lines,0 Byte,-1 KByte | ~,~,~,~"},
        // Full only for first-level TLBs, hex ways only for the small code TLB.
        {"AMD codes",
         amd(0x80000006, 0x80000006, {0x6FFF1002, 0x2200F001, 0x0100F140, 0})
             .leaf(0x80000005, {0x0CFFFF08, 0xFF201040, 0x300C0140, 0x40FF0240}),
         "12 way,255 entries,Full,8 entries | Full,32 entries,0x10 way,64 entries | "
         "12 way,1 lines,64 Byte,48 KByte | 255 way,2 lines,64 Byte,64 KByte | "
         "8 way,4095 entries,Direct mapped,2 entries | 2 way,512 entries,Full,1 entries | "
         "Full,1 lines,64 Byte,256 KByte | ~,~,~,~"},
        {"AMD second-level not-known texts",
         amd(0x80000006, 0x80000006, {0x30803040, 0x30803040, 0x04003140, 0}),
         "0 way,0 entries,0 way,0 entries | 0 way,0 entries,0x0 way,0 entries | "
         "0 way,0 lines,0 Byte,0 KByte | 0 way,0 lines,0 Byte,0 KByte | "
         "Unknow,128 entries,Unkow,64 entries | unknow,128 entries,unknow,64 entries | "
         "unknow,1 lines,64 Byte,1024 KByte | ~,~,~,~"},
        // Intel leaf 2: EAX byte 1 0x01 is no descriptor.
        {"Intel fixed bytes", intelLeaf2(0x03020101, 0x0C040843),
         ",,4 way,64 entries | 4 way,64 entries,, | 4 way,Unified cache,32 byte,16 KByte | "
         "4 way,Unified cache,32 Byte,16 KByte | ,,, | ,,, | "
         "4 way,Unified Cache,32 Byte,512 KByte | ~,~,~,~"},
        // EAX byte 1 0x5B fills both data TLBs, then EAX byte 3 0x03 rewrites the 4 KB one.
        {"later data bytes overwrite", intelLeaf2(0x03005B01, 0),
         "full,64 entries,, | 4 way,64 entries,, | ,,, | ,,, | ,,, | ,,, | ,,, | ~,~,~,~"},
        // EAX byte 2 0x50 fills both instruction TLBs, then EDX byte 2 0x04 the large one.
        {"later code bytes overwrite", intelLeaf2(0x00500001, 0x00040000),
         ",,4 way,64 entries | ,,full,64 entries | ,,, | ,,, | ,,, | ,,, | ,,, | ~,~,~,~"},
        // 0x43 is an L2 descriptor only in EDX byte 0; 0x03 a TLB only in EAX bytes 1 and 3.
        {"bytes count only at their positions", intelLeaf2(0x00000301, 0x43434300),
         "4 way,64 entries,, | ,,, | ,,, | ,,, | ,,, | ,,, | ,,, | ~,~,~,~"},
        {"sectored", intelLeaf2(0x00000001, 0x6600007A),
         ",,, | ,,, | 4 way,Sectored,64 byte,8 KByte | ,,, | ,,, | ,,, | "
         "8 way,Sectored Cache,64 Byte,256 KByte | ~,~,~,~"},
        // Highest leaf 0x16: leaf 0x18 is not read, and leaf 2 holds no fixed-table TLB bytes.
        {"leaf 4 without leaf 18", modernIntel(0x16),
         ",,, | ,,, | 12 way,1 lines,64 Byte,48 KByte | 8 way,1 lines,64 Byte,32 KByte | ,,, | "
         ",,, | 20 way,1 lines,64 Byte,1280 KByte | ~,~,~,~"},
        {"leaf 4 and leaf 18", modernIntel(0x1B),
         "4 way,64 entries,Full,8 entries | 4 way,64 entries,8 way,128 entries | "
         "12 way,1 lines,64 Byte,48 KByte | 8 way,1 lines,64 Byte,32 KByte | "
         "8 way,2048 entries,8 way,2048 entries | 8 way,2048 entries,8 way,2048 entries | "
         "20 way,1 lines,64 Byte,1280 KByte | ~,~,~,~"},
        {"without an extended signature only leaf 2", modernIntel(0x1B, 0x6B1),
         ",,, | ,,, | 4 way,Unified cache,32 byte,16 KByte | "
         "4 way,Unified cache,32 Byte,16 KByte | ,,, | ,,, | "
         "4 way,Unified Cache,32 Byte,512 KByte | ~,~,~,~"},
        {"fully associative unified first level",
         FakeCpu()
             .vendor("GenuineIntel", 4)
             .signature(0x000106A5)
             .leaf(2, {0x0000FF01, 0, 0, 0})
             .leaf(4, {0x00000223, 0x00C0003F, 0x3F, 0}, 0),  // level 1 unified, full, 4 x 64 sets
         ",,, | ,,, | Full,1 lines,64 Byte,16 KByte | Full,1 lines,64 Byte,16 KByte | ,,, | ,,, | "
         ",,, | ~,~,~,~"},
        {"damaged answers are bounded",
         FakeCpu()
             .vendor("GenuineIntel", 0x18)
             .signature(0x000906EA)
             .leaf(2, {0x00FEFF01, 0, 0, 0})
             .leaf(4, {0xFFFFFE23, 0xFFFFFFFF, 0xFFFFFFFF, 0}, 0)
             .leaf(0x18, {0xFFFFFFFF, 0xFFFF0001, 0xFFFFFFFF, 0x00000021}, 0),
         ",,, | 65535 way,2147483647 entries,, | Full,1024 lines,4096 Byte,2147483647 KByte | "
         "Full,1024 lines,4096 Byte,2147483647 KByte | ,,, | ,,, | ,,, | ~,~,~,~"},
        {"other vendors",
         FakeCpu()
             .vendor("CyrixInstead")
             .signature(0x524)
             .leaf(2, {0x03020101, 0, 0, 0x0C040843})
             .leaf(0x80000000, {0x80000006, 0, 0, 0})
             .leaf(0x80000005, {0, 0x02800140, 0x20020220, 0}),
         "~,~,~,~ | ~,~,~,~ | ~,~,~,~ | ~,~,~,~ | ~,~,~,~ | ~,~,~,~ | ~,~,~,~ | ~,~,~,~"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(page(c.cpu), c.expected) << c.why;
    }
}

TEST(CachePage, HeadingNamesTheProcessorAndTheIdentityBoundsADamagedSize) {
    const auto probe = intelLeaf2(0, 0).probe();
    ProcessorFacts facts = test::factsWithoutDefinition();
    EXPECT_EQ(cachePage(ProcessorIdentity(probe, facts), "6x86MX").heading,
              "Cache informations for 6x86MX");
    // The size on the main form and in the report is bounded the same way, not wrapped.
    const auto damaged = FakeCpu().leaf(4, {0xFFFFFE21, 0xFFFFFFFF, 0xFFFFFFFF, 0}, 0).probe();
    EXPECT_EQ(leaf4CacheSizes(damaged).l1DataKB, 2147483647);
}

}  // namespace
}  // namespace veltrane::ident
