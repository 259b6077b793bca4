#pragma once

#include <QPixmap>
#include <QString>
#include <functional>

class QLabel;
class QPainter;

namespace veltrane::shell {

// A window's banner: a blue band with an emblem drawn in its first 64 x 64
// pixels and the window's title beside it in white.
QPixmap bannerPixmap(const QString& title, const std::function<void(QPainter&)>& emblem);
// The banner as the top row of a window.
QLabel* bannerLabel(const QString& title, const std::function<void(QPainter&)>& emblem);

}  // namespace veltrane::shell
