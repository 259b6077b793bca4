#pragma once

#include <vector>

#include "engine/InfoRow.h"

class QTreeWidget;
class QWidget;

namespace veltrane::shell {

// A two-column "Item" / "Description" list with these column widths.
QTreeWidget* makeInfoList(QWidget* parent, int itemWidth, int descriptionWidth);

// Replaces the list's rows; the item column widens to its longest text.
// `fitHeight`: the list grows to show every row without scrolling.
void fillInfoList(QTreeWidget& list, const std::vector<engine::InfoRow>& rows, bool fitHeight);

}  // namespace veltrane::shell
