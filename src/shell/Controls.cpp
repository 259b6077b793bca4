#include "shell/Controls.h"

#include <QPushButton>

namespace veltrane::shell {

QPushButton* namedButton(const QString& text, const QString& name, bool enabled) {
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    button->setEnabled(enabled);
    return button;
}

}  // namespace veltrane::shell
