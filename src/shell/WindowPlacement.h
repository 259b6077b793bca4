#pragma once

class QWidget;

namespace veltrane::shell {

// Shows a top-level window normally, centred on its screen, in front.
void showCentred(QWidget& window);

}  // namespace veltrane::shell
