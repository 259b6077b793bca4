#pragma once

#include <QDialog>

namespace veltrane::shell {

// The start-up picture: a window without a title holding one picture.
class SplashWindow final : public QDialog {
    Q_OBJECT

public:
    explicit SplashWindow(QWidget* parent);
};

}  // namespace veltrane::shell
