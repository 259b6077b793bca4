#pragma once

#include <QDialog>

#include "burnin/LoopStart.h"
#include "shell/LoopEnvironment.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

namespace veltrane::shell {

class LoopProgressDlg;

// "Looping": the priority slider, the three ways a loop ends and "Start!".
// Its choices stay between showings; it owns the progress window.
class LoopConfigDlg final : public QDialog {
    Q_OBJECT

public:
    LoopConfigDlg(QWidget* parent, const LoopEnvironment& environment);

    LoopProgressDlg& progressWindow() const { return *progress_; }
    // What the form holds, as "Start!" reads it.
    burnin::LoopEntry entry() const;

    QSlider* slider() const { return slider_; }
    QRadioButton* modeRadio(burnin::LoopMode mode) const;
    QLineEdit* repeatField() const { return repeatField_; }
    QLineEdit* hourField() const { return hourField_; }
    QLineEdit* minuteField() const { return minuteField_; }
    QPushButton* startButton() const { return start_; }

private:
    QWidget* buildPriority();
    QWidget* buildModes();
    QWidget* buildLogGroup();
    void setMode(burnin::LoopMode mode);
    void start();
    platform::ThreadPriority grantedPriority(platform::ThreadPriority asked) const;

    LoopEnvironment environment_;
    burnin::LoopMode mode_ = burnin::LoopMode::Continuous;
    LoopProgressDlg* progress_ = nullptr;
    QSlider* slider_ = nullptr;
    QRadioButton* continuous_ = nullptr;
    QRadioButton* repeat_ = nullptr;
    QRadioButton* stopAt_ = nullptr;
    QLineEdit* repeatField_ = nullptr;
    QLabel* times_ = nullptr;
    QLineEdit* hourField_ = nullptr;
    QLineEdit* minuteField_ = nullptr;
    QPushButton* start_ = nullptr;
};

}  // namespace veltrane::shell
