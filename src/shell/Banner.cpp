#include "shell/Banner.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>

#include "shell/Fonts.h"

namespace veltrane::shell {

QPixmap bannerPixmap(const QString& title, const std::function<void(QPainter&)>& emblem) {
    QPixmap pixmap(460, 64);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient band(0, 0, pixmap.width(), 0);
    band.setColorAt(0, QColor(0x00, 0x00, 0x80));
    band.setColorAt(1, QColor(0x2f, 0x6f, 0xc8));
    p.fillRect(pixmap.rect(), band);
    p.save();
    emblem(p);
    p.restore();
    QFont font(sansFamily());
    font.setPixelSize(22);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(74, 0, pixmap.width() - 80, pixmap.height()), Qt::AlignVCenter, title);
    return pixmap;
}

QLabel* bannerLabel(const QString& title, const std::function<void(QPainter&)>& emblem) {
    auto* banner = new QLabel;
    banner->setPixmap(bannerPixmap(title, emblem));
    banner->setAlignment(Qt::AlignCenter);
    return banner;
}

}  // namespace veltrane::shell
