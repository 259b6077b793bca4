#include "store/OpenStore.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "platform/Format.h"

namespace veltrane::store {

namespace fs = std::filesystem;

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string setAsideName(const std::string& path) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return path + ".damaged-" + stamp;
}

// Moves the damaged file and its journal files out of the way.
std::error_code setAside(const std::string& path, const std::string& aside) {
    std::error_code error;
    fs::rename(path, aside, error);
    if (!error) {
        for (const char* suffix : {"-wal", "-shm"}) {
            std::error_code ignored;
            fs::rename(path + suffix, aside + suffix, ignored);
        }
    }
    return error;
}

StoreOpening notKept(const std::string& why) {
    return {nullptr, "The results history cannot be kept: " + why};
}

}  // namespace

std::string defaultStorePath() {
    std::string base = environment("XDG_DATA_HOME");
    if (base.empty() || base.front() != '/') {
        const std::string home = environment("HOME");
        if (home.empty()) {
            return {};
        }
        base = home + "/.local/share";
    }
    return base + "/veltrane/results.sqlite";
}

StoreOpening openResultsStore(const std::string& path) {
    if (path.empty()) {
        return notKept("no home folder is set (HOME)");
    }
    const fs::path folder = fs::path(path).parent_path();
    std::error_code error;
    if (!folder.empty()) {
        fs::create_directories(folder, error);
        if (error) {
            return notKept(strprintf("cannot create the folder %s (%s)", folder.c_str(),
                                     error.message().c_str()));
        }
    }
    try {
        return {std::make_unique<ResultsStore>(path), {}};
    } catch (const StoreError& failure) {
        if (!failure.damaged()) {
            return notKept(strprintf("%s (%s)", failure.what(), path.c_str()));
        }
    }
    const std::string aside = setAsideName(path);
    if (const auto moved = setAside(path, aside)) {
        return notKept(strprintf("%s is damaged and cannot be set aside (%s)", path.c_str(),
                                 moved.message().c_str()));
    }
    const std::string setAsideText =
        strprintf("The results history %s was damaged; it was kept as %s and a new one started.",
                  path.c_str(), aside.c_str());
    try {
        return {std::make_unique<ResultsStore>(path), setAsideText};
    } catch (const StoreError& failure) {
        return notKept(strprintf("%s (%s)", failure.what(), path.c_str()));
    }
}

}  // namespace veltrane::store
