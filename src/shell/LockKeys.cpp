#include "shell/LockKeys.h"

#include <fstream>
#include <string>
#include <system_error>

namespace veltrane::shell {

namespace {

bool lit(const std::filesystem::path& led) {
    std::ifstream in(led / "brightness");
    int brightness = 0;
    return static_cast<bool>(in >> brightness) && brightness > 0;
}

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

LockKeys readLockKeys(const std::filesystem::path& ledsFolder) {
    LockKeys keys;
    std::error_code error;
    std::filesystem::directory_iterator entry(ledsFolder, error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (endsWith(name, "::capslock")) {
            keys.caps = keys.caps || lit(entry->path());
        } else if (endsWith(name, "::numlock")) {
            keys.num = keys.num || lit(entry->path());
        } else if (endsWith(name, "::scrolllock")) {
            keys.scroll = keys.scroll || lit(entry->path());
        }
    }
    return keys;
}

}  // namespace veltrane::shell
