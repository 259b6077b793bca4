#pragma once

#include <QDialog>
#include <QTimer>
#include <vector>

#include "engine/InfoRow.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QTreeWidget;

namespace veltrane::shell {

class ScalingMonitor;

// "Benchmarking" for a multi-core run: the SMP window's layout with a row
// per thread, scrolling past eight, redrawn from the run's monitor on a
// timer so the run's threads never wait for the window. "Stop" ends the run
// after the test under way.
class ScalingProgressDlg final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kVisibleRows = 8;
    static constexpr int kRefreshMs = 100;

    explicit ScalingProgressDlg(QWidget* parent);

    void setInfoRows(const std::vector<engine::InfoRow>& rows);
    // Shows the run `monitor` watches (a row per thread) until finish().
    void begin(ScalingMonitor& monitor);
    // The run has ended: the monitor is forgotten and the window hides.
    void finish();
    bool running() const { return monitor_ != nullptr; }
    // Redraws from the monitor; the timer calls it.
    void refresh();

    int rowCount() const { return static_cast<int>(rows_.size()); }
    QString rowState(int row) const;
    QProgressBar* rowBar(int row) const;
    QLabel* heading() const { return heading_; }
    QScrollArea* rowsArea() const { return rowsArea_; }
    QPushButton* stopButton() const { return stop_; }

protected:
    // Closing asks the run to stop; the window goes when the run has ended.
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    struct Row {
        QLabel* label = nullptr;
        QProgressBar* bar = nullptr;
        QLabel* percent = nullptr;
        QLabel* state = nullptr;
    };

    void buildRows(int count);
    void stop();

    ScalingMonitor* monitor_ = nullptr;
    QTimer timer_;
    QTreeWidget* info_ = nullptr;
    QLabel* heading_ = nullptr;
    QScrollArea* rowsArea_ = nullptr;
    std::vector<Row> rows_;
    QPushButton* stop_ = nullptr;
};

}  // namespace veltrane::shell
