#include "shell/ColorSwatch.h"

#include <QPainter>

#include "shell/ResultChart.h"

namespace veltrane::shell {

ColorSwatch::ColorSwatch(QWidget* parent) : QWidget(parent) {}

void ColorSwatch::setColor(reports::PackedColor color) {
    if (color != color_) {
        color_ = color;
        update();
    }
}

void ColorSwatch::setMode(reports::FillMode mode) {
    if (mode != mode_) {
        mode_ = mode;
        update();
    }
}

reports::PackedColor ColorSwatch::color() const {
    return color_;
}

reports::FillMode ColorSwatch::mode() const {
    return mode_;
}

QSize ColorSwatch::sizeHint() const {
    return {64, 24};
}

void ColorSwatch::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    paintRows(painter, 0, 0, width(), reports::swatchLines(color_, mode_, height()));
}

}  // namespace veltrane::shell
