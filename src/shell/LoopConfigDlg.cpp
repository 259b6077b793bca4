#include "shell/LoopConfigDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "engine/RunRequest.h"
#include "shell/Controls.h"
#include "shell/Dialogs.h"
#include "shell/LoopProgressDlg.h"
#include "shell/WindowPlacement.h"

namespace veltrane::shell {

namespace {

constexpr const char* kWarning =
    "WARNING: This test is highly strong for Hardware components ( especially for Motherboard, "
    "System DRAM and CPUs). Some components may fails if they have any weakness. If your cooling "
    "system is inaccurate, please DO NOT RUN this test.";

QLabel* wrapped(const QString& text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

QLineEdit* numberField(const QString& name, int characters, const QString& text = {}) {
    auto* field = new QLineEdit(text);
    field->setObjectName(name);
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(QLatin1Char('0')) * characters +
                         16);
    return field;
}

QRadioButton* modeButton(const QString& text, const QString& name) {
    auto* button = new QRadioButton(text);
    button->setObjectName(name);
    return button;
}

}  // namespace

LoopConfigDlg::LoopConfigDlg(QWidget* parent, const LoopEnvironment& environment)
    : QDialog(parent), environment_(environment) {
    setObjectName(QStringLiteral("LoopConfigDlg"));
    setWindowTitle(QStringLiteral("Looping"));
    progress_ = new LoopProgressDlg(this, environment_);

    start_ = namedButton(QStringLiteral("Start!"), QStringLiteral("startButton"));
    auto* cancel = namedButton(QStringLiteral("Cancel"), QStringLiteral("cancelButton"));
    start_->setDefault(true);
    connect(start_, &QPushButton::clicked, this, &LoopConfigDlg::start);
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(start_);
    buttons->addWidget(cancel);

    auto* warning = wrapped(QString::fromLatin1(kWarning));
    warning->setStyleSheet(QStringLiteral("color: #a00000;"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(loopBanner(QStringLiteral("Looping mode configurator")));
    layout->addWidget(buildPriority());
    layout->addWidget(buildModes());
    layout->addWidget(warning);
    layout->addWidget(wrapped(QStringLiteral(
        "The authors of Veltrane are not responsible for any problem or crash caused by this "
        "test.")));
    layout->addWidget(buildLogGroup());
    layout->addLayout(buttons);
    // The wrapped warning asks for its height by width: a fixed size keeps
    // the lines above it from being squeezed.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setMode(burnin::LoopMode::Continuous);
}

QWidget* LoopConfigDlg::buildPriority() {
    auto* group = new QGroupBox(QStringLiteral("Priority"));
    slider_ = new QSlider(Qt::Horizontal);
    slider_->setObjectName(QStringLiteral("prioritySlider"));
    slider_->setRange(0, 2);
    slider_->setPageStep(1);
    slider_->setTickPosition(QSlider::TicksBelow);
    slider_->setTickInterval(1);
    slider_->setValue(2);
    auto* marks = new QHBoxLayout;
    marks->addWidget(new QLabel(QStringLiteral("Low")));
    marks->addStretch();
    marks->addWidget(new QLabel(QStringLiteral("Medium")));
    marks->addStretch();
    marks->addWidget(new QLabel(QStringLiteral("High")));
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(slider_);
    layout->addLayout(marks);
    for (const char* line :
         {"-  Low: Idle Mode, low stress for main CPU",
          "-  Medium: Medium priority, typical priority", "level of a normal application",
          " -  High: High priority for an optimal stability test"}) {
        layout->addWidget(new QLabel(QString::fromLatin1(line)));
    }
    return group;
}

QWidget* LoopConfigDlg::buildModes() {
    auto* group = new QGroupBox(QStringLiteral("Loop mode"));
    continuous_ = modeButton(QStringLiteral("Run Continuously"), QStringLiteral("continuousRadio"));
    repeat_ = modeButton(QStringLiteral("Repeat"), QStringLiteral("repeatRadio"));
    stopAt_ = modeButton(QStringLiteral("Select when Veltrane must stop the loop:"),
                         QStringLiteral("stopAtRadio"));
    repeatField_ = numberField(QStringLiteral("repeatField"), 6, QStringLiteral("1"));
    times_ = new QLabel(QStringLiteral("times"));
    hourField_ = numberField(QStringLiteral("hourField"), 3);
    minuteField_ = numberField(QStringLiteral("minuteField"), 3);
    const std::pair<QRadioButton*, burnin::LoopMode> modes[] = {
        {continuous_, burnin::LoopMode::Continuous},
        {repeat_, burnin::LoopMode::Repeat},
        {stopAt_, burnin::LoopMode::StopAtTime}};
    for (const auto& [button, mode] : modes) {
        connect(button, &QRadioButton::clicked, this, [this, mode = mode] { setMode(mode); });
    }
    auto* grid = new QGridLayout(group);
    grid->addWidget(continuous_, 0, 0, 1, 5);
    grid->addWidget(repeat_, 1, 0);
    grid->addWidget(repeatField_, 1, 1);
    grid->addWidget(times_, 1, 2, 1, 3);
    grid->addWidget(stopAt_, 2, 0, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("stop at")), 3, 0, Qt::AlignRight);
    grid->addWidget(hourField_, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral(":")), 3, 2);
    grid->addWidget(minuteField_, 3, 3);
    grid->setColumnStretch(4, 1);
    return group;
}

QWidget* LoopConfigDlg::buildLogGroup() {
    // Shown as the form always had them: nothing is logged to a file and no
    // sensor is read.
    auto* group = new QGroupBox(QStringLiteral("Log capability"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QCheckBox(QStringLiteral("Create a log file")), 0, 0);
    grid->addWidget(new QPushButton(QStringLiteral("Select file name/path...")), 0, 1);
    grid->addWidget(new QCheckBox(QStringLiteral("Log temperatures")), 1, 0);
    grid->addWidget(new QCheckBox(QStringLiteral("Log voltages")), 1, 1);
    group->setEnabled(false);
    return group;
}

QRadioButton* LoopConfigDlg::modeRadio(burnin::LoopMode mode) const {
    switch (mode) {
        case burnin::LoopMode::Repeat:
            return repeat_;
        case burnin::LoopMode::StopAtTime:
            return stopAt_;
        case burnin::LoopMode::Continuous:
            break;
    }
    return continuous_;
}

void LoopConfigDlg::setMode(burnin::LoopMode mode) {
    mode_ = mode;
    modeRadio(mode)->setChecked(true);
    repeatField_->setEnabled(mode == burnin::LoopMode::Repeat);
    times_->setEnabled(mode == burnin::LoopMode::Repeat);
    hourField_->setEnabled(mode == burnin::LoopMode::StopAtTime);
    minuteField_->setEnabled(mode == burnin::LoopMode::StopAtTime);
}

burnin::LoopEntry LoopConfigDlg::entry() const {
    return {mode_, repeatField_->text().toStdString(), hourField_->text().toStdString(),
            minuteField_->text().toStdString(), slider_->value()};
}

platform::ThreadPriority LoopConfigDlg::grantedPriority(platform::ThreadPriority asked) const {
    if (asked != platform::ThreadPriority::TimeCritical) {
        return asked;
    }
    const auto grant = environment_.timeCriticalProbe ? environment_.timeCriticalProbe()
                                                      : platform::probeTimeCriticalGrant();
    return platform::grantedPriority(asked, grant);
}

void LoopConfigDlg::start() {
    if (environment_.benchmarkRunning && environment_.benchmarkRunning()) {
        dialogs().message(this, QString::fromLatin1(engine::kRunInProgressWarning),
                          QString::fromLatin1(burnin::kLoopBusyTitle), MessageIcon::Exclamation,
                          MessageButtons::Ok);
        return;
    }
    const auto check = burnin::checkLoopStart(entry(), environment_.loopClock().now());
    if (!check.accepted) {
        dialogs().message(this, QString::fromLatin1(check.errorText.c_str()),
                          QString::fromLatin1(check.errorTitle.c_str()), MessageIcon::Error,
                          MessageButtons::Ok);
        setMode(burnin::LoopMode::Continuous);
        return;
    }
    // The progress window shows the priority the loop thread will really have.
    if (!progress_->startLoop(check.settings, grantedPriority(check.priority))) {
        dialogs().message(this, QString::fromLatin1(burnin::kLoopBusyText),
                          QString::fromLatin1(burnin::kLoopBusyTitle), MessageIcon::Exclamation,
                          MessageButtons::Ok);
        return;
    }
    showCentredOnOwner(*progress_);
    hide();
}

}  // namespace veltrane::shell
