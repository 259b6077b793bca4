// The main frame's results history: every finished run kept, "Save this
// result" into the comparison lists, and the user's entries removed again.
#include <algorithm>
#include <utility>

#include "engine/ReferenceLine.h"
#include "engine/TestInfo.h"
#include "engine/UserEntries.h"
#include "platform/Threads.h"
#include "shell/Dialogs.h"
#include "shell/FrameConfig.h"
#include "shell/GraphResultsDlg.h"
#include "shell/MainFrame.h"
#include "store/OpenStore.h"
#include "store/RunRecord.h"
#include "store/ScalingRecord.h"

namespace veltrane::shell {

namespace {

constexpr const char* kRemoveTitle = "Remove";

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

// `what` failed, and why the history said it did.
void sayStoreError(QWidget* owner, const QString& what, const char* title,
                   const store::StoreError& error) {
    dialogs().message(owner, what + QStringLiteral(": ") + QString::fromUtf8(error.what()),
                      QLatin1String(title), MessageIcon::Stop, MessageButtons::Ok);
}

}  // namespace

void CMainFrame::openHistory() {
    const std::string path =
        env_.historyPath.empty() ? store::defaultStorePath() : env_.historyPath;
    store::StoreOpening opening = store::openResultsStore(path);
    history_ = std::move(opening.store);
    // Said once the frame is on screen, with the other start-up warnings.
    if (!opening.message.empty()) {
        startupWarnings_ << text(opening.message);
    }
    if (!history_) {
        keptState_ = KeptState::NoHistory;
        return;
    }
    try {
        store::addUserEntries(references_, history_->userReferences());
    } catch (const store::StoreError& error) {
        startupWarnings_ << QStringLiteral(
                                "Your own entries of the comparison lists could not be "
                                "read from the results history: %1")
                                .arg(QString::fromUtf8(error.what()));
    }
}

// The last run as the history keeps it, with its repeat when it was one.
store::RunRow CMainFrame::historyRow() const {
    std::optional<reports::RepeatOutcome> outcome;
    if (repeatRuns_.size() > 1) {
        outcome = reports::RepeatOutcome{repeatRuns_, spread_, repeat_.untilStable,
                                         !engine::needsAnotherRun(spread_)};
    }
    const reports::RunContext context{
        currentResult_, machine_,
        runPlan_->run,  engine::suiteName(askedSuite_),
        askedMask_,     platform::timeCriticalGrant(),
        runStartedAt_,  std::chrono::system_clock::now(),
        runConditions_, outcome ? &*outcome : nullptr,
        "veltrane",     ident::measureClockFacts(machine_.clockMHz())};
    return store::runRow(context, "desktop");
}

// A run that ended is kept whole; one that was stopped is not.
void CMainFrame::keepRun() {
    keptRun_ = store::RunRow{};
    keptRecord_ = currentResult_;
    const bool stopped = std::any_of(repeatRuns_.begin(), repeatRuns_.end(),
                                     [](const engine::BenchResult& run) { return run.stopped; });
    if (!history_ || !runPlan_ || stopped) {
        keptState_ = history_ ? KeptState::Stopped : KeptState::NoHistory;
        showSaveState();
        return;
    }
    try {
        keptRun_ = historyRow();
        keptRun_.id = history_->addRun(keptRun_);
        keptState_ = KeptState::Kept;
    } catch (const std::exception& error) {
        keptState_ = KeptState::NotKept;
        noteHistoryFailure(error);
    }
    showSaveState();
}

// Said once a session: the history's trouble is the same for every run.
void CMainFrame::noteHistoryFailure(const std::exception& error) {
    if (!historyFailureSaid_) {
        historyFailureSaid_ = true;
        historyFailure_ = QStringLiteral("This result was not kept in the results history %1: %2")
                              .arg(text(history_->path()), QString::fromUtf8(error.what()));
    }
}

// A multi-core run that ended is kept in its own table; never in the lists.
QString CMainFrame::keepScalingRun(const suites::ScalingOutcome& outcome) {
    if (!history_ || outcome.stopped || outcome.steps.empty()) {
        return {};
    }
    try {
        // The setup asks for a count; pinning was asked when the plan pins.
        const reports::ScalingContext context{outcome,
                                              scalingPlan_,
                                              {scalingPlan_.threadCounts.back(), false},
                                              !scalingPlan_.pinTo.empty(),
                                              machine_,
                                              scalingStartedAt_,
                                              std::chrono::system_clock::now(),
                                              scalingConditions_,
                                              platform::timeCriticalGrant(),
                                              "veltrane",
                                              ident::measureClockFacts(machine_.clockMHz())};
        const std::int64_t id = history_->addScalingRun(store::scalingRunRow(context, "desktop"));
        return QStringLiteral("Kept in the results history as run %1.")
            .arg(text(store::scalingHistoryId(id)));
    } catch (const std::exception& error) {
        noteHistoryFailure(error);
    }
    return {};
}

// After the results window, like the result file's own warning.
void CMainFrame::sayHistoryFailure() {
    if (!historyFailure_.isEmpty()) {
        warn(std::exchange(historyFailure_, QString()), QLatin1String(kWarningTitle));
    }
}

void CMainFrame::showSaveState() {
    graphs_->setSaveRefusal(text(saveRefusal(keptState_, keptRun_)));
}

void CMainFrame::saveResult() {
    if (!history_ || !saveRefusal(keptState_, keptRun_).empty()) {
        return;
    }
    const std::optional<QString> name = askMachineName();
    if (!name) {
        return;
    }
    const int list = keptRun_.suite;
    const std::string line = engine::referenceLine(
        store::machineReferenceEntry(keptRecord_, machine_, name->trimmed().toStdString()));
    std::int64_t id = 0;
    try {
        id = history_->addUserReference(keptRun_.id, list, line);
    } catch (const store::StoreError& error) {
        sayStoreError(graphs_, QStringLiteral("The result was not saved to the comparison lists"),
                      kSaveResultTitle, error);
        return;
    }
    // The lists show the entry as the history gives it back at the next start.
    if (auto entry = engine::parseReferenceLine(line)) {
        entry->userEntryId = id;
        engine::putUserEntry(references_, list, *entry);
    }
    graphs_->refreshReferences();
}

// Asked again until the name will do; nothing when the user cancels.
std::optional<QString> CMainFrame::askMachineName() {
    QString name = text(store::defaultMachineName(machine_, keptRun_.suite));
    for (;;) {
        const std::optional<QString> answer = dialogs().textInput(
            graphs_, QLatin1String(kSaveResultTitle), QLatin1String(kMachineNameQuestion), name);
        if (!answer) {
            return std::nullopt;
        }
        name = *answer;
        const std::string problem = machineNameProblem(name.toStdString());
        if (problem.empty()) {
            return name;
        }
        dialogs().message(graphs_, text(problem), QLatin1String(kSaveResultTitle),
                          MessageIcon::Exclamation, MessageButtons::Ok);
    }
}

void CMainFrame::removeOwnEntry(qint64 userEntryId) {
    if (!history_ || userEntryId == 0) {
        return;
    }
    const auto answer = dialogs().message(
        graphs_,
        QStringLiteral("Remove your own entry from the comparison lists? The run stays in the "
                       "results history."),
        QLatin1String(kRemoveTitle), MessageIcon::Question, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) {
        return;
    }
    try {
        history_->removeUserReference(userEntryId);
    } catch (const store::StoreError& error) {
        sayStoreError(graphs_,
                      QStringLiteral("The entry could not be removed from the results history"),
                      kRemoveTitle, error);
        return;
    }
    engine::removeUserEntry(references_, userEntryId);
    graphs_->refreshReferences();
}

}  // namespace veltrane::shell
