#pragma once

#include <QWidget>

#include "reports/ChartModel.h"

namespace veltrane::shell {

// The graph configurator's colour sample: the colour itself in the standard
// mode, else a gradient of it over the swatch's height like a bar's.
class ColorSwatch : public QWidget {
    Q_OBJECT

public:
    explicit ColorSwatch(QWidget* parent = nullptr);

    void setColor(reports::PackedColor color);
    void setMode(reports::FillMode mode);
    reports::PackedColor color() const;
    reports::FillMode mode() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    reports::PackedColor color_ = 0;
    reports::FillMode mode_ = reports::FillMode::standard;
};

}  // namespace veltrane::shell
