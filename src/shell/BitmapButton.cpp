#include "shell/BitmapButton.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "shell/Fonts.h"

namespace veltrane::shell {

namespace {

enum class Look { Up, Down, Disabled };
enum class Glyph { Check, Chart, List, Info, Disk, Envelope, Globe };

struct ButtonPicture {
    const char* name;
    const char* caption;
    Glyph glyph;
    Look look;
};

constexpr ButtonPicture kPictures[] = {
    {"OK2Up", "OK", Glyph::Check, Look::Up},
    {"OK2Down", "OK", Glyph::Check, Look::Down},
    {"GraphUp", "Graph of results..", Glyph::Chart, Look::Up},
    {"GraphDown", "Graph of results..", Glyph::Chart, Look::Down},
    {"DetailsUp", "Bench details..", Glyph::List, Look::Up},
    {"DetailsDown", "Bench details..", Glyph::List, Look::Down},
    {"InfoUp", "CPU informations...", Glyph::Info, Look::Up},
    {"InfoDown", "CPU informations...", Glyph::Info, Look::Down},
    {"SaveDisabled", "Save project...", Glyph::Disk, Look::Disabled},
    {"SendDisabled", "Send this result...", Glyph::Envelope, Look::Disabled},
    {"OstreloDisabled", "Send to Ostrelo..", Glyph::Globe, Look::Disabled},
};

constexpr QSize kButtonSize(176, 34);

void drawGlyph(QPainter& p, Glyph glyph, const QRectF& r, const QColor& ink) {
    p.save();
    p.setPen(QPen(ink, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
        case Glyph::Check:
            p.drawPolyline(QPolygonF({r.topLeft() + QPointF(2, 9), r.topLeft() + QPointF(7, 14),
                                      r.topLeft() + QPointF(16, 3)}));
            break;
        case Glyph::Chart:
            p.setBrush(ink);
            p.setPen(Qt::NoPen);
            p.drawRect(QRectF(r.left() + 1, r.top() + 9, 4, 9));
            p.drawRect(QRectF(r.left() + 7, r.top() + 3, 4, 15));
            p.drawRect(QRectF(r.left() + 13, r.top() + 6, 4, 12));
            break;
        case Glyph::List:
            for (int row = 0; row < 4; ++row) {
                const qreal y = r.top() + 3 + row * 4.5;
                p.drawLine(QPointF(r.left() + 1, y), QPointF(r.left() + 3, y));
                p.drawLine(QPointF(r.left() + 6, y), QPointF(r.right() - 1, y));
            }
            break;
        case Glyph::Info:
            p.drawEllipse(r.adjusted(1, 1, -1, -1));
            p.drawLine(QPointF(r.center().x(), r.top() + 8),
                       QPointF(r.center().x(), r.bottom() - 4));
            p.drawPoint(QPointF(r.center().x(), r.top() + 5));
            break;
        case Glyph::Disk:
            p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 2, 2);
            p.drawRect(QRectF(r.left() + 5, r.top() + 1, 8, 5));
            p.drawRect(QRectF(r.left() + 4, r.top() + 10, 10, 6));
            break;
        case Glyph::Envelope:
            p.drawRect(r.adjusted(1, 3, -1, -3));
            p.drawPolyline(QPolygonF({r.topLeft() + QPointF(1, 3), r.center() + QPointF(0, 1),
                                      r.topRight() + QPointF(-1, 3)}));
            break;
        case Glyph::Globe:
            p.drawEllipse(r.adjusted(1, 1, -1, -1));
            p.drawEllipse(r.adjusted(5, 1, -5, -1));
            p.drawLine(QPointF(r.left() + 1, r.center().y()),
                       QPointF(r.right() - 1, r.center().y()));
            break;
    }
    p.restore();
}

QPixmap drawPicture(const ButtonPicture& picture) {
    QPixmap pixmap(kButtonSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const bool down = picture.look == Look::Down;
    const bool disabled = picture.look == Look::Disabled;
    const QRectF face = QRectF(QPointF(0, 0), QSizeF(kButtonSize)).adjusted(1, 1, -1, -1);

    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    if (disabled) {
        fill.setColorAt(0, QColor(0xe4, 0xe4, 0xe4));
        fill.setColorAt(1, QColor(0xcc, 0xcc, 0xcc));
    } else {
        fill.setColorAt(0, down ? QColor(0x1d, 0x4f, 0x91) : QColor(0x5b, 0x9b, 0xe6));
        fill.setColorAt(1, down ? QColor(0x3a, 0x74, 0xc4) : QColor(0x1f, 0x5a, 0xa8));
    }
    p.setPen(QPen(disabled ? QColor(0xa0, 0xa0, 0xa0) : QColor(0x12, 0x3a, 0x70), 1));
    p.setBrush(fill);
    p.drawRoundedRect(face, 6, 6);

    const QColor ink = disabled ? QColor(0x90, 0x90, 0x90) : QColor(Qt::white);
    const QPointF shift = down ? QPointF(1, 1) : QPointF(0, 0);
    drawGlyph(p, picture.glyph, QRectF(QPointF(9, 8), QSizeF(18, 18)).translated(shift), ink);

    QFont font(sansFamily());
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(ink);
    p.drawText(face.adjusted(32, 0, -6, 0).translated(shift), Qt::AlignVCenter | Qt::AlignLeft,
               QString::fromLatin1(picture.caption));
    return pixmap;
}

}  // namespace

QPixmap buttonImage(const QString& name) {
    for (const auto& picture : kPictures) {
        if (name == QLatin1String(picture.name)) {
            return drawPicture(picture);
        }
    }
    return {};
}

BitmapButton::BitmapButton(const QString& caption, const QString& upImage, const QString& downImage,
                           QWidget* parent)
    : QAbstractButton(parent), up_(buttonImage(upImage)), down_(buttonImage(downImage)) {
    setText(caption);
    setToolTip(caption);
    setCursor(Qt::PointingHandCursor);
}

QSize BitmapButton::sizeHint() const {
    return up_.isNull() ? QSize(kButtonSize) : up_.size();
}

void BitmapButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, isDown() && !down_.isNull() ? down_ : up_);
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        p.drawRoundedRect(QRectF(rect()).adjusted(3.5, 3.5, -3.5, -3.5), 4, 4);
    }
}

}  // namespace veltrane::shell
