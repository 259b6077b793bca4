#include "platform/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace veltrane::platform {

namespace {

std::string lastSystemError() {
    return std::strerror(errno);
}

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
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

std::string writeTextFileAtomically(const std::string& path, std::string_view content) {
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return lastSystemError();
    }
    // mkstemp creates the file readable by its owner only; a report or dump is
    // meant to be shared like any other file the user writes.
    const bool written = ::fchmod(fd, 0644) == 0 && writeAll(fd, content) && ::fsync(fd) == 0;
    const std::string writeError = written ? std::string() : lastSystemError();
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        ::unlink(temporary.c_str());
        return written ? lastSystemError() : writeError;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string error = lastSystemError();
        ::unlink(temporary.c_str());
        return error;
    }
    return {};
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
