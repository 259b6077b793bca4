#pragma once

#include <ostream>
#include <vector>

#include "engine/DetailsRows.h"
#include "ident/MachineFacts.h"
#include "ident/RunConditions.h"

namespace veltrane::cli {

// What every benchmark run does before its first test, whatever it runs.

// The machine's facts; a definition file that did not read is said once.
const ident::MachineFacts& identifyMachine(std::ostream& err);

// The two-second clock measurement, announced first.
void measureClock(const ident::ProcessorIdentity& identity, std::ostream& err);

// A heading, then one "  item   description" line per row.
void printRows(std::ostream& out, const char* heading, const std::vector<engine::InfoRow>& rows);

// The machine's state just before the run; each warning about it said on `err`.
ident::RunConditions sampleConditions(const ident::MachineFacts& machine, std::ostream& err);

}  // namespace veltrane::cli
