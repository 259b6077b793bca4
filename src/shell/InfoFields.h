#pragma once

#include <QFont>
#include <string>
#include <vector>

#include "ident/ExtendedCpuPage.h"

class QGroupBox;
class QLabel;
class QWidget;

namespace veltrane::shell {

// The labelled fields the information pages are made of. Every value label
// is named after its row's label, so a field is found again by what it is.
using Rows = std::vector<ident::LabelledValue>;

// A page's heading in the heading font of `pixelSize` pixels.
QLabel* infoHeading(const std::string& text, int pixelSize);

// Each value goes into the label named after its row's label; a disabled
// row shows nothing.
void writeFields(QWidget& scope, const Rows& rows);

// The rows as label/value pairs, filled down `columns` columns; a disabled
// row is greyed.
QWidget* fieldGrid(const Rows& rows, int columns, const QFont* font = nullptr);

// The rows in a group box named and titled `title`, disabled when every row is.
QGroupBox* fieldGroup(const std::string& title, const Rows& rows);

}  // namespace veltrane::shell
