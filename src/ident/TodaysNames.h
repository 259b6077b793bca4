#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ident/ExtendedCpuPage.h"
#include "ident/ModernModels.h"

namespace veltrane::ident {

class ProcessorIdentity;

// cpumodels.dat as read: its records, and why it gave none or skipped lines
// (empty when it read cleanly). A missing file leaves an empty table.
struct LoadedModelTable {
    ModelTable table;
    std::string problem;
};

LoadedModelTable loadModelTableFrom(const std::string& path);

// The file found by bare name like the other data files, read once per process.
const LoadedModelTable& installedModelTable();

// The table's names for the processor's vendor text (leaf 0, also one the
// program has no number for), displayed family, displayed model and stepping.
ModernNames todaysNames(const ProcessorIdentity& identity, const ModelTable& table);

// The same, only for a processor cpudef.dat is not consulted for (one with
// an extended family or model); empty for the others, whose names it gives.
std::optional<ModernNames> namesBeyondDefinitionFile(const ProcessorIdentity& identity,
                                                     const ModelTable& table);

// A listed processor's manufacturer, codename and socket in the definition's
// fields; an unlisted one leaves them as they are.
void applyTodaysNames(const ModernNames& names, ProcessorDefinition& definition);

// Manufacturer, Codename, Microarchitecture, Process and Socket/Platform.
std::vector<LabelledValue> todaysNameRows(const ModernNames& names);

}  // namespace veltrane::ident
