#pragma once

#include <memory>
#include <string>

#include "store/ResultsStore.h"

namespace veltrane::store {

// The results history of this user: $XDG_DATA_HOME/veltrane/results.sqlite,
// or ~/.local/share/veltrane/results.sqlite; empty when neither variable says
// where home is.
std::string defaultStorePath();

struct StoreOpening {
    std::unique_ptr<ResultsStore> store;  // none: nothing can be kept this time
    // One sentence for the user when something was wrong: why nothing is
    // kept, or that a damaged file was set aside. Empty when all went well.
    std::string message;
};

// Opens the history, creating its folder. A file that is no database or is
// damaged is renamed "<name>.damaged-YYYYMMDD-HHMMSS" and a fresh one made,
// so the old one is kept for whoever wants to rescue it.
StoreOpening openResultsStore(const std::string& path);

}  // namespace veltrane::store
