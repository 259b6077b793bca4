#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ident/ProcessorFacts.h"

namespace veltrane::ident {

class ProcessorIdentity;

struct LabelledValue {
    std::string label;
    std::string value;
    bool enabled = true;  // disabled labels are shown greyed, with no value
};

struct FeatureRow {
    std::string item;
    std::string description;
};

// What the extended CPU page shows beside its labels, in page order.
struct ExtendedCpuInputs {
    const ProcessorDefinition& definition;
    const std::string& traceCacheText;
    float clockMHz;
};

std::vector<LabelledValue> extendedCpuValues(const ProcessorIdentity& identity,
                                             const ExtendedCpuInputs& inputs);

// The Processor field: "2xName Processor" with more than one processor.
std::string processorFieldText(int processorCount, const std::string& processorName);

// The feature list: blank and heading rows, then one row per bit of the
// standard and the extended feature words.
std::vector<FeatureRow> featureRows(std::uint32_t standardFlags, std::uint32_t extendedFlags);

// The logo bitmap's name, or empty when no logo fits.
std::string cpuLogoName(const std::string& vendor, int family, int model, int l2KB);

}  // namespace veltrane::ident
