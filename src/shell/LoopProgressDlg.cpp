#include "shell/LoopProgressDlg.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "shell/Banner.h"
#include "shell/Controls.h"

namespace veltrane::shell {

namespace {

constexpr int kDetailsWidth = 490;

// Two arrows chasing each other round a circle.
void drawLoopArrows(QPainter& p) {
    const QRectF circle(14, 10, 44, 44);
    p.setPen(QPen(QColor(0xff, 0xe8, 0x8a), 6, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    for (int half = 0; half < 2; ++half) {
        p.drawArc(circle, (20 + half * 180) * 16, 130 * 16);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xe8, 0x8a));
    const QPointF centre = circle.center();
    for (int half = 0; half < 2; ++half) {
        const double sign = half == 0 ? 1 : -1;
        // Arrow heads at the ends of the arcs (150 and 330 degrees).
        const QPointF tip = centre + QPointF(-19 * sign, -11 * sign);
        p.drawPolygon(
            QPolygonF({tip + QPointF(-7 * sign, -5 * sign), tip + QPointF(7 * sign, -3 * sign),
                       tip + QPointF(-2 * sign, 9 * sign)}));
    }
}

QLabel* valueLabel(const QString& name) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setMinimumWidth(170);
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    return label;
}

QProgressBar* loopBar(const QString& name) {
    auto* bar = new QProgressBar;
    bar->setObjectName(name);
    bar->setRange(0, burnin::LoopLog::kBarMax);
    bar->setTextVisible(false);
    return bar;
}

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

}  // namespace

QLabel* loopBanner(const QString& title) {
    return bannerLabel(title, drawLoopArrows);
}

LoopProgressDlg::LoopProgressDlg(QWidget* parent, const LoopEnvironment& environment)
    : QDialog(parent),
      clock_(environment.loopClock()),
      runner_(clock_, environment.unit != nullptr ? environment.unit : burnin::standardLoopUnit(),
              environment.timing) {
    runner_.setResultHook(environment.resultHook);
    setObjectName(QStringLiteral("LoopProgressDlg"));
    setWindowTitle(QStringLiteral("Looping in progress"));

    list_ = new QTreeWidget;
    list_->setObjectName(QStringLiteral("loopLog"));
    list_->setHeaderLabels({QStringLiteral("Details")});
    list_->setRootIsDecorated(false);
    list_->setColumnWidth(0, kDetailsWidth);
    list_->setMinimumWidth(kDetailsWidth + 24);
    list_->setMinimumHeight(200);

    button_ = namedButton(QStringLiteral("Stop looping Now!"), QStringLiteral("loopButton"));
    connect(button_, &QPushButton::clicked, this, &LoopProgressDlg::buttonPressed);
    auto* note = new QLabel(QStringLiteral("if the animation stop, the system is crashed."));
    note->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(loopBanner(QStringLiteral("Looping in progress...")));
    layout->addWidget(buildStatus());
    layout->addWidget(list_, 1);
    layout->addWidget(note);
    layout->addWidget(button_, 0, Qt::AlignCenter);
}

LoopProgressDlg::~LoopProgressDlg() {
    // The loop thread reports to this window: it ends before the window goes.
    runner_.requestStop();
    runner_.wait();
}

QWidget* LoopProgressDlg::buildStatus() {
    auto* status = new QWidget;
    auto* grid = new QGridLayout(status);
    grid->setContentsMargins(0, 0, 0, 0);
    runMode_ = valueLabel(QStringLiteral("runMode"));
    priority_ = valueLabel(QStringLiteral("priority"));
    startingAt_ = valueLabel(QStringLiteral("startingAt"));
    stopAt_ = valueLabel(QStringLiteral("stopAt"));
    failed_ = valueLabel(QStringLiteral("failedUnits"));
    auto* temperature = valueLabel(QStringLiteral("temperature"));
    auto* voltage = valueLabel(QStringLiteral("voltage"));
    const std::pair<const char*, QLabel*> cells[] = {
        {"Run Mode:", runMode_},   {"Priority:", priority_},      {"Starting At:", startingAt_},
        {"Stop At:", stopAt_},     {"Curent Temp:", temperature}, {"Current Voltage:", voltage},
        {"Failed units:", failed_}};
    int cell = 0;
    for (const auto& [caption, value] : cells) {
        auto* label = new QLabel(QString::fromLatin1(caption));
        grid->addWidget(label, cell / 2, (cell % 2) * 2);
        grid->addWidget(value, cell / 2, (cell % 2) * 2 + 1);
        // No sensor is read: the two stay as the form always had them.
        label->setEnabled(value != temperature && value != voltage);
        value->setEnabled(label->isEnabled());
        ++cell;
    }
    overall_ = loopBar(QStringLiteral("overallBar"));
    current_ = loopBar(QStringLiteral("currentBar"));
    const int barsRow = (cell + 1) / 2;
    grid->addWidget(new QLabel(QStringLiteral("Overall:")), barsRow, 0);
    grid->addWidget(overall_, barsRow, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Current:")), barsRow + 1, 0);
    grid->addWidget(current_, barsRow + 1, 1, 1, 3);
    return status;
}

bool LoopProgressDlg::startLoop(const burnin::LoopSettings& settings,
                                platform::ThreadPriority priority) {
    if (!runner_.start(settings, priority, *this)) {
        return false;
    }
    showLog();
    return true;
}

void LoopProgressDlg::stopLoop() {
    runner_.requestStop();
    hide();
}

void LoopProgressDlg::buttonPressed() {
    // "Close this window" only hides: that loop has ended already.
    if (log_.caption() == burnin::kStopButtonCaption) {
        stopLoop();
    } else {
        hide();
    }
}

void LoopProgressDlg::reject() {
    buttonPressed();
}

void LoopProgressDlg::showLog() {
    if (log_.rows().size() < rowsShown_) {
        list_->clear();
        rowsShown_ = 0;
    }
    for (; rowsShown_ < log_.rows().size(); ++rowsShown_) {
        list_->addTopLevelItem(new QTreeWidgetItem({text(log_.rows()[rowsShown_])}));
    }
    if (rowsShown_ > 0) {
        list_->scrollToItem(list_->topLevelItem(static_cast<int>(rowsShown_) - 1));
    }
    const burnin::LoopStatusTexts& status = log_.status();
    runMode_->setText(text(status.runMode));
    priority_->setText(text(status.priority));
    startingAt_->setText(text(status.startingAt));
    stopAt_->setText(text(status.stopAt));
    failed_->setText(QString::number(log_.failedUnits()));
    overall_->setValue(log_.overallBar());
    current_->setValue(log_.currentBar());
    button_->setText(text(log_.caption()));
}

void LoopProgressDlg::loopStarting(const burnin::LoopSettings& settings,
                                   platform::ThreadPriority priority) {
    // On the window thread, before the loop thread exists.
    log_.start(settings, priority, clock_.now());
    // A stopped loop's last notices may still be queued: they are not this loop's.
    ++generation_;
    list_->clear();
    rowsShown_ = 0;
}

void LoopProgressDlg::send(burnin::LoopNotice notice, std::int64_t wParam, std::int64_t lParam) {
    const burnin::ClockTime sentAt = clock_.now();
    QMetaObject::invokeMethod(
        this,
        [this, notice, wParam, lParam, sentAt, loop = generation_.load()] {
            if (loop != generation_.load()) {
                return;
            }
            log_.handle(notice, wParam, lParam, sentAt);
            showLog();
            emit noticeShown();
        },
        Qt::QueuedConnection);
}

void LoopProgressDlg::loopFinished() {
    QMetaObject::invokeMethod(
        this,
        [this, loop = generation_.load()] {
            if (loop != generation_.load()) {
                return;
            }
            log_.finish();
            showLog();
            emit noticeShown();
        },
        Qt::QueuedConnection);
}

}  // namespace veltrane::shell
