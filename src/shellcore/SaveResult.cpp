#include "shellcore/SaveResult.h"

#include "platform/Format.h"
#include "store/RunRecord.h"

namespace veltrane::shell {

std::string saveRefusal(KeptState state, const store::RunRow& run) {
    switch (state) {
        case KeptState::NoRun:
            return "No run has been kept yet.";
        case KeptState::NoHistory:
            return "The results history could not be opened, so this result was not kept.";
        case KeptState::Stopped:
            return "A stopped run is not kept.";
        case KeptState::NotKept:
            return "This result could not be kept in the results history.";
        case KeptState::Kept:
            break;
    }
    if (!run.fullRun) {
        return "Only a full run can stand in the comparison lists.";
    }
    if (!run.trusted) {
        return "A test failed the check of its own work, so this result cannot stand in the "
               "comparison lists.";
    }
    return store::canBeReference(run) ? "" : "This suite has no comparison list.";
}

std::string machineNameProblem(const std::string& name) {
    if (trimmed(name, " \t").empty()) {
        return "Give the machine a name.";
    }
    if (name.find('-') != std::string::npos) {
        return "A name cannot contain \"-\": it separates the fields of a comparison list. "
               "Use a blank or another character instead.";
    }
    return "";
}

}  // namespace veltrane::shell
