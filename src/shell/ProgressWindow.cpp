#include "shell/ProgressWindow.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "shell/InfoList.h"
#include "shell/ProgressParts.h"
#include "shellcore/FrameRequests.h"
#include "suites/RunSession.h"

namespace veltrane::shell {

namespace {

QLabel* namedLabel(QWidget* parent, const QString& name, const QString& text = {}) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QProgressBar* namedBar(QWidget* parent, const QString& name) {
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(name);
    bar->setTextVisible(false);
    bar->setMinimumWidth(260);
    return bar;
}

void showBar(QProgressBar& bar, const engine::ProgressBar& model) {
    bar.setRange(model.minimum, model.maximum);
    bar.setValue(model.position);
}

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

QGroupBox* threadBox(QWidget* parent, ThreadPanel& panel, int thread) {
    auto* box = new QGroupBox(QStringLiteral("Thread %1").arg(thread), parent);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(panel.build(box, QStringLiteral("thread%1").arg(thread)));
    return box;
}

}  // namespace

QWidget* ThreadPanel::build(QWidget* parent, const QString& prefix) {
    auto* box = new QWidget(parent);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);

    auto* counterRow = new QHBoxLayout;
    counterRow->addWidget(new QLabel(QStringLiteral("Now processing thread"), box));
    counter = namedLabel(box, prefix + QStringLiteral("Counter"), QStringLiteral("0"));
    counterRow->addWidget(counter);
    counterRow->addWidget(new QLabel(QStringLiteral("of 7 "), box));
    counterRow->addStretch();
    grid->addLayout(counterRow, 0, 0, 1, 3);

    name = namedLabel(box, prefix + QStringLiteral("Name"));
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    unit = namedLabel(box, prefix + QStringLiteral("Unit"));
    description = namedLabel(box, prefix + QStringLiteral("Description"));
    description->setWordWrap(true);
    description->setMinimumHeight(description->fontMetrics().lineSpacing() * 2);
    grid->addWidget(name, 1, 0, 1, 3);
    grid->addWidget(unit, 2, 0, 1, 3);
    grid->addWidget(description, 3, 0, 1, 3);

    current = namedBar(box, prefix + QStringLiteral("CurrentBar"));
    currentPercent = namedLabel(box, prefix + QStringLiteral("CurrentPercent"));
    overall = namedBar(box, prefix + QStringLiteral("OverallBar"));
    overallPercent = namedLabel(box, prefix + QStringLiteral("OverallPercent"));
    for (QLabel* percent : {currentPercent, overallPercent}) {
        percent->setMinimumWidth(percent->fontMetrics().horizontalAdvance(QStringLiteral("100 %")));
        percent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    grid->addWidget(new QLabel(QStringLiteral("Current thread state"), box), 4, 0);
    grid->addWidget(current, 4, 1);
    grid->addWidget(currentPercent, 4, 2);
    grid->addWidget(new QLabel(QStringLiteral("Overall Process"), box), 5, 0);
    grid->addWidget(overall, 5, 1);
    grid->addWidget(overallPercent, 5, 2);
    grid->setColumnStretch(1, 1);
    return box;
}

void ThreadPanel::show(const engine::ThreadProgress& view) {
    counter->setText(QString::number(view.testsBegun));
    name->setText(fromUtf8(view.name));
    unit->setText(fromUtf8(view.unit));
    description->setText(fromUtf8(view.description));
    showBar(*current, view.current);
    showBar(*overall, view.overall);
    currentPercent->setText(fromUtf8(engine::ProgressModel::percentText(view.current.position)));
    overallPercent->setText(fromUtf8(engine::ProgressModel::percentText(view.overallPercent)));
}

ProgressWindow::ProgressWindow(QWidget* parent, FrameRequests& frame,
                               const suites::RunSession& session, const Look& look)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      session_(session),
      model_(look.twoThreads),
      sink_(
          *this,
          [this](auto message, auto wParam, auto lParam) {
              handleMessage(message, wParam, lParam);
          },
          QtProgressSink::sendingTo(frame)) {
    setObjectName(QLatin1String(look.objectName));
    setWindowTitle(QLatin1String(look.title));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makePleaseWaitLabel(this, look.pleaseWaitWeight));
    runCount_ = namedLabel(this, QStringLiteral("runCount"));
    runCount_->setAlignment(Qt::AlignCenter);
    runCount_->setHidden(true);
    layout->addWidget(runCount_);
    layout->addWidget(new QLabel(QStringLiteral("CPU and System Information"), this));
    info_ = makeInfoList(this, look.itemWidth, look.descriptionWidth);
    layout->addWidget(info_);
    if (look.twoThreads) {
        auto* threads = new QHBoxLayout;
        threads->addWidget(threadBox(this, panels_[0], 1));
        threads->addWidget(threadBox(this, panels_[1], 2));
        layout->addLayout(threads);
    } else {
        layout->addSpacing(6);
        layout->addWidget(panels_[0].build(this, QString()));
        layout->addSpacing(6);
    }
    layout->addWidget(makeKeepStillNotice(this));
    resetView();
}

bool ProgressWindow::running() const {
    return session_.inProgress();
}

void ProgressWindow::setInfoRows(const std::vector<engine::InfoRow>& rows) {
    fillInfoList(*info_, rows, true);
}

void ProgressWindow::setRunText(const QString& text) {
    runCount_->setText(text);
    runCount_->setHidden(text.isEmpty());
}

QString ProgressWindow::runText() const {
    return runCount_->text();
}

engine::ProgressSink& ProgressWindow::beginRun() {
    resetView();
    sink_.rearm();
    return sink_;
}

void ProgressWindow::waitForRunEnd() {
    drainRun(sink_, [this] { return running(); });
}

void ProgressWindow::handleMessage(engine::WindowMessage message, std::int64_t wParam,
                                   std::int64_t lParam) {
    const int changed = model_.apply(message, wParam, lParam);
    if (changed >= 0) {
        panels_[static_cast<std::size_t>(changed)].show(model_.thread(changed));
    }
    // The first thread's memory tests also change the second thread's texts.
    if (model_.twoThreads() && changed == 0 && message == engine::WM_THREAD_BEGIN) {
        panels_[1].show(model_.thread(1));
    }
    emit messageShown(static_cast<int>(message), wParam, lParam);
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
    if (running()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void ProgressWindow::reject() {
    if (!running()) {
        QDialog::reject();
    }
}

void ProgressWindow::changeEvent(QEvent* event) {
    constexpr Qt::WindowStates kFilling = Qt::WindowMaximized | Qt::WindowFullScreen;
    if (event->type() == QEvent::WindowStateChange && running() &&
        (windowState() & kFilling) != 0) {
        setWindowState(windowState() & ~kFilling);
    }
    QDialog::changeEvent(event);
}

void ProgressWindow::showEvent(QShowEvent* event) {
    resetView();
    QDialog::showEvent(event);
}

void ProgressWindow::hideEvent(QHideEvent* event) {
    resetView();
    QDialog::hideEvent(event);
}

void ProgressWindow::resetView() {
    model_.reset();
    panels_[0].show(model_.thread(0));
    if (model_.twoThreads()) {
        panels_[1].show(model_.thread(1));
    }
}

}  // namespace veltrane::shell
