#pragma once

#include <QAbstractButton>
#include <QByteArray>
#include <QPixmap>
#include <string>

namespace veltrane::shell {

// The form's pictures live in the resource file form.qrc; a static library
// has to register them before first use.
void initFormResources();

enum class ButtonFace { Up, Down, Focus, Disabled };
enum class ButtonTint { Blue, Green };

// One button picture recoloured for a face: every button has a single
// picture whose three placeholder colours are swapped per state.
QByteArray tintedPicture(const QByteArray& svg, ButtonFace face, ButtonTint tint);

// A bitmap button: the picture (body and pictogram) with the caption drawn
// beside the pictogram, so mnemonics and fonts behave like any other button.
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    PictureButton(const QString& picture, const QString& caption, ButtonTint tint,
                  QWidget* parent = nullptr);

    QSize sizeHint() const override;
    ButtonFace face() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QByteArray svg_;
    ButtonTint tint_;
};

// The picture for a logo name ("PIIILogo2", "P4Logo2", "AthlonLogo2"); a
// null pixmap for an empty or unknown name.
QPixmap logoPixmap(const std::string& name, int size);

}  // namespace veltrane::shell
