#pragma once

#include <functional>
#include <optional>
#include <ostream>

#include "cli/RunCommand.h"
#include "engine/ReferenceDatabase.h"
#include "reports/RunContext.h"
#include "reports/ScalingContext.h"
#include "store/OpenStore.h"

namespace veltrane::cli {

// What follows the results of a run: the comparison, the HTML report, the
// JSON record and the results history, as the options ask.
class RunOutputs {
public:
    explicit RunOutputs(const RunOptions& options) : options_(options) {}

    // Before the run: checks what can fail early (the reference files), so a
    // missing file is reported before the user waits for a run, and opens
    // the history (saying once what was wrong with it). Gives the exit
    // status to end with, or nothing to go on.
    std::optional<int> prepare(std::ostream& err);

    // After the run; `text` takes the readable output, `out` the JSON for
    // "--json -". A stop asked for (see platform::StopSignalScope) skips the
    // files still to come. Returns the exit status.
    int write(const reports::RunContext& context, std::ostream& text, std::ostream& out,
              std::ostream& err);

    // Keeps the run in the history unless told not to; a history that
    // cannot take it costs only this row, never the run.
    void keep(const reports::RunContext& context, std::ostream& text, std::ostream& err);

    // The same for a scaling run, in the history's own table.
    void keepScaling(const reports::ScalingContext& context, std::ostream& text, std::ostream& err);

private:
    // Adds one row through `add` (which gives the id to show, e.g. "3" or "m1").
    void keepRow(const std::function<std::string(store::ResultsStore&)>& add, std::ostream& text,
                 std::ostream& err);
    void openHistory(std::ostream& err);

    const RunOptions& options_;
    engine::ReferenceDatabase references_;
    store::StoreOpening history_;
};

}  // namespace veltrane::cli
