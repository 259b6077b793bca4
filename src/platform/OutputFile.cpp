#include "platform/OutputFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <utility>

namespace veltrane::platform {

namespace {

namespace fs = std::filesystem;

// As many links as the kernel itself follows before giving up.
constexpr int kMaxLinks = 40;

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

// The names of the program's own standard output and error. Reopening them
// would start a redirected file again from its beginning, so they are written
// through the descriptors the program already has.
std::optional<int> standardStreamOf(const std::string& path) {
    static const std::pair<const char*, int> kNames[] = {
        {"/dev/stdout", 1}, {"/dev/stderr", 2},     {"/dev/fd/1", 1},
        {"/dev/fd/2", 2},   {"/proc/self/fd/1", 1}, {"/proc/self/fd/2", 2},
    };
    const std::string normal = fs::path(path).lexically_normal().string();
    for (const auto& [name, descriptor] : kNames) {
        if (normal == name) {
            return descriptor;
        }
    }
    return std::nullopt;
}

OutputTarget refused(const std::string& path, std::string problem) {
    return {OutputKind::Refused, path, -1, std::move(problem)};
}

std::string folderOf(const std::string& path) {
    const auto folder = fs::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

OutputTarget fileTarget(const std::string& path) {
    if (::access(folderOf(path).c_str(), W_OK | X_OK) != 0) {
        return refused(path, "its folder does not exist or takes no files");
    }
    return {OutputKind::File, path, -1, {}};
}

OutputTarget targetOfType(const std::string& path, const struct stat& info) {
    if (S_ISREG(info.st_mode)) {
        return fileTarget(path);
    }
    if (S_ISDIR(info.st_mode)) {
        return refused(path, "it is a folder");
    }
    if (S_ISBLK(info.st_mode)) {
        return refused(path, "it is a block device, which is never written to");
    }
    if (!S_ISCHR(info.st_mode) && !S_ISFIFO(info.st_mode)) {
        return refused(path, "it is neither a file nor a device");
    }
    if (::access(path.c_str(), W_OK) != 0) {
        return refused(path, lastSystemError());
    }
    return {OutputKind::Stream, path, -1, {}};
}

// The kernel's rule for links in a shared folder (sticky and writable by
// all, like /tmp), which following a link by hand would otherwise bypass: a
// link there is followed only when it is ours or the folder owner's, so a
// link planted by someone else cannot turn an output onto another file.
bool mayFollow(const std::string& link, const struct stat& linkInfo) {
    struct stat folder {};
    if (::stat(folderOf(link).c_str(), &folder) != 0) {
        return false;
    }
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || linkInfo.st_uid == ::geteuid() || linkInfo.st_uid == folder.st_uid;
}

// Where a link points, read relative to the link's own folder.
std::optional<std::string> linkTarget(const std::string& link) {
    std::error_code error;
    const fs::path target = fs::read_symlink(link, error);
    if (error) {
        return std::nullopt;
    }
    return target.is_absolute() ? target.string() : (fs::path(folderOf(link)) / target).string();
}

// Keeps the usual stop signals away from this thread while a temporary file
// exists; one that arrives meanwhile is delivered when the file is gone.
class StopSignalsHeld {
public:
    StopSignalsHeld() {
        sigset_t held;
        sigemptyset(&held);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
            sigaddset(&held, signal);
        }
        pthread_sigmask(SIG_BLOCK, &held, &saved_);
    }
    ~StopSignalsHeld() { pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }
    StopSignalsHeld(const StopSignalsHeld&) = delete;
    StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;

private:
    sigset_t saved_{};
};

// A replaced file keeps its permissions; a new one is readable by everybody,
// like any report or dump the user writes.
mode_t modeFor(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0644;
}

std::string replaceFile(const std::string& path, std::string_view content) {
    const StopSignalsHeld held;
    // Short, so a target name near the length limit still leaves room for it.
    std::string temporary = folderOf(path) + "/.veltrane-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return lastSystemError();
    }
    const bool written =
        ::fchmod(fd, modeFor(path)) == 0 && writeAll(fd, content) && ::fsync(fd) == 0;
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

// A device or FIFO takes the bytes as they come. A FIFO nobody reads would
// block the program for ever, so that is an error instead.
std::string writeStream(const std::string& path, std::string_view content) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENXIO ? "no program is reading from it" : lastSystemError();
    }
    const int flags = ::fcntl(fd, F_GETFL);
    const bool written =
        flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0 && writeAll(fd, content);
    const std::string error = written ? std::string() : lastSystemError();
    ::close(fd);
    return error;
}

}  // namespace

OutputTarget resolveOutputTarget(const std::string& path) {
    if (path.empty()) {
        return refused(path, "no file name given");
    }
    if (path.back() == '/') {
        return refused(path, "it is a folder");
    }
    std::string current = path;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        if (const auto descriptor = standardStreamOf(current)) {
            return {OutputKind::StandardStream, current, *descriptor, {}};
        }
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0) {
            return errno == ENOENT ? fileTarget(current) : refused(current, lastSystemError());
        }
        if (!S_ISLNK(info.st_mode)) {
            return targetOfType(current, info);
        }
        if (!mayFollow(current, info)) {
            return refused(current, "it is a link in a shared folder, made by another user");
        }
        const auto next = linkTarget(current);
        if (!next) {
            return refused(current, lastSystemError());
        }
        current = *next;
    }
    return refused(path, "too many levels of symbolic links");
}

bool isStreamOutput(const std::string& path) {
    const OutputKind kind = resolveOutputTarget(path).kind;
    return kind == OutputKind::Stream || kind == OutputKind::StandardStream;
}

std::string writeOutputFile(const std::string& path, std::string_view content) {
    const OutputTarget target = resolveOutputTarget(path);
    switch (target.kind) {
        case OutputKind::File:
            return replaceFile(target.path, content);
        case OutputKind::Stream:
            return writeStream(target.path, content);
        case OutputKind::StandardStream:
            return writeAll(target.descriptor, content) ? std::string() : lastSystemError();
        case OutputKind::Refused:
            break;
    }
    return target.problem;
}

}  // namespace veltrane::platform
