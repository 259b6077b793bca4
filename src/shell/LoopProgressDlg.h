#pragma once

#include <QDialog>
#include <atomic>
#include <cstdint>

#include "burnin/LoopLog.h"
#include "burnin/LoopRunner.h"
#include "shell/LoopEnvironment.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace veltrane::shell {

// The loop windows' banner: circling arrows beside the title.
QLabel* loopBanner(const QString& title);

// "Looping in progress": the loop's status texts, its two bars, the log of
// every unit and the stop button. The loop thread's notices are queued to
// the window, so the window thread never waits for the loop thread; each
// carries the time the thread sent it.
class LoopProgressDlg final : public QDialog, private burnin::LoopNoticeSink {
    Q_OBJECT

public:
    LoopProgressDlg(QWidget* parent, const LoopEnvironment& environment);
    ~LoopProgressDlg() override;

    // Starts a loop and fills the window; false, with nothing started, while
    // the last loop still runs or is finishing its unit.
    bool startLoop(const burnin::LoopSettings& settings, platform::ThreadPriority priority);
    // The stop request: the loop ends after its unit, the window hides.
    void stopLoop();
    // The loop thread is still going (running, or finishing its last unit).
    bool looping() const { return runner_.finishing(); }

    const burnin::LoopLog& log() const { return log_; }
    QPushButton* button() const { return button_; }
    QTreeWidget* logList() const { return list_; }

signals:
    // After a notice of the loop thread has been shown.
    void noticeShown();

protected:
    // Esc and the title bar's close are the button.
    void reject() override;

private:
    QWidget* buildStatus();
    void buttonPressed();
    void showLog();

    void loopStarting(const burnin::LoopSettings& settings,
                      platform::ThreadPriority priority) override;
    void send(burnin::LoopNotice notice, std::int64_t wParam, std::int64_t lParam) override;
    void loopFinished() override;

    burnin::LoopClock& clock_;
    burnin::LoopLog log_;
    burnin::LoopRunner runner_;
    // Counts loops started; each notice says which loop sent it.
    std::atomic<std::uint64_t> generation_{0};
    QTreeWidget* list_ = nullptr;
    std::size_t rowsShown_ = 0;
    QLabel* runMode_ = nullptr;
    QLabel* priority_ = nullptr;
    QLabel* startingAt_ = nullptr;
    QLabel* stopAt_ = nullptr;
    QLabel* failed_ = nullptr;
    QProgressBar* overall_ = nullptr;
    QProgressBar* current_ = nullptr;
    QPushButton* button_ = nullptr;
};

}  // namespace veltrane::shell
