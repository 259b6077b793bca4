#pragma once

#include <QColor>
#include <QRegion>
#include <QWidget>
#include <optional>
#include <vector>

#include "reports/ChartLook.h"
#include "reports/ChartModel.h"

class QPainter;

namespace veltrane::shell {

// A packed chart colour (red in the low byte) as a QColor.
QColor chartColor(reports::PackedColor color);

// One 1-pixel row per colour of `lines`, `width` pixels wide from (x, y) down.
void paintRows(QPainter& painter, int x, int y, int width,
               const std::vector<reports::PackedColor>& lines);

// The horizontal bar chart of a graph page, painted from the chart model:
// background, scale, bars with their value labels, then caption, title and
// subtitle.
class ResultChart : public QWidget {
    Q_OBJECT

public:
    explicit ResultChart(QWidget* parent = nullptr);

    const reports::ChartData& data() const;
    // Repaints the whole chart.
    void setData(reports::ChartData data);

    // What the configurator loads: chartLook(data()).
    reports::ChartLook look() const;
    // applyChartLook, then repaints each part it asks for: the whole chart,
    // or the subtitle band or plot of the geometry last painted.
    // Returns the repaints applyChartLook asked for, in order.
    std::vector<reports::ChartRepaint> applyLook(const reports::ChartLook& pending);

    // The chart's geometry at the current size. (Hides QWidget::geometry();
    // the widget's rectangle is still QWidget::geometry() or rect().)
    reports::ChartGeometry geometry() const;

    // For tests: the display's bits per pixel and whether it is palette-based;
    // by default the screen's depth, not palette-based.
    void setDisplayDepth(int bitsPerPixel, bool paletteBased = false);

    // For tests: the region the last setData(), applyLook() or
    // setDisplayDepth() asked to repaint; empty when it asked nothing.
    QRegion lastUpdateRegion() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int displayDepth() const;
    // update() of `region`, added to lastUpdateRegion().
    void askRepaint(const QRegion& region);

    reports::ChartData data_;
    std::optional<int> depth_;
    bool paletteBased_ = false;
    std::optional<reports::ChartGeometry> painted_;  // of the last paint
    QRegion lastUpdate_;
};

}  // namespace veltrane::shell
