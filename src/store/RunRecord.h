#pragma once

#include <string>
#include <vector>

#include "engine/BenchResult.h"
#include "engine/ReferenceDatabase.h"
#include "ident/MachineFacts.h"
#include "reports/RunContext.h"
#include "store/ResultsStore.h"

namespace veltrane::store {

// The name a run is kept under unless the user gives one: the processor's
// name (with the processor count for a two-thread run) and its clock.
std::string defaultMachineName(const ident::MachineFacts& machine, int suite);

// What a reference entry says of the machine beside the figures.
struct EntryMachine {
    std::string cpuName;
    std::string osName;
    std::string chipset;
    std::string bitmapName;
    double l1DataKB = 0;
    double l1CodeKB = 0;
    double l2KB = 0;
};

// The figures and the machine as one entry of the comparison lists.
engine::ReferenceEntry referenceEntry(const StoredFigures& figures, const EntryMachine& machine);

// The run as the comparison lists would show it, under `name`.
engine::ReferenceEntry machineReferenceEntry(const engine::BenchResult& record,
                                             const ident::MachineFacts& machine,
                                             const std::string& name);

StoredFigures storedFigures(const engine::BenchResult& record);

// A finished run as the history keeps it: its figures, its reference line
// under the default name, and its whole JSON record.
RunRow runRow(const reports::RunContext& context, const std::string& origin);

// Only a full run whose checks all passed may stand in the comparison lists.
bool canBeReference(const RunRow& run);

// Appends the user's entries to the lists of their suites, after the shipped
// ones, each carrying its history id; lines that do not read are skipped.
void addUserEntries(engine::ReferenceDatabase& database,
                    const std::vector<UserReference>& references);

}  // namespace veltrane::store
