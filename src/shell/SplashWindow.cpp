#include "shell/SplashWindow.h"

#include <QLabel>
#include <QVBoxLayout>

#include "shell/Pictures.h"

namespace veltrane::shell {

SplashWindow::SplashWindow(QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("SplashWindow"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(this);
    label->setPixmap(picture(QStringLiteral("Splash"), QSize(480, 300)));
    layout->addWidget(label);
}

}  // namespace veltrane::shell
