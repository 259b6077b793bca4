#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace veltrane::shell {

// A picture of the program's resources (":/pictures/<name>.svg") drawn at
// `size`; null when there is no such picture.
QPixmap picture(const QString& name, QSize size);

// "FirstIcon", the program's own icon, in the sizes a desktop asks for.
QIcon programIcon();

// A toolbar image: "Icon<n>Gray" normally, "Icon<n>Hot" under the mouse.
QIcon toolbarIcon(int number, QSize size);

}  // namespace veltrane::shell
