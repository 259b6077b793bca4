// The result chart and the colour swatch as painted: pixels of a 400 x 300
// chart read back from grab(), the low-colour display rule, and the part of
// the chart an Apply asks to repaint.
#include "WindowTest.h"
#include "shell/ColorSwatch.h"
#include "shell/ResultChart.h"

namespace veltrane::shell::test {

namespace {

using reports::FillMode;
using reports::PackedColor;

constexpr PackedColor kBarColor = reports::packedColor(200, 40, 40);
constexpr int kLeft = 166;     // trunc(0.415 x 400)
constexpr int kPlotEnd = 390;  // left + plotWidth: the last grid line

// A chart page at 400 x 300 without texts above the bars, on a 24-bit display.
void fillChart(ResultChart& chart, const std::vector<std::int32_t>& values, FillMode mode) {
    reports::ChartData data = reports::chartPageDefaults();
    data.units = {"MU"};
    data.fillMode = mode;
    for (std::int32_t v : values) {
        data.entries.push_back({v, kBarColor});
    }
    chart.resize(400, 300);
    chart.setDisplayDepth(24);
    chart.setData(data);
}

QRgb rgb(PackedColor color) {
    return chartColor(color).rgb();
}

}  // namespace

class ChartWidgetTest : public QObject {
    Q_OBJECT

private slots:
    // The axis stands at left - 1 in the grid colour; each bar's right end is
    // value x plotWidth / maxValue from left, the largest on the last grid line.
    void barsEndWhereTheModelSays() {
        ResultChart chart;
        fillChart(chart, {1000, 150, 900, 300, 0}, FillMode::standard);
        const QImage image = chart.grab().toImage();
        QCOMPARE(image.size(), QSize(400, 300));
        const QRgb back = rgb(0xD6D6D6);
        const QRgb grid = rgb(0x000000);
        const QRgb bar = rgb(reports::fillLines(kBarColor, FillMode::standard, 1)[0]);

        int axis = 0;  // the first grid-coloured column between the axis' and the bars' tops
        while (axis < image.width() && image.pixel(axis, 40) != grid) {
            ++axis;
        }
        QCOMPARE(axis, kLeft - 1);
        QCOMPARE(image.pixel(kLeft - 2, 40), back);
        QCOMPARE(image.pixel(kLeft, 40), back);

        // The bottom row of each bar, below its label's glyphs.
        const std::tuple<int, int, QRgb> ends[] = {{45, kPlotEnd, grid},
                                                   {86, kLeft + 33, back},
                                                   {127, kLeft + 201, back},
                                                   {168, kLeft + 67, back}};
        for (const auto& [top, end, outside] : ends) {
            const int row = top + 31;
            QVERIFY2(image.pixel(end - 1, row) == bar, qPrintable(QString::number(top)));
            QVERIFY2(image.pixel(end, row) == outside, qPrintable(QString::number(top)));
        }
        QCOMPARE(image.pixel(kLeft, 209 + 31), back);  // the 0 bar has no width
    }

    // Each row of a bar is its fill line; a 4-bit display paints the standard
    // mode, and the chart keeps it on a better display. The configurator's
    // swatch paints its own lines over its full width.
    void barsAndSwatchesPaintTheirLines_data() {
        using enum FillMode;
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("painted");
        QTest::newRow("standard") << int(standard) << 24 << int(standard);
        QTest::newRow("cylindrical") << int(cylindrical) << 24 << int(cylindrical);
        QTest::newRow("vertical") << int(vertical) << 24 << int(vertical);
        QTest::newRow("4-bit display") << int(cylindrical) << 4 << int(standard);
    }
    void barsAndSwatchesPaintTheirLines() {
        QFETCH(int, mode);
        QFETCH(int, depth);
        QFETCH(int, painted);
        ResultChart chart;
        fillChart(chart, {1000, 500}, FillMode(mode));
        const auto lines = reports::fillLines(kBarColor, FillMode(painted), 32);
        for (const int display : {depth, 24}) {
            chart.setDisplayDepth(display);
            const QImage image = chart.grab().toImage();
            for (int k = 0; k < 32; ++k) {
                QCOMPARE(image.pixel(kLeft + 10, 45 + k), rgb(lines[static_cast<std::size_t>(k)]));
            }
            QCOMPARE(chart.data().fillMode, FillMode(painted));
        }
        ColorSwatch swatch;
        swatch.resize(30, 20);
        swatch.setColor(kBarColor);
        swatch.setMode(FillMode(mode));
        QCOMPARE(swatch.mode(), FillMode(mode));
        const QImage image = swatch.grab().toImage();
        const auto swatchLines = reports::swatchLines(kBarColor, FillMode(mode), 20);
        for (int y = 0; y < 20; ++y) {
            QCOMPARE(image.pixel(0, y), rgb(swatchLines[static_cast<std::size_t>(y)]));
            QCOMPARE(image.pixel(29, y), rgb(swatchLines[static_cast<std::size_t>(y)]));
        }
    }

    // Apply repaints only what its steps ask: the subtitle band for a
    // subtitle, the plot for the bar text colour, the whole for a title.
    void applyRepaintsOnlyTheAskedPart() {
        ResultChart chart;
        fillChart(chart, {1000}, FillMode::cylindrical);
        QCOMPARE(chart.lastUpdateRegion(), QRegion(0, 0, 400, 300));
        (void)chart.grab();
        const std::pair<std::function<void(reports::ChartLook&)>, QRegion> cases[] = {
            {[](reports::ChartLook& l) { l.subtitle = "Benchmark executed"; },
             QRegion(0, 0, 400, 45)},
            {[](reports::ChartLook& l) { l.barTextColor = 0x00FF00; }, QRegion(166, 45, 224, 205)},
            {[](reports::ChartLook& l) { l.title = "Overall"; }, QRegion(0, 0, 400, 300)},
            {[](reports::ChartLook&) {}, QRegion()},
        };
        for (const auto& [change, region] : cases) {
            reports::ChartLook look = chart.look();
            change(look);
            chart.applyLook(look);
            QCOMPARE(chart.lastUpdateRegion(), region);
            QVERIFY(chart.look() == look);
            chart.applyLook(look);
            QCOMPARE(chart.lastUpdateRegion(), QRegion());
        }
    }
};

}  // namespace veltrane::shell::test

QTEST_MAIN(veltrane::shell::test::ChartWidgetTest)
#include "ChartWidgetTest.moc"
