#pragma once

#include <string>
#include <string_view>

#include "engine/ReferenceDatabase.h"

namespace veltrane::engine {

// A text made fit for one field of a reference line: '-' (the separator),
// line ends and other control characters become blanks, blanks at either end
// go, and an empty text becomes "Unknown".
std::string referenceField(std::string_view text);

// The entry as one line of a reference file, without a line end: its texts
// made fit and the longest of them shortened until the line keeps within
// kReferenceLineMax characters, so parseReferenceLine reads it back.
std::string referenceLine(const ReferenceEntry& entry);

}  // namespace veltrane::engine
