#include "platform/DataFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/TextFile.h"

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
    auto add = [&candidates](const fs::path& path) {
        const auto text = path.lexically_normal().string();
        if (std::find(candidates.begin(), candidates.end(), text) == candidates.end()) {
            candidates.push_back(text);
        }
    };
    if (const auto folder = executableFolder()) {
        add(*folder / name);
        // An installed tree moved or unpacked elsewhere keeps bin/ and
        // share/veltrane/ side by side.
        add(*folder / ".." / "share" / "veltrane" / name);
    }
    add(fs::path(VELTRANE_INSTALL_DATA_DIR) / name);
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

std::string dataFileProblem(const std::string& name, std::size_t maxBytes) {
    const auto path = findDataFile(name);
    if (!path) {
        std::string folders;
        for (const auto& candidate : dataFileCandidates(name)) {
            const auto folder = fs::path(candidate).parent_path();
            folders += (folders.empty() ? "" : ", ") +
                       (folder.empty() ? std::string("the current folder") : folder.string());
        }
        return name + " is in none of the folders searched: " + folders;
    }
    const auto read = readTextFile(*path, maxBytes);
    return read.ok() ? std::string() : *path + ": " + read.error;
}

}  // namespace veltrane::platform
