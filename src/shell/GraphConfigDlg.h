#pragma once

#include <QDialog>
#include <array>

#include "reports/ChartLook.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace veltrane::shell {

class ColorSwatch;
class FrameRequests;
class ResultChart;

// "Veltrane Graph configurator": the title and subtitle, five colours, the
// grid and the fill mode of one chart, held as pending values that reach the
// chart only through Apply or OK.
class GraphConfigDlg final : public QDialog {
    Q_OBJECT

public:
    GraphConfigDlg(QWidget* parent, FrameRequests& frame);

    // Points the configurator at `chart`, loads its look and shows it centred.
    void open(ResultChart& chart);
    void apply();

    ResultChart* target() const { return target_; }
    const reports::ChartLook& pending() const { return pending_; }

private:
    // The colours the buttons choose, in the order of kColorButtons.
    enum ColorSlot { Title, Subtitle, Back, BarText, Grid, ColorCount };

    QWidget* buildAppearance();
    QWidget* buildTitleGroup(const QString& label, QLineEdit*& field, ColorSlot slot);
    QWidget* buildBarsGroup();
    QWidget* buildGridGroup();
    QWidget* buildStylesGroup();
    QWidget* colorRow(ColorSlot slot);
    void chooseColor(ColorSlot slot);
    reports::PackedColor& pendingColor(ColorSlot slot);
    void showPending();

    FrameRequests& frame_;
    ResultChart* target_ = nullptr;
    reports::ChartLook pending_;
    QLineEdit* title_ = nullptr;
    QLineEdit* subtitle_ = nullptr;
    QComboBox* fillMode_ = nullptr;
    QCheckBox* showGrid_ = nullptr;
    ColorSwatch* fillSwatch_ = nullptr;
    std::array<ColorSwatch*, ColorCount> swatches_{};
};

}  // namespace veltrane::shell
