#include "shellcore/FirstRunMarker.h"

#include <cstdlib>
#include <system_error>

namespace veltrane::shell {

namespace fs = std::filesystem;

namespace {

constexpr const char* kMarkerName = "FirstRun";

fs::path executableFolder() {
    std::error_code error;
    const auto exe = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : exe.parent_path();
}

// A build tree keeps its programs in bin/ beside CMake's cache.
bool inBuildTree(const fs::path& folder) {
    std::error_code error;
    return !folder.empty() && fs::exists(folder.parent_path() / "CMakeCache.txt", error);
}

fs::path userStateFolder() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state == '/') {
        return fs::path(state) / "veltrane";
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') {
        return fs::path(home) / ".local" / "state" / "veltrane";
    }
    return {};
}

}  // namespace

FirstRunMarker FirstRunMarker::file(fs::path path) {
    FirstRunMarker marker;
    marker.path_ = std::move(path);
    return marker;
}

FirstRunMarker FirstRunMarker::perUser(fs::path stateFolder) {
    FirstRunMarker marker;
    marker.path_ = std::move(stateFolder) / kMarkerName;
    marker.perUser_ = true;
    return marker;
}

FirstRunMarker FirstRunMarker::forProgram() {
    const fs::path folder = executableFolder();
    if (inBuildTree(folder)) {
        return file(folder / kMarkerName);
    }
    const fs::path state = userStateFolder();
    return state.empty() ? FirstRunMarker() : perUser(state);
}

bool FirstRunMarker::consume() const {
    if (path_.empty()) {
        return false;
    }
    std::error_code error;
    bool due = fs::remove(path_, error);
    if (perUser_) {
        // The folder records that this user has started the program before.
        due = fs::create_directories(path_.parent_path(), error) || due;
    }
    return due;
}

}  // namespace veltrane::shell
