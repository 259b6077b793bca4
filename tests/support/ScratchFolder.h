#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

namespace veltrane::test {

// A fresh folder that is the working directory while the object lives; the
// previous working directory comes back and the folder goes at the end.
struct ScratchFolder {
    ScratchFolder() {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        std::filesystem::current_path(path);
    }
    ~ScratchFolder() {
        std::filesystem::current_path(start);
        std::filesystem::remove_all(path);
    }

    const std::filesystem::path start = std::filesystem::current_path();
    const std::filesystem::path path =
        std::filesystem::canonical(std::filesystem::temp_directory_path()) /
        ("veltrane-scratch-" + std::to_string(::getpid()));
};

}  // namespace veltrane::test
