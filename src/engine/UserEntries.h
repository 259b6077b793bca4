#pragma once

#include <cstdint>
#include <string>

#include "engine/ReferenceDatabase.h"

namespace veltrane::engine {

// What follows the name of one of the user's own entries in the lists.
inline constexpr const char* kOwnEntryMark = " (your own)";

// The name a list shows for `entry`: `name` (its processor or chipset),
// marked when the entry is one of the user's own.
std::string listedName(const std::string& name, const ReferenceEntry& entry);

// Puts the user's entry into the list of suite `list`: in place of the entry
// with the same userEntryId (saved again under a new name), else at the end.
// An unknown list changes nothing.
void putUserEntry(ReferenceDatabase& database, int list, const ReferenceEntry& entry);

// Removes the user's entry `userEntryId` from whichever list holds it; false
// when none does. Shipped entries (id 0) are never removed.
bool removeUserEntry(ReferenceDatabase& database, std::int64_t userEntryId);

}  // namespace veltrane::engine
