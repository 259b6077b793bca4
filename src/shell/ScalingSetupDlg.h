#pragma once

#include <QDialog>
#include <functional>

#include "engine/ScalingFigures.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace veltrane::shell {

// "Multi-core Benchmark": how many threads, whether each is pinned to a
// processor, and what the plan for them says, before the run starts.
class ScalingSetupDlg final : public QDialog {
    Q_OBJECT

public:
    // `planner` turns the choices into a plan; `defaultThreads` is the
    // number of processors the program may run on.
    using Planner = std::function<engine::ScalingPlan(const engine::ThreadRequest&, bool pin)>;

    ScalingSetupDlg(QWidget* parent, int defaultThreads, Planner planner);

    // The plan of the choices shown; "Start" is greyed out while it is refused.
    const engine::ScalingPlan& plan() const { return plan_; }

    QSpinBox* threadsField() const { return threads_; }
    QCheckBox* pinBox() const { return pin_; }
    QLabel* planText() const { return planText_; }
    QPushButton* startButton() const { return start_; }

private:
    void replan();

    Planner planner_;
    engine::ScalingPlan plan_;
    QSpinBox* threads_ = nullptr;
    QCheckBox* pin_ = nullptr;
    QLabel* planText_ = nullptr;
    QPushButton* start_ = nullptr;
};

}  // namespace veltrane::shell
