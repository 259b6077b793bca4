#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace veltrane::platform {

// Where the program looks for a data file given by bare name: the current
// directory first, then beside the executable, then share/veltrane beside the
// executable's bin folder (an installed tree wherever it lies), then the
// installed data folder; each folder once.
std::vector<std::string> dataFileCandidates(const std::string& name);

// The first candidate that exists, if any.
std::optional<std::string> findDataFile(const std::string& name);

// Why a data file could not be used, for a second line under the program's
// own message: where it was looked for, or what reading it gave.
std::string dataFileProblem(const std::string& name, std::size_t maxBytes);

}  // namespace veltrane::platform
