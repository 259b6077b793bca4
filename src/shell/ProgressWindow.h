#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <vector>

#include "engine/InfoRow.h"
#include "engine/ProgressModel.h"
#include "shell/QtProgressSink.h"

class QLabel;
class QProgressBar;
class QTreeWidget;
class QWidget;

namespace veltrane::suites {
class RunSession;
}

namespace veltrane::shell {

class FrameRequests;

// The controls that show one benchmark thread in a progress window.
struct ThreadPanel {
    QLabel* counter = nullptr;  // between "Now processing thread" and "of 7 "
    QLabel* name = nullptr;
    QLabel* unit = nullptr;
    QLabel* description = nullptr;
    QProgressBar* current = nullptr;  // "Current thread state"
    QLabel* currentPercent = nullptr;
    QProgressBar* overall = nullptr;  // "Overall Process"
    QLabel* overallPercent = nullptr;

    // Builds the controls into `parent`; object names start with `prefix`.
    QWidget* build(QWidget* parent, const QString& prefix);
    // Shows what the model says about the thread.
    void show(const engine::ThreadProgress& view);
};

// A progress window: the "CPU and System Information" list and a panel per
// benchmark thread, which the run's threads reach through the window's sink.
// A run cannot be stopped, so while the session's run goes the window can be
// neither closed (title bar, Alt+F4, Esc) nor maximised: a run must not go on
// unseen behind a frame that says "Ready".
class ProgressWindow : public QDialog {
    Q_OBJECT

public:
    bool running() const;

    void setInfoRows(const std::vector<engine::InfoRow>& rows);
    // "Run 2 of 3" while a repeat goes; empty hides it.
    void setRunText(const QString& text);
    QString runText() const;
    // A run begins with this window: the view starts over, and the sink the
    // run reports to waits for its end.
    engine::ProgressSink& beginRun();
    // For a frame that goes with a run still going: nothing more reaches the
    // window, and the GUI thread's events are served until the run has
    // posted its end, so no benchmark thread is left blocked in a send.
    void waitForRunEnd();

    const engine::ProgressModel& model() const { return model_; }

    // The answer to one benchmark-thread message; the sink delivers them
    // here on the GUI thread.
    void handleMessage(engine::WindowMessage message, std::int64_t wParam, std::int64_t lParam);

signals:
    // After a message has been shown.
    void messageShown(int message, qint64 wParam, qint64 lParam);

protected:
    // What sets the two windows apart.
    struct Look {
        const char* objectName;
        const char* title;
        int pleaseWaitWeight;
        int itemWidth;  // the widths of the list's two columns
        int descriptionWidth;
        bool twoThreads;
    };

    ProgressWindow(QWidget* parent, FrameRequests& frame, const suites::RunSession& session,
                   const Look& look);

    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void resetView();

    const suites::RunSession& session_;
    engine::ProgressModel model_;
    std::array<ThreadPanel, 2> panels_;  // the second only in a two-thread window
    QTreeWidget* info_ = nullptr;
    QLabel* runCount_ = nullptr;
    QtProgressSink sink_;
};

}  // namespace veltrane::shell
