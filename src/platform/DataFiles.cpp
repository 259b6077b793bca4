#include "platform/DataFiles.h"

#include <filesystem>
#include <system_error>

namespace veltrane::platform {

namespace fs = std::filesystem;

namespace {

std::optional<fs::path> executableFolder() {
    std::error_code error;
    const auto exe = fs::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::nullopt;
    }
    return exe.parent_path();
}

}  // namespace

std::vector<std::string> dataFileCandidates(const std::string& name) {
    std::vector<std::string> candidates{name};
    if (const auto folder = executableFolder()) {
        candidates.push_back((*folder / name).string());
    }
    candidates.push_back((fs::path(VELTRANE_INSTALL_DATA_DIR) / name).string());
    return candidates;
}

std::optional<std::string> findDataFile(const std::string& name) {
    for (const auto& candidate : dataFileCandidates(name)) {
        std::error_code error;
        if (fs::is_regular_file(candidate, error)) {
            return candidate;
        }
    }
    return std::nullopt;
}

}  // namespace veltrane::platform
