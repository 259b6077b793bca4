#pragma once

#include <QDialog>

#include "suites/ScalingRun.h"

class QLabel;
class QTabWidget;
class QTableWidget;

namespace veltrane::shell {

class ResultChart;

// "Multi-core Benchmark results": a table per thread count measured (each
// thread's figures, their sum, the efficiency, the multi-core score) and
// one chart of the figures against the thread counts.
class ScalingResultsDlg final : public QDialog {
    Q_OBJECT

public:
    explicit ScalingResultsDlg(QWidget* parent);

    // `kept` says where the results history keeps the run; empty: nowhere.
    void showOutcome(const suites::ScalingOutcome& outcome, const QString& kept = {});

    QLabel* overview() const { return overview_; }
    QTabWidget* tables() const { return tables_; }
    // The table of tab `index`, or nullptr.
    QTableWidget* table(int index) const;
    ResultChart* chart() const { return chart_; }

private:
    QLabel* overview_ = nullptr;
    QTabWidget* tables_ = nullptr;
    ResultChart* chart_ = nullptr;
};

}  // namespace veltrane::shell
