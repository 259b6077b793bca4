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

// Writes through a temporary file in the same folder and renames it over the
// target, so a failed write never leaves a half-written file behind.
// Returns an empty string on success, else what went wrong.
std::string writeTextFileAtomically(const std::string& path, std::string_view content);

// Splits text into lines without their line ends (LF or CR LF).
std::vector<std::string_view> splitLines(std::string_view text);

}  // namespace veltrane::platform
