#include "shell/ScalingSetupDlg.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "shell/Controls.h"
#include "shellcore/ScalingResults.h"

namespace veltrane::shell {

ScalingSetupDlg::ScalingSetupDlg(QWidget* parent, int defaultThreads, Planner planner)
    : QDialog(parent), planner_(std::move(planner)) {
    setObjectName(QStringLiteral("ScalingSetupDlg"));
    setWindowTitle(QStringLiteral("Multi-core Benchmark"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral(
        "The standard tests run on one thread, then on the threads below at once, each with "
        "data of its own. Keep the machine otherwise idle while they run."));
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* form = new QFormLayout;
    threads_ = new QSpinBox;
    threads_->setObjectName(QStringLiteral("threadsField"));
    threads_->setRange(1, engine::kScalingMaxThreads);
    threads_->setValue(std::clamp(defaultThreads, 1, engine::kScalingMaxThreads));
    form->addRow(QStringLiteral("Threads:"), threads_);
    pin_ = new QCheckBox(QStringLiteral("Pin threads to processors"));
    pin_->setObjectName(QStringLiteral("pinBox"));
    form->addRow(QString(), pin_);
    layout->addLayout(form);
    planText_ = new QLabel;
    planText_->setObjectName(QStringLiteral("planText"));
    planText_->setWordWrap(true);
    planText_->setMinimumHeight(planText_->fontMetrics().lineSpacing() * 4);
    planText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(planText_);
    start_ = namedButton(QStringLiteral("Start"), QStringLiteral("startButton"));
    start_->setDefault(true);
    auto* cancel = namedButton(QStringLiteral("Cancel"), QStringLiteral("cancelButton"));
    connect(start_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(start_);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(threads_, &QSpinBox::valueChanged, this, &ScalingSetupDlg::replan);
    connect(pin_, &QCheckBox::toggled, this, &ScalingSetupDlg::replan);
    setMinimumWidth(460);
    replan();
}

void ScalingSetupDlg::replan() {
    plan_ = planner_(engine::ThreadRequest{threads_->value(), false}, pin_->isChecked());
    planText_->setText(QString::fromStdString(scalingPlanText(plan_)));
    // A refusal reads as one: the same red as the loop window's warning.
    planText_->setStyleSheet(plan_.refusal ? QStringLiteral("color: #a00000;") : QString());
    start_->setEnabled(!plan_.refusal);
}

}  // namespace veltrane::shell
