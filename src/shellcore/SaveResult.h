#pragma once

#include <string>

#include "store/ResultsStore.h"

namespace veltrane::shell {

// What became of the last run in the results history.
enum class KeptState {
    NoRun,      // none has finished yet
    NoHistory,  // the history could not be opened
    Stopped,    // stopped runs are not kept
    NotKept,    // keeping it failed
    Kept,
};

// Why "Save this result" is greyed out for `run` in `state`; empty when the
// run may go into the comparison lists.
std::string saveRefusal(KeptState state, const store::RunRow& run);

// What is wrong with `name` as the machine's name in the comparison lists;
// empty when it will do.
std::string machineNameProblem(const std::string& name);

}  // namespace veltrane::shell
