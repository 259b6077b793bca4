#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/DataFiles.h"
#include "platform/OsFacts.h"
#include "platform/TextFile.h"

namespace veltrane::platform {

namespace {

namespace fs = std::filesystem;

// Big enough for any passwd entry that a sane system holds; the lookup gives
// up rather than grow without end.
constexpr std::size_t kPasswdBufferLimit = 1u << 20;

class LinuxOsFactsSource final : public OsFactsSource {
public:
    std::optional<std::string> readFile(const std::string& path) const override {
        auto read = readTextFile(path);
        if (!read.ok()) {
            return std::nullopt;
        }
        return std::move(read.content);
    }

    std::vector<std::string> listFolder(const std::string& path) const override {
        std::vector<std::string> names;
        std::error_code error;
        for (fs::directory_iterator it(path, error), end; !error && it != end;
             it.increment(error)) {
            names.push_back(it->path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string linkTargetName(const std::string& path) const override {
        std::error_code error;
        const auto target = fs::read_symlink(path, error);
        return error ? std::string() : target.filename().string();
    }

    std::optional<std::string> readDataFile(const std::string& name) const override {
        const auto path = findDataFile(name);
        return path ? readFile(*path) : std::nullopt;
    }

    std::string kernelName() const override { return kernel().sysname; }
    std::string kernelRelease() const override { return kernel().release; }

    std::string hostName() const override {
        char name[256] = {};
        if (::gethostname(name, sizeof name - 1) != 0) {
            return {};
        }
        return name;
    }

    std::string passwdUserName() const override {
        std::vector<char> buffer(1024);
        while (buffer.size() <= kPasswdBufferLimit) {
            passwd entry{};
            passwd* found = nullptr;
            const int error =
                ::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found);
            if (error != ERANGE) {
                return error == 0 && found != nullptr ? found->pw_name : std::string();
            }
            buffer.resize(buffer.size() * 2);
        }
        return {};
    }

    std::optional<std::string> environment(const std::string& name) const override {
        const char* value = std::getenv(name.c_str());
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }

    MemoryStatus memoryStatus() const override { return getMemoryStatus(); }
    SystemInfo systemInfo() const override { return getSystemInfo(); }

private:
    static utsname kernel() {
        utsname names{};
        if (::uname(&names) != 0) {
            return utsname{};
        }
        return names;
    }
};

}  // namespace

const OsFactsSource& nativeOsFactsSource() {
    static const LinuxOsFactsSource source;
    return source;
}

}  // namespace veltrane::platform
