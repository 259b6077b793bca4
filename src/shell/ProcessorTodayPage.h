#pragma once

#include <QWidget>
#include <atomic>
#include <optional>
#include <thread>

#include "engine/MemoryLadder.h"
#include "ident/MachineFacts.h"
#include "shellcore/ProcessorToday.h"

class QLabel;
class QPushButton;

namespace veltrane::shell {

class ResultChart;

// "Processor today": the topology, the cache levels, today's names and the
// feature flags of the machine, and its memory ladder, run on a worker
// thread at the press of a button and drawn as a bar chart.
class CProcessorTodayPage final : public QWidget {
    Q_OBJECT
public:
    CProcessorTodayPage(const ident::MachineFacts& machine, QWidget* parent = nullptr);
    // Stops a running ladder and waits for its current batch.
    ~CProcessorTodayPage() override;

    // The ladder the button runs in place of the machine's (tests run a
    // small one); enables the button.
    void setLadderPlan(shellcore::LadderPlan plan);

    // Asks a running ladder to stop between batches; the rungs measured are shown.
    void cancelLadder();

signals:
    void ladderFinished();

private:
    QWidget* machineColumn(const ident::MachineFacts& machine);
    QWidget* ladderColumn();
    void startLadder();
    void finishLadder(const engine::LadderResult& result);

    std::optional<shellcore::LadderPlan> plan_;
    QPushButton* run_ = nullptr;
    QLabel* status_ = nullptr;
    ResultChart* chart_ = nullptr;
    QLabel* notes_ = nullptr;
    std::atomic<bool> cancel_{false};
    std::thread worker_;
};

}  // namespace veltrane::shell
