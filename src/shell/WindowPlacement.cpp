#include "shell/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace veltrane::shell {

void showCentred(QWidget& window) {
    if (!window.testAttribute(Qt::WA_Resized)) {
        window.adjustSize();
    }
    const QScreen* screen =
        window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    window.showNormal();
    window.raise();
    window.activateWindow();
}

}  // namespace veltrane::shell
