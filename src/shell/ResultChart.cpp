#include "shell/ResultChart.h"

#include <QPainter>
#include <QScreen>

#include "shell/Fonts.h"

namespace veltrane::shell {

namespace {

QRect qrect(const reports::ChartRect& r) {
    return {r.x, r.y, r.width, r.height};
}

QString qtext(const std::string& text) {
    return QString::fromStdString(text);
}

// Wide enough for any label; the text is not clipped to it anyway.
constexpr int kTextReach = 4000;

// `text` with its horizontal centre at x and its top at y.
void drawCentred(QPainter& painter, const reports::ChartText& text) {
    painter.drawText(QRect(text.x - kTextReach / 2, text.y, kTextReach, kTextReach),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, qtext(text.text));
}

// `text` with its left at x and its top at y.
void drawFromLeft(QPainter& painter, const reports::ChartText& text) {
    painter.drawText(QRect(text.x, text.y, kTextReach, kTextReach),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, qtext(text.text));
}

}  // namespace

QColor chartColor(reports::PackedColor color) {
    return {reports::redOf(color), reports::greenOf(color), reports::blueOf(color)};
}

void paintRows(QPainter& painter, int x, int y, int width,
               const std::vector<reports::PackedColor>& lines) {
    if (width <= 0) {
        return;
    }
    for (std::size_t k = 0; k < lines.size(); ++k) {
        painter.fillRect(x, y + static_cast<int>(k), width, 1, chartColor(lines[k]));
    }
}

ResultChart::ResultChart(QWidget* parent) : QWidget(parent) {}

const reports::ChartData& ResultChart::data() const {
    return data_;
}

void ResultChart::setData(reports::ChartData data) {
    data_ = std::move(data);
    lastUpdate_ = QRegion();
    askRepaint(rect());
}

reports::ChartLook ResultChart::look() const {
    return reports::chartLook(data_);
}

std::vector<reports::ChartRepaint> ResultChart::applyLook(const reports::ChartLook& pending) {
    lastUpdate_ = QRegion();
    const reports::ChartGeometry last = painted_.value_or(geometry());
    const auto repaints = reports::applyChartLook(data_, pending);
    for (reports::ChartRepaint part : repaints) {
        switch (part) {
            case reports::ChartRepaint::whole:
                askRepaint(rect());
                break;
            case reports::ChartRepaint::subtitleBand:
                askRepaint(qrect(reports::subtitleBand(last, width())));
                break;
            case reports::ChartRepaint::plot:
                askRepaint(qrect(reports::plotRect(last)));
                break;
        }
    }
    return repaints;
}

reports::ChartGeometry ResultChart::geometry() const {
    return reports::chartGeometry(data_, width(), height());
}

void ResultChart::setDisplayDepth(int bitsPerPixel, bool paletteBased) {
    depth_ = bitsPerPixel;
    paletteBased_ = paletteBased;
    lastUpdate_ = QRegion();
    askRepaint(rect());
}

QRegion ResultChart::lastUpdateRegion() const {
    return lastUpdate_;
}

QSize ResultChart::sizeHint() const {
    return {400, 300};
}

int ResultChart::displayDepth() const {
    if (depth_) {
        return *depth_;
    }
    return screen() != nullptr ? screen()->depth() : 24;
}

void ResultChart::askRepaint(const QRegion& region) {
    lastUpdate_ += region;
    update(region);
}

void ResultChart::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), chartColor(data_.backColor));
    if (reports::fillsOnlyStandard(displayDepth(), paletteBased_)) {
        data_.fillMode = reports::FillMode::standard;  // for good
    }
    const reports::ChartGeometry g = geometry();
    painted_ = g;

    if (const auto scale = reports::chartScale(data_, g)) {
        const QColor grid = chartColor(data_.gridColor);
        painter.fillRect(qrect(scale->axis), grid);
        for (const reports::ChartRect& line : scale->gridLines) {
            painter.fillRect(qrect(line), grid);
        }
        QFont axisFont = chartFont(8);
        axisFont.setStyleStrategy(QFont::PreferDefault);
        painter.setFont(axisFont);
        painter.setPen(chartColor(scale->labelColor));
        drawFromLeft(painter, scale->low);
        drawFromLeft(painter, scale->high);
    }

    painter.setFont(chartFont(reports::barLabelPixels(g)));
    painter.setPen(chartColor(data_.barTextColor));
    for (const reports::ChartBar& bar : reports::chartBars(data_, g)) {
        paintRows(painter, bar.rect.x, bar.rect.y, bar.rect.width, bar.lines);
        drawCentred(painter, bar.label);
    }

    const reports::ChartTexts texts = reports::chartTexts(data_, width(), g);
    painter.setPen(chartColor(data_.titleColor));
    drawCentred(painter, texts.caption);
    drawCentred(painter, texts.title);
    painter.setFont(chartFont(14));
    painter.setPen(chartColor(data_.subtitleColor));
    drawCentred(painter, texts.subtitle);
}

}  // namespace veltrane::shell
