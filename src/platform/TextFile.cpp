#include "platform/TextFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace veltrane::platform {

namespace {

std::string lastSystemError() {
    return std::strerror(errno);
}

}  // namespace

TextFileRead readTextFile(const std::string& path, std::size_t maxBytes) {
    TextFileRead result;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.error = lastSystemError();
        return result;
    }
    char buffer[8192];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        result.content.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (result.content.size() > maxBytes) {
            result.content.clear();
            result.error = "the file is larger than " + std::to_string(maxBytes) + " bytes";
            return result;
        }
    }
    if (in.bad()) {
        result.content.clear();
        result.error = "read error";
    }
    return result;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        auto line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

}  // namespace veltrane::platform
