#include "engine/UserEntries.h"

#include <algorithm>

namespace veltrane::engine {

namespace {

ReferenceEntry* findUserEntry(std::vector<ReferenceEntry>& entries, std::int64_t userEntryId) {
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const ReferenceEntry& e) {
        return e.userEntryId == userEntryId;
    });
    return found != entries.end() ? &*found : nullptr;
}

}  // namespace

std::string listedName(const std::string& name, const ReferenceEntry& entry) {
    return entry.userEntryId != 0 ? name + kOwnEntryMark : name;
}

void putUserEntry(ReferenceDatabase& database, int list, const ReferenceEntry& entry) {
    if (list < 0 || list >= kReferenceListCount) {
        return;
    }
    auto& entries = database.lists[static_cast<std::size_t>(list)];
    if (ReferenceEntry* kept = findUserEntry(entries, entry.userEntryId);
        kept != nullptr && entry.userEntryId != 0) {
        *kept = entry;
        return;
    }
    entries.push_back(entry);
}

bool removeUserEntry(ReferenceDatabase& database, std::int64_t userEntryId) {
    if (userEntryId == 0) {
        return false;
    }
    for (auto& entries : database.lists) {
        if (ReferenceEntry* entry = findUserEntry(entries, userEntryId)) {
            entries.erase(entries.begin() + (entry - entries.data()));
            return true;
        }
    }
    return false;
}

}  // namespace veltrane::engine
