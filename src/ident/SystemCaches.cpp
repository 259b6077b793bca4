#include "ident/SystemCaches.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/ProcessorList.h"

namespace veltrane::ident {

namespace {

using platform::OsFactsSource;

const std::string kCacheFolder = "/sys/devices/system/cpu/cpu0/cache";

// A whole number, with the suffix a size may carry ("48K"); nothing otherwise.
std::optional<std::int64_t> sysfsNumber(std::string_view text, std::string_view suffix = {}) {
    while (!text.empty() && text.back() == '\n') {
        text.remove_suffix(1);
    }
    if (!suffix.empty() && text.ends_with(suffix)) {
        text.remove_suffix(suffix.size());
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0 ||
        value > INT32_MAX) {
        return std::nullopt;
    }
    return value;
}

std::optional<CacheType> sysfsCacheType(std::string_view text) {
    if (text.starts_with("Data")) {
        return CacheType::data;
    }
    if (text.starts_with("Instruction")) {
        return CacheType::code;
    }
    if (text.starts_with("Unified")) {
        return CacheType::unified;
    }
    return std::nullopt;
}

class CacheEntry {
public:
    CacheEntry(const OsFactsSource& system, const std::string& folder)
        : system_(system), folder_(folder + "/") {}

    std::optional<std::int64_t> number(const char* name, std::string_view suffix = {}) const {
        const auto text = system_.readFile(folder_ + name);
        return text ? sysfsNumber(*text, suffix) : std::nullopt;
    }
    std::optional<std::string> text(const char* name) const {
        return system_.readFile(folder_ + name);
    }

private:
    const OsFactsSource& system_;
    std::string folder_;
};

std::optional<CacheGeometry> systemCache(const CacheEntry& entry) {
    const auto level = entry.number("level");
    const auto typeText = entry.text("type");
    const auto type = typeText ? sysfsCacheType(*typeText) : std::nullopt;
    const auto sizeKB = entry.number("size", "K");
    if (!level || !type || !sizeKB) {
        return std::nullopt;
    }
    CacheGeometry cache;
    cache.level = static_cast<int>(*level);
    cache.type = *type;
    cache.sizeKB = static_cast<std::int32_t>(*sizeKB);
    if (const auto ways = entry.number("ways_of_associativity")) {
        cache.ways = static_cast<int>(*ways);
    }
    cache.lineSize = static_cast<int>(entry.number("coherency_line_size").value_or(0));
    cache.sets = static_cast<std::uint64_t>(entry.number("number_of_sets").value_or(0));
    const auto shared = entry.text("shared_cpu_list");
    const auto sharing = shared ? platform::parseProcessorList(*shared) : std::nullopt;
    cache.sharedBy = sharing ? static_cast<int>(sharing->size()) : 0;
    return cache;
}

}  // namespace

std::vector<CacheGeometry> systemCaches(const OsFactsSource& system) {
    auto names = system.listFolder(kCacheFolder);
    // index10 after index9.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return std::pair(a.size(), a) < std::pair(b.size(), b);
    });
    std::vector<CacheGeometry> caches;
    for (const auto& name : names) {
        if (!name.starts_with("index")) {
            continue;
        }
        if (auto cache = systemCache(CacheEntry(system, kCacheFolder + "/" + name))) {
            caches.push_back(*cache);
        }
    }
    return caches;
}

}  // namespace veltrane::ident
