#include "shell/BenchmarkFormArt.h"

#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <array>

// Outside any namespace, as the resource registration requires.
static void registerFormResourceData() {
    Q_INIT_RESOURCE(form);
}

namespace veltrane::shell {

namespace {

// Every button picture is 176 x 34: the pictogram in the left 34 x 34, then
// a body that only changes from top to bottom, then the rounded right end.
constexpr qreal kPictureWidth = 176;
constexpr qreal kPictureHeight = 34;
constexpr qreal kPictogramWidth = 34;
constexpr qreal kRightEndWidth = 10;
constexpr int kCaptionPadding = 14;

// The placeholder colours of every button picture: gradient top, gradient
// bottom, frame.
constexpr std::array<const char*, 3> kPlaceholders{"#5b8bd0", "#23508d", "#17365e"};

using Colours = std::array<const char*, 3>;

Colours faceColours(ButtonFace face, ButtonTint tint) {
    const bool green = tint == ButtonTint::Green;
    switch (face) {
        case ButtonFace::Up:
            return green ? Colours{"#4fb06e", "#1f6e3a", "#154d28"} : kPlaceholders;
        case ButtonFace::Down:
            // Darker and lit from below: pressed in.
            return green ? Colours{"#1a5c30", "#3f9a5c", "#0f3a1d"}
                         : Colours{"#1c4274", "#4a78ba", "#10284a"};
        case ButtonFace::Focus:
            return green ? Colours{"#4fb06e", "#1f6e3a", "#f2a516"}
                         : Colours{"#5b8bd0", "#23508d", "#f2a516"};
        case ButtonFace::Disabled:
            break;
    }
    return {"#b4b8be", "#8d9299", "#6f747b"};
}

QByteArray readResource(const QString& path) {
    initFormResources();
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Drawn in three slices so a wider button keeps its pictogram and corners
// round; only the plain middle of the body is stretched.
void renderStretched(QSvgRenderer& renderer, QPainter& painter, const QRectF& target) {
    const qreal scale = target.height() / kPictureHeight;
    const qreal left = kPictogramWidth * scale;
    const qreal right = kRightEndWidth * scale;
    const qreal middleSource = kPictureWidth - kPictogramWidth - kRightEndWidth;
    const struct {
        QRectF source;
        QRectF target;
    } slices[] = {
        {{0, 0, kPictogramWidth, kPictureHeight}, {0, 0, left + 0.5, target.height()}},
        {{kPictogramWidth, 0, middleSource, kPictureHeight},
         {left, 0, target.width() - left - right + 0.5, target.height()}},
        {{kPictureWidth - kRightEndWidth, 0, kRightEndWidth, kPictureHeight},
         {target.width() - right, 0, right, target.height()}},
    };
    for (const auto& slice : slices) {
        // The renderer draws the whole picture around its view box: clip it.
        painter.save();
        painter.setClipRect(slice.target);
        renderer.setViewBox(slice.source);
        renderer.render(&painter, slice.target);
        painter.restore();
    }
}

QString logoResource(const std::string& name) {
    if (name == "PIIILogo2") {
        return QStringLiteral(":/form/p6.svg");
    }
    if (name == "P4Logo2") {
        return QStringLiteral(":/form/p4.svg");
    }
    if (name == "AthlonLogo2") {
        return QStringLiteral(":/form/k7.svg");
    }
    return {};
}

}  // namespace

void initFormResources() {
    static const bool registered = [] {
        registerFormResourceData();
        return true;
    }();
    (void)registered;
}

QByteArray tintedPicture(const QByteArray& svg, ButtonFace face, ButtonTint tint) {
    const Colours colours = faceColours(face, tint);
    QByteArray result = svg;
    for (std::size_t i = 0; i < kPlaceholders.size(); ++i) {
        result.replace(kPlaceholders[i], colours[i]);
    }
    return result;
}

PictureButton::PictureButton(const QString& picture, const QString& caption, ButtonTint tint,
                             QWidget* parent)
    : QAbstractButton(parent), svg_(readResource(picture)), tint_(tint) {
    setText(caption);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

QSize PictureButton::sizeHint() const {
    QFont captionFont = font();
    captionFont.setBold(true);
    const int caption =
        QFontMetrics(captionFont).horizontalAdvance(text().remove(QLatin1Char('&')));
    const int width = static_cast<int>(kPictogramWidth) + caption + kCaptionPadding;
    return {std::max(static_cast<int>(kPictureWidth), width), static_cast<int>(kPictureHeight)};
}

ButtonFace PictureButton::face() const {
    if (!isEnabled()) {
        return ButtonFace::Disabled;
    }
    if (isDown() || isChecked()) {
        return ButtonFace::Down;
    }
    return hasFocus() ? ButtonFace::Focus : ButtonFace::Up;
}

void PictureButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const ButtonFace current = face();
    QSvgRenderer renderer(tintedPicture(svg_, current, tint_));
    renderStretched(renderer, painter, QRectF(rect()));

    QFont captionFont = font();
    captionFont.setBold(true);
    painter.setFont(captionFont);
    painter.setPen(current == ButtonFace::Disabled ? QColor(0xee, 0xee, 0xee) : Qt::white);
    const int shift = current == ButtonFace::Down ? 1 : 0;
    const int textLeft = static_cast<int>(kPictogramWidth * height() / kPictureHeight);
    const QRect textRect = rect().adjusted(textLeft + shift, shift, -6 + shift, shift);
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextShowMnemonic, text());
}

QPixmap logoPixmap(const std::string& name, int size) {
    const QString resource = logoResource(name);
    if (resource.isEmpty()) {
        return {};
    }
    QSvgRenderer renderer(readResource(resource));
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    return pixmap;
}

}  // namespace veltrane::shell
