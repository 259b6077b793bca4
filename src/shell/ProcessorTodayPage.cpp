#include "shell/ProcessorTodayPage.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "ident/ClockFacts.h"
#include "ident/ProcessorLayout.h"
#include "ident/TodaysNames.h"
#include "reports/LadderView.h"
#include "shell/InfoFields.h"
#include "shell/ResultChart.h"

namespace veltrane::shell {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

QLabel* wrappedText(const QString& text, const char* name) {
    auto* label = new QLabel(text);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QString joinedNotes(const engine::LadderResult& result) {
    QStringList lines;
    for (const auto& note : engine::ladderNotes(result)) {
        lines << qs(note);
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

CProcessorTodayPage::CProcessorTodayPage(const ident::MachineFacts& machine, QWidget* parent)
    : QWidget(parent), plan_(shellcore::ladderPlan(machine)) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(infoHeading("Processor today", 25));
    auto* columns = new QHBoxLayout;
    columns->addWidget(machineColumn(machine), 1);
    columns->addWidget(ladderColumn(), 1);
    layout->addLayout(columns, 1);
}

CProcessorTodayPage::~CProcessorTodayPage() {
    cancel_ = true;
    if (worker_.joinable()) {
        worker_.join();
    }
}

QWidget* CProcessorTodayPage::machineColumn(const ident::MachineFacts& machine) {
    const auto page = shellcore::processorTodayPage(machine, ident::installedModelTable().table);
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->addWidget(fieldGroup(ident::kTopologyHeading, page.topology));
    layout->addWidget(fieldGroup(ident::kCacheLevelsHeading, page.caches));
    layout->addWidget(fieldGroup("Today's names", page.names));
    layout->addWidget(fieldGroup(ident::kClocksHeading, page.clocks));
    auto* flags = fieldGroup(page.flagsHeading, page.vectorState);
    flags->setEnabled(true);
    static_cast<QVBoxLayout*>(flags->layout())
        ->insertWidget(0, wrappedText(qs(page.flags), "flags"));
    layout->addWidget(flags);
    layout->addStretch(1);
    // Taller than the other pages: it scrolls rather than squeeze its rows.
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("machineColumn"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(column);
    scroll->setMinimumWidth(column->sizeHint().width() +
                            scroll->verticalScrollBar()->sizeHint().width());
    return scroll;
}

QWidget* CProcessorTodayPage::ladderColumn() {
    auto* box = new QGroupBox(QStringLiteral("Memory ladder"));
    box->setObjectName(QStringLiteral("Memory ladder"));
    auto* layout = new QVBoxLayout(box);
    auto* controls = new QHBoxLayout;
    run_ = new QPushButton(QStringLiteral("Run memory ladder"));
    run_->setObjectName(QStringLiteral("runLadder"));
    run_->setEnabled(plan_.has_value());
    const QString thisMachineOnly = QString::fromLatin1(shellcore::kLadderThisMachineOnly);
    run_->setToolTip(plan_ ? QString() : thisMachineOnly);
    connect(run_, &QPushButton::clicked, this, &CProcessorTodayPage::startLadder);
    status_ = wrappedText(plan_ ? QString() : thisMachineOnly, "ladderStatus");
    controls->addWidget(run_);
    controls->addWidget(status_, 1);
    layout->addLayout(controls);
    chart_ = new ResultChart;
    chart_->setObjectName(QStringLiteral("ladderChart"));
    chart_->setMinimumSize(520, 360);
    chart_->setData(reports::ladderChart({}));
    layout->addWidget(chart_, 1);
    notes_ = wrappedText(QString(), "ladderNotes");
    // Room for the notes before they come, so they never run into the chart.
    notes_->setMinimumHeight(notes_->fontMetrics().lineSpacing() * 8);
    layout->addWidget(notes_);
    return box;
}

void CProcessorTodayPage::setLadderPlan(shellcore::LadderPlan plan) {
    plan_ = std::move(plan);
    run_->setEnabled(!worker_.joinable());
    run_->setToolTip(QString());
    status_->clear();
}

void CProcessorTodayPage::cancelLadder() {
    cancel_ = true;
}

void CProcessorTodayPage::startLadder() {
    if (!plan_ || worker_.joinable()) {
        return;
    }
    run_->setEnabled(false);
    cancel_ = false;
    status_->setText(QStringLiteral("Starting"));
    // The worker only posts to the window, never waits for it, so the window
    // may always wait for the worker.
    worker_ = std::thread([this, plan = *plan_, status = status_] {
        const auto progress = [&plan, status](int rung, int count) {
            const QString text = qs(engine::rungProgressText(plan.rungs, rung, count));
            QMetaObject::invokeMethod(
                status, [status, text] { status->setText(text); }, Qt::QueuedConnection);
        };
        const engine::LadderResult result = shellcore::runLadderPlan(plan, progress, cancel_);
        QMetaObject::invokeMethod(
            this, [this, result] { finishLadder(result); }, Qt::QueuedConnection);
    });
}

void CProcessorTodayPage::finishLadder(const engine::LadderResult& result) {
    worker_.join();  // it has posted its last message and is ending
    chart_->setData(reports::ladderChart(result));
    notes_->setText(joinedNotes(result));
    status_->setText(result.stopped ? QStringLiteral("Stopped after %1 of %2 rungs")
                                          .arg(result.rungs.size())
                                          .arg(result.planned)
                                    : QStringLiteral("%1 rungs measured").arg(result.rungs.size()));
    run_->setEnabled(true);
    emit ladderFinished();
}

}  // namespace veltrane::shell
