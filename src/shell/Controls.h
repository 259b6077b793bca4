#pragma once

#include <QString>

class QPushButton;

namespace veltrane::shell {

// A push button with an object name, by which the window tests find it.
QPushButton* namedButton(const QString& text, const QString& name, bool enabled = true);

}  // namespace veltrane::shell
