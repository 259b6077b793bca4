#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::platform {

struct TextFileRead {
    std::string content;
    std::string error;  // empty when the read succeeded
    bool ok() const { return error.empty(); }
};

// Reads a whole file, refusing one larger than `maxBytes` so a wrong path
// (a device, a huge log) cannot exhaust memory.
TextFileRead readTextFile(const std::string& path, std::size_t maxBytes = 4u << 20);

// Splits text into lines without their line ends (LF or CR LF).
std::vector<std::string_view> splitLines(std::string_view text);

}  // namespace veltrane::platform
