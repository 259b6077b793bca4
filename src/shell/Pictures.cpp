#include "shell/Pictures.h"

#include <QPainter>
#include <QSvgRenderer>

// A static library's resources are registered by hand, outside any namespace.
static void registerFramePictures() {
    Q_INIT_RESOURCE(veltrane);
}

namespace veltrane::shell {

namespace {

void ensurePictures() {
    static const bool registered = (registerFramePictures(), true);
    (void)registered;
}

}  // namespace

QPixmap picture(const QString& name, QSize size) {
    ensurePictures();
    QSvgRenderer renderer(QStringLiteral(":/pictures/%1.svg").arg(name));
    if (!renderer.isValid()) {
        return {};
    }
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QIcon programIcon() {
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128}) {
        icon.addPixmap(picture(QStringLiteral("FirstIcon"), QSize(side, side)));
    }
    return icon;
}

QIcon toolbarIcon(int number, QSize size) {
    QIcon icon;
    icon.addPixmap(picture(QStringLiteral("Icon%1Gray").arg(number), size), QIcon::Normal);
    icon.addPixmap(picture(QStringLiteral("Icon%1Hot").arg(number), size), QIcon::Active);
    return icon;
}

}  // namespace veltrane::shell
