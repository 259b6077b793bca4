#include "shell/Fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace veltrane::shell {

QString sansFamily() {
    const QStringList families = QFontDatabase::families();
    for (const char* wanted : {"Tahoma", "Arial", "DejaVu Sans", "Liberation Sans"}) {
        if (families.contains(QString::fromLatin1(wanted), Qt::CaseInsensitive)) {
            return QString::fromLatin1(wanted);
        }
    }
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    return QFontInfo(font).family();
}

QFont chartFont(int pixelSize) {
    QFont font(sansFamily());
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Normal);
    font.setItalic(true);
    font.setStyleHint(QFont::SansSerif, QFont::PreferAntialias);
    return font;
}

QFont headingFont(int pixelSize) {
    QFont font = chartFont(pixelSize);
    font.setWeight(QFont::Bold);
    return font;
}

QFont pleaseWaitFont(int weight) {
    QFont font = chartFont(25);
    font.setWeight(static_cast<QFont::Weight>(weight));
    return font;
}

}  // namespace veltrane::shell
