#include "shell/ScalingProgressDlg.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/ProgressModel.h"
#include "shell/Controls.h"
#include "shell/InfoList.h"
#include "shell/ProgressParts.h"
#include "shellcore/ScalingProgress.h"

namespace veltrane::shell {

namespace {

constexpr int kRowSpacing = 4;

QLabel* rowLabel(QWidget* parent, const QString& name, int minimumChars) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setMinimumWidth(label->fontMetrics().averageCharWidth() * minimumChars);
    return label;
}

}  // namespace

ScalingProgressDlg::ScalingProgressDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("ScalingProgressDlg"));
    setWindowTitle(QStringLiteral("Benchmarking"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makePleaseWaitLabel(this, 700));
    layout->addWidget(new QLabel(QStringLiteral("CPU and System Information"), this));
    info_ = makeInfoList(this, 120, 200);
    layout->addWidget(info_);
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("scalingHeading"));
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    layout->addWidget(heading_);
    rowsArea_ = new QScrollArea(this);
    rowsArea_->setObjectName(QStringLiteral("threadRows"));
    rowsArea_->setWidgetResizable(true);
    rowsArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(rowsArea_);
    layout->addWidget(makeKeepStillNotice(this));
    stop_ = namedButton(QStringLiteral("Stop"), QStringLiteral("stopButton"));
    stop_->setToolTip(QStringLiteral("Ends the run after the test under way"));
    connect(stop_, &QPushButton::clicked, this, &ScalingProgressDlg::stop);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(stop_);
    layout->addLayout(buttons);
    connect(&timer_, &QTimer::timeout, this, &ScalingProgressDlg::refresh);
    setMinimumWidth(640);
}

void ScalingProgressDlg::setInfoRows(const std::vector<engine::InfoRow>& rows) {
    fillInfoList(*info_, rows, true);
}

void ScalingProgressDlg::begin(ScalingMonitor& monitor) {
    monitor_ = &monitor;
    buildRows(monitor.rowCount());
    stop_->setEnabled(true);
    stop_->setText(QStringLiteral("Stop"));
    refresh();
    timer_.start(kRefreshMs);
}

void ScalingProgressDlg::finish() {
    refresh();  // the run's last word, which the timer may not have caught
    timer_.stop();
    monitor_ = nullptr;
    hide();
}

void ScalingProgressDlg::refresh() {
    if (monitor_ == nullptr) {
        return;
    }
    const ScalingProgressView view = monitor_->view();
    heading_->setText(QString::fromStdString(view.heading));
    const std::size_t shown = std::min(view.rows.size(), rows_.size());
    for (std::size_t i = 0; i < shown; ++i) {
        const ScalingRowView& model = view.rows[i];
        Row& row = rows_[i];
        row.label->setText(QString::fromStdString(model.label));
        row.bar->setRange(model.bar.minimum, model.bar.maximum);
        row.bar->setValue(model.bar.position);
        row.percent->setText(
            QString::fromStdString(engine::ProgressModel::percentText(model.bar.position)));
        row.state->setText(QString::fromStdString(model.state));
    }
}

QString ScalingProgressDlg::rowState(int row) const {
    return row >= 0 && row < rowCount() ? rows_[static_cast<std::size_t>(row)].state->text()
                                        : QString();
}

QProgressBar* ScalingProgressDlg::rowBar(int row) const {
    return row >= 0 && row < rowCount() ? rows_[static_cast<std::size_t>(row)].bar : nullptr;
}

void ScalingProgressDlg::buildRows(int count) {
    auto* holder = new QWidget;
    auto* grid = new QGridLayout(holder);
    grid->setVerticalSpacing(kRowSpacing);
    rows_.assign(static_cast<std::size_t>(count), Row{});
    for (int i = 0; i < count; ++i) {
        Row& row = rows_[static_cast<std::size_t>(i)];
        const QString prefix = QStringLiteral("thread%1").arg(i + 1);
        row.label = rowLabel(holder, prefix + QStringLiteral("Label"), 14);
        row.bar = new QProgressBar(holder);
        row.bar->setObjectName(prefix + QStringLiteral("Bar"));
        row.bar->setTextVisible(false);
        row.percent = rowLabel(holder, prefix + QStringLiteral("Percent"), 6);
        row.percent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row.state = rowLabel(holder, prefix + QStringLiteral("State"), 34);
        grid->addWidget(row.label, i, 0);
        grid->addWidget(row.bar, i, 1);
        grid->addWidget(row.percent, i, 2);
        grid->addWidget(row.state, i, 3);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(count, 1);
    rowsArea_->setWidget(holder);  // the previous run's rows go with it
    if (rows_.empty()) {
        return;
    }
    // Up to eight rows without scrolling; more scroll.
    const int visible = std::min(count, kVisibleRows);
    const int rowHeight =
        std::max(rows_.front().bar->sizeHint().height(), rows_.front().state->sizeHint().height());
    const QMargins margins = grid->contentsMargins();
    rowsArea_->setFixedHeight(visible * rowHeight + (visible - 1) * kRowSpacing + margins.top() +
                              margins.bottom() + 2 * rowsArea_->frameWidth());
}

void ScalingProgressDlg::stop() {
    if (monitor_ != nullptr) {
        monitor_->requestStop();
        stop_->setEnabled(false);
        stop_->setText(QStringLiteral("Stopping..."));
        refresh();
    }
}

void ScalingProgressDlg::closeEvent(QCloseEvent* event) {
    if (running()) {
        stop();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void ScalingProgressDlg::reject() {
    if (running()) {
        stop();
        return;
    }
    QDialog::reject();
}

}  // namespace veltrane::shell
