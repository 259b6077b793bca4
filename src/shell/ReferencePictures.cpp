#include "shell/ReferencePictures.h"

#include <QFontMetricsF>
#include <QPainter>
#include <utility>

#include "shell/Fonts.h"

namespace veltrane::shell {

namespace {

struct ChipLook {
    const char* label;
    QColor body;
};

// One look per picture name the shipped reference lists and the extended
// CPU page use.
ChipLook chipLook(const std::string& bitmapName) {
    static const std::pair<const char*, ChipLook> kKnown[] = {
        {"AMD_Zen", {"Zen", QColor(0x3a, 0x3f, 0x47)}},
        {"AMD_K6-2", {"K6-2", QColor(0x2e, 0x5b, 0x3a)}},
        {"AMD_K6-3", {"K6-III", QColor(0x2e, 0x5b, 0x3a)}},
        {"AMD_Duron", {"Duron", QColor(0x5a, 0x3d, 0x6e)}},
        {"AMD_Athlon", {"Athlon", QColor(0x3d, 0x4f, 0x7a)}},
        {"AMD_AthlonXP", {"XP", QColor(0x3d, 0x4f, 0x7a)}},
        {"Intel_Celeron", {"Celeron", QColor(0x7a, 0x4b, 0x2e)}},
        {"PIIILogo", {"PIII", QColor(0x2e, 0x55, 0x7a)}},
        {"IntelPentium4", {"P4", QColor(0x2e, 0x55, 0x7a)}},
    };
    for (const auto& [name, look] : kKnown) {
        if (bitmapName == name) {
            return look;
        }
    }
    return {"CPU", QColor(0x6b, 0x70, 0x78)};
}

// A square package with pins on each side and a short label on its lid.
QPixmap chipPicture(const QString& label, const QColor& body, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double unit = size / 16.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xb8, 0x9b, 0x4a));
    for (int pin = 0; pin < 5; ++pin) {
        const double at = (3.5 + pin * 2.0) * unit;
        p.drawRect(QRectF(at, 0.5 * unit, unit, 2 * unit));
        p.drawRect(QRectF(at, 13.5 * unit, unit, 2 * unit));
        p.drawRect(QRectF(0.5 * unit, at, 2 * unit, unit));
        p.drawRect(QRectF(13.5 * unit, at, 2 * unit, unit));
    }
    p.setBrush(body);
    p.drawRoundedRect(QRectF(2.5 * unit, 2.5 * unit, 11 * unit, 11 * unit), unit, unit);
    p.setPen(QColor(0xf0, 0xf0, 0xf0));
    const QRectF lid(2.5 * unit, 2.5 * unit, 11 * unit, 11 * unit);
    QFont font(sansFamily());
    font.setBold(true);
    // Long labels get a smaller face, so they stay on the lid.
    for (int pixels = std::max(6, size / 4); pixels >= 6; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetricsF(font).horizontalAdvance(label) <= lid.width() - unit) {
            break;
        }
    }
    p.setFont(font);
    p.drawText(lid, Qt::AlignCenter, label);
    return pixmap;
}

}  // namespace

QPixmap referencePicture(const std::string& bitmapName, int size) {
    const ChipLook look = chipLook(bitmapName);
    return chipPicture(QString::fromLatin1(look.label), look.body, size);
}

QPixmap yourSystemPicture(int size) {
    return chipPicture(QStringLiteral("You"), QColor(0x2f, 0x8a, 0x3c), size);
}

}  // namespace veltrane::shell
