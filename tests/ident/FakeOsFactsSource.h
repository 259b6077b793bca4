#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/OsFacts.h"

namespace veltrane::test {

// A system answered from memory: files, folders and links that a test sets,
// nothing else. A file that is not set reads as missing or unreadable.
class FakeOsFactsSource : public platform::OsFactsSource {
public:
    std::map<std::string, std::string> files;
    std::map<std::string, std::string> dataFiles;
    std::map<std::string, std::string> links;
    std::string kernel = "Linux";
    std::string release = "6.1.0-18-amd64";
    std::string host = "bench-box";
    std::string passwdUser = "ada";
    std::map<std::string, std::string> variables;
    platform::MemoryStatus fallbackMemory;
    platform::SystemInfo system{4, 4096, 4096, 4096, (std::uint64_t{1} << 47) - 4096 - 1};

    // Adds a file; the folders on its path list it.
    FakeOsFactsSource& file(const std::string& path, const std::string& text) {
        files[path] = text;
        return *this;
    }

    static std::optional<std::string> find(const std::map<std::string, std::string>& map,
                                           const std::string& key) {
        const auto found = map.find(key);
        return found != map.end() ? std::optional<std::string>(found->second) : std::nullopt;
    }

    std::optional<std::string> readFile(const std::string& path) const override {
        return find(files, path);
    }

    // The next name below `path` of every file and link under it.
    std::vector<std::string> listFolder(const std::string& path) const override {
        std::set<std::string> names;
        const std::string prefix = path + "/";
        for (const auto* map : {&files, &links}) {
            for (const auto& [entry, text] : *map) {
                if (entry.compare(0, prefix.size(), prefix) == 0) {
                    names.insert(entry.substr(prefix.size(),
                                              entry.find('/', prefix.size()) - prefix.size()));
                }
            }
        }
        return {names.begin(), names.end()};
    }

    std::string linkTargetName(const std::string& path) const override {
        const auto target = find(links, path).value_or("");
        return target.substr(target.rfind('/') + 1);
    }
    std::optional<std::string> readDataFile(const std::string& name) const override {
        return find(dataFiles, name);
    }

    std::string kernelName() const override { return kernel; }
    std::string kernelRelease() const override { return release; }
    std::string hostName() const override { return host; }
    std::string passwdUserName() const override { return passwdUser; }

    std::optional<std::string> environment(const std::string& name) const override {
        return find(variables, name);
    }

    platform::MemoryStatus memoryStatus() const override { return fallbackMemory; }
    platform::SystemInfo systemInfo() const override { return system; }
};

}  // namespace veltrane::test
