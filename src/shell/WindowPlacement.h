#pragma once

class QWidget;

namespace veltrane::shell {

// Shows a top-level window normally, centred on its screen, in front.
void showCentred(QWidget& window);
// The same, centred on its owner while the owner is on screen.
void showCentredOnOwner(QWidget& window);

}  // namespace veltrane::shell
