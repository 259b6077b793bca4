#pragma once

#include <string>

#include "ident/ModernModels.h"

namespace veltrane::cli {

// The "Today's names" section: its heading, then the five aligned names
// cpumodels.dat gives the processor.
std::string formatTodaysNames(const ident::ModernNames& names);

}  // namespace veltrane::cli
