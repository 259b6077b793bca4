#pragma once

#include <QPixmap>
#include <string>

namespace veltrane::shell {

// The chip picture a reference entry's picture name stands for, drawn at
// `size` pixels square; a name the program does not know gets a plain chip.
QPixmap referencePicture(const std::string& bitmapName, int size);

// The fixed picture above the reference lists: the machine being measured.
QPixmap yourSystemPicture(int size);

}  // namespace veltrane::shell
