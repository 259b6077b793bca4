#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace veltrane::shell {

// The pictures of the results window's buttons, drawn here rather than
// loaded: "OK2Up", "OK2Down", "GraphUp", ..., "SaveDisabled". An unknown
// name gives a null pixmap.
QPixmap buttonImage(const QString& name);

// A button that is its pictures: one when up, one while pressed. A button
// created disabled shows its disabled picture.
class BitmapButton final : public QAbstractButton {
    Q_OBJECT

public:
    // `caption` is the button's text for keyboard users and tests; the
    // pictures carry it visibly.
    BitmapButton(const QString& caption, const QString& upImage, const QString& downImage,
                 QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap up_;
    QPixmap down_;
};

}  // namespace veltrane::shell
