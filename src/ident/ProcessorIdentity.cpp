#include "ident/ProcessorIdentity.h"

#include "ident/CacheSizes.h"
#include "ident/DefinitionFile.h"
#include "ident/FeatureBits.h"
#include "ident/TodaysNames.h"
#include "ident/Vendor.h"
#include "platform/CpuidLeaves.h"
#include "platform/Format.h"

namespace veltrane::ident {

namespace {

namespace cpuid = platform::cpuid;
using cpuid::bitOf;
using cpuid::bitsOf;

int flagOf(const ProcessorIdentity& identity, FeatureBit feature) {
    const std::uint32_t word = feature.word == FeatureWord::standard
                                   ? identity.standardFeatureFlags()
                                   : identity.extendedFeatureFlags();
    return bitOf(word, feature.bit);
}

void applyCacheSizes(ProcessorIdentity& identity, const CacheSizes& sizes) {
    identity.l1DataKB = sizes.l1DataKB;
    identity.l1CodeKB = sizes.l1CodeKB;
    identity.l2KB = sizes.l2KB;
}

}  // namespace

ProcessorIdentity::ProcessorIdentity(const platform::CpuProbe& probe, ProcessorFacts& facts)
    : probe_(&probe) {
    identifyVendor();
    readSignature();
    readSystemInfo();
    readCacheSizes(facts);
    if (!facts.definitionLoaded) {
        loadDefinition(facts);
        facts.definitionLoaded = true;
    }
}

void ProcessorIdentity::identifyVendor() {
    const auto r = probe_->cpuid(cpuid::kVendorLeaf);
    vendor = vendorFromRegisters(r.ebx, r.edx, r.ecx);
}

void ProcessorIdentity::readSignature() {
    const std::uint32_t eax = probe_->cpuid(cpuid::kSignatureLeaf).eax;
    stepping = bitsOf(eax, 0, 0xF);
    model = bitsOf(eax, 4, 0xF);
    family = bitsOf(eax, 8, 0xF);
    extendedModel = bitsOf(eax, 16, 0xF);
    extendedFamily = bitsOf(eax, 20, 0xFF);
    if (reportsExtendedSignature()) {
        readBrandString();
    }
}

void ProcessorIdentity::readBrandString() {
    if (probe_->cpuid(cpuid::kHighestExtendedLeaf).eax < cpuid::kLastBrandLeaf) {
        return;
    }
    std::string text;
    for (std::uint32_t leaf = cpuid::kFirstBrandLeaf; leaf <= cpuid::kLastBrandLeaf; ++leaf) {
        const auto r = probe_->cpuid(leaf);
        for (const std::uint32_t value : {r.eax, r.ebx, r.ecx, r.edx}) {
            for (int shift = 0; shift < 32; shift += 8) {
                text.push_back(static_cast<char>((value >> shift) & 0xFF));
            }
        }
    }
    text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
    brandString = std::string(trimmed(text));
}

void ProcessorIdentity::readCacheSizes(ProcessorFacts& facts) {
    if (vendor == kVendorAmd) {
        facts.traceCacheText = "Absent";
    } else if (vendor == kVendorIntel) {
        facts.traceCacheText = family == 15 ? "12 \u00B5OPS" : "absent";
    } else {
        return;  // no cache leaves are read for other vendors
    }
    applyCacheSizes(*this, cacheSizes(*this));
}

void ProcessorIdentity::loadDefinition(ProcessorFacts& facts) {
    if (reportsExtendedSignature()) {
        describeUnlistedProcessor(brandString, facts.definition);
        applyTodaysNames(todaysNames(*this, facts.modelTable()), facts.definition);
        return;
    }
    try {
        const auto file = facts.openDefinitionFile();
        loadProcessorDefinition(*this, file.get(), facts.definition);
    } catch (const DefinitionError& error) {
        facts.definitionError = error.what();
    }
}

void ProcessorIdentity::readSystemInfo() {
    systemInfo = platform::getSystemInfo();
    if (const auto recorded = probe_->processorCount()) {
        systemInfo.numberOfProcessors = *recorded;
    }
}

std::int32_t ProcessorIdentity::processorCount() const {
    return static_cast<std::int32_t>(systemInfo.numberOfProcessors);
}

int ProcessorIdentity::hasMMX() const {
    return flagOf(*this, featureBit(FeatureWord::standard, "mmx"));
}
int ProcessorIdentity::hasSSE() const {
    return flagOf(*this, featureBit(FeatureWord::standard, "sse"));
}
int ProcessorIdentity::hasSSE2() const {
    return flagOf(*this, featureBit(FeatureWord::standard, "sse2"));
}
int ProcessorIdentity::hasSerialNumber() const {
    return flagOf(*this, featureBit(FeatureWord::standard, "psn"));
}
int ProcessorIdentity::has3DNow() const {
    return flagOf(*this, featureBit(FeatureWord::extended, "3dnow"));
}
int ProcessorIdentity::has3DNowExt() const {
    return flagOf(*this, featureBit(FeatureWord::extended, "3dnowext"));
}

int ProcessorIdentity::hasMMXExt() const {
    return vendor == kVendorAmd ? flagOf(*this, featureBit(FeatureWord::extended, "mmxext")) : 0;
}

std::uint32_t ProcessorIdentity::standardFeatureFlags() const {
    return probe_->cpuid(cpuid::kSignatureLeaf).edx;
}

std::uint32_t ProcessorIdentity::extendedFeatureFlags() const {
    return probe_->cpuid(cpuid::kExtendedFeaturesLeaf).edx;
}

std::int32_t ProcessorIdentity::displayFamily() const {
    return family == 15 ? family + extendedFamily : family;
}

std::int32_t ProcessorIdentity::displayModel() const {
    const bool extended = family == 15 || (family == 6 && vendor == kVendorIntel);
    return extended ? (extendedModel << 4) + model : model;
}

}  // namespace veltrane::ident
