#include "shell/ResultsDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <cmath>
#include <numbers>

#include "engine/Messages.h"
#include "shell/BitmapButton.h"
#include "shell/Fonts.h"
#include "shellcore/FrameRequests.h"

namespace veltrane::shell {

namespace {

// A medal on its ribbon, beside the congratulations.
QPixmap medalPicture() {
    QPixmap pixmap(72, 96);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2f, 0x6f, 0xc8));
    p.drawPolygon(QPolygonF({QPointF(14, 0), QPointF(32, 0), QPointF(44, 40), QPointF(30, 44)}));
    p.setBrush(QColor(0xc8, 0x3a, 0x2f));
    p.drawPolygon(QPolygonF({QPointF(58, 0), QPointF(40, 0), QPointF(28, 40), QPointF(42, 44)}));
    QRadialGradient gold(QPointF(30, 58), 30);
    gold.setColorAt(0, QColor(0xff, 0xe8, 0x8a));
    gold.setColorAt(1, QColor(0xc9, 0x92, 0x1a));
    p.setBrush(gold);
    p.setPen(QPen(QColor(0x9a, 0x6b, 0x0c), 2));
    p.drawEllipse(QPointF(36, 64), 26, 26);
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 == 0 ? 15.0 : 6.5;
        const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const QPointF point(36 + radius * std::cos(angle), 65 + radius * std::sin(angle));
        i == 0 ? star.moveTo(point) : star.lineTo(point);
    }
    star.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xf6, 0xd0));
    p.drawPath(star);
    return pixmap;
}

QLabel* scoreLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("scoreText"));
    QFont font(sansFamily());
    font.setPixelSize(30);
    font.setBold(true);
    label->setFont(font);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

ResultsDlg::ResultsDlg(QWidget* parent, FrameRequests& frame) : QDialog(parent) {
    setObjectName(QStringLiteral("ResultsDlg"));
    setWindowTitle(QStringLiteral("Veltrane  results window"));

    auto* medal = new QLabel(this);
    medal->setPixmap(medalPicture());
    medal->setAlignment(Qt::AlignTop);
    auto* congratulations =
        new QLabel(QStringLiteral("Congratulations!!! you have successfully completed the "
                                  "benchmark. Your overall score is:"),
                   this);
    congratulations->setWordWrap(true);
    score_ = scoreLabel(this);
    auto* unit = new QLabel(QStringLiteral("CPUMarks"), this);
    unit->setObjectName(QStringLiteral("unitText"));
    QFont unitFont = score_->font();
    unitFont.setPixelSize(18);
    unit->setFont(unitFont);
    time_ = new QLabel(this);
    time_->setObjectName(QStringLiteral("timeText"));

    auto* scoreRow = new QHBoxLayout;
    scoreRow->addWidget(score_);
    scoreRow->addWidget(unit, 0, Qt::AlignBaseline);
    scoreRow->addStretch();
    suite_ = new QLabel(this);
    suite_->setObjectName(QStringLiteral("suiteText"));

    auto* timeRow = new QGridLayout;
    timeRow->addWidget(new QLabel(QStringLiteral("total time:"), this), 0, 0);
    timeRow->addWidget(time_, 0, 1);
    timeRow->addWidget(new QLabel(QStringLiteral("benchmark suite:"), this), 1, 0);
    timeRow->addWidget(suite_, 1, 1);
    timeRow->setColumnStretch(2, 1);
    spread_ = new QLabel(this);
    spread_->setObjectName(QStringLiteral("spreadText"));
    spread_->setHidden(true);
    auto* texts = new QVBoxLayout;
    texts->addWidget(congratulations);
    texts->addLayout(scoreRow);
    texts->addWidget(spread_);
    texts->addLayout(timeRow);
    texts->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(medal);
    top->addLayout(texts, 1);

    auto* ok = new BitmapButton(QStringLiteral("OK"), QStringLiteral("OK2Up"),
                                QStringLiteral("OK2Down"), this);
    auto* graph = new BitmapButton(QStringLiteral("Graph of results.."), QStringLiteral("GraphUp"),
                                   QStringLiteral("GraphDown"), this);
    auto* details = new BitmapButton(QStringLiteral("Bench details.."), QStringLiteral("DetailsUp"),
                                     QStringLiteral("DetailsDown"), this);
    auto* info = new BitmapButton(QStringLiteral("CPU informations..."), QStringLiteral("InfoUp"),
                                  QStringLiteral("InfoDown"), this);
    auto* save = new BitmapButton(QStringLiteral("Save project..."), QStringLiteral("SaveDisabled"),
                                  QStringLiteral("SaveDisabled"), this);
    auto* send =
        new BitmapButton(QStringLiteral("Send this result..."), QStringLiteral("SendDisabled"),
                         QStringLiteral("SendDisabled"), this);
    auto* maker =
        new BitmapButton(QStringLiteral("Send to Ostrelo.."), QStringLiteral("OstreloDisabled"),
                         QStringLiteral("OstreloDisabled"), this);
    for (QWidget* disabled :
         {static_cast<QWidget*>(save), static_cast<QWidget*>(send), static_cast<QWidget*>(maker)}) {
        disabled->setEnabled(false);
    }
    connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(graph, &QAbstractButton::clicked, this,
            [&frame] { frame.sendRequest(engine::WM_SHOW_GRAPHS, 0, 0); });
    // The same window, opened on the list of every figure.
    connect(details, &QAbstractButton::clicked, this,
            [&frame] { frame.sendRequest(engine::WM_SHOW_GRAPHS, 0, 1); });
    connect(info, &QAbstractButton::clicked, this,
            [&frame] { frame.sendRequest(engine::WM_SHOW_SYSINFO, 0, 0); });

    auto* buttons = new QGridLayout;
    int column = 0;
    for (QWidget* button : {static_cast<QWidget*>(ok), static_cast<QWidget*>(graph),
                            static_cast<QWidget*>(details), static_cast<QWidget*>(info)}) {
        buttons->addWidget(button, 0, column++);
    }
    column = 0;
    for (QWidget* button :
         {static_cast<QWidget*>(save), static_cast<QWidget*>(send), static_cast<QWidget*>(maker)}) {
        buttons->addWidget(button, 1, column++);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);
}

void ResultsDlg::setScoreText(const QString& text) {
    score_->setText(text);
}

void ResultsDlg::setTimeText(const QString& text) {
    time_->setText(text);
}

void ResultsDlg::setSuiteText(const QString& text) {
    suite_->setText(text);
}

void ResultsDlg::setSpreadText(const QString& text) {
    spread_->setText(text);
    spread_->setHidden(text.isEmpty());
}

QString ResultsDlg::spreadText() const {
    return spread_->text();
}

QString ResultsDlg::suiteText() const {
    return suite_->text();
}

QString ResultsDlg::scoreText() const {
    return score_->text();
}

QString ResultsDlg::timeText() const {
    return time_->text();
}

}  // namespace veltrane::shell
