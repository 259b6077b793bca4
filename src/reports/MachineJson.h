#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "ident/ClockFacts.h"
#include "ident/MachineFacts.h"

namespace veltrane::reports {

// Raised whenever a key of the machine's record is renamed, removed or
// changes its meaning.
inline constexpr int kMachineJsonSchemaVersion = 1;

// A float widened to the double nearest its shortest decimal text, so that
// 12.3f is written 12.3 and not 12.300000190734863.
double decimal(float value);

// Everything the program knows of the machine: processor (CPUID's raw fields
// as `*_raw`, the combined family and model as `family` and `model`),
// clocks, topology, cache levels, the cache page, features, feature flags,
// OS, memory and PCI devices. The run record and `info --json` share it.
nlohmann::ordered_json machineJson(const ident::MachineFacts& facts,
                                   const ident::ClockFacts& clocks);

// `info --json`: schema_version, program and machine.
nlohmann::ordered_json machineFactsDocument(const ident::MachineFacts& facts,
                                            const ident::ClockFacts& clocks,
                                            const std::string& program);

}  // namespace veltrane::reports
