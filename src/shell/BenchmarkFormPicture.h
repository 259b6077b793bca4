#pragma once

#include <QImage>
#include <QString>

#include "shellcore/BenchmarkFormModel.h"

namespace veltrane::shell {

class BenchmarkForm;
class FrameRequests;

// The form drawn as it appears on screen, at its natural size, without
// showing it in a window.
QImage renderBenchmarkForm(BenchmarkForm& form);

// A form of the frame's machine saved as a PNG; false when the picture
// cannot be written.
bool writeBenchmarkFormPng(const QString& path, FrameRequests& frame);

}  // namespace veltrane::shell
