#include "shell/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace veltrane::shell {

namespace {

void showCentredIn(QWidget& window, const QRect& area) {
    QRect frame = window.frameGeometry();
    frame.moveCenter(area.center());
    window.move(frame.topLeft());
    window.showNormal();
    window.raise();
    window.activateWindow();
}

void fitOnce(QWidget& window) {
    if (!window.testAttribute(Qt::WA_Resized)) {
        window.adjustSize();
    }
}

}  // namespace

void showCentred(QWidget& window) {
    fitOnce(window);
    const QScreen* screen =
        window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    showCentredIn(window, screen != nullptr ? screen->availableGeometry() : window.frameGeometry());
}

void showCentredOnOwner(QWidget& window) {
    const QWidget* owner = window.parentWidget();
    if (owner == nullptr || !owner->isVisible()) {
        showCentred(window);
        return;
    }
    fitOnce(window);
    showCentredIn(window, owner->frameGeometry());
}

}  // namespace veltrane::shell
