#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/OsFacts.h"

namespace veltrane::test {

// A system answered from memory: files and links by path, folders listed
// from the paths below them.
class FakeOsFactsSource : public platform::OsFactsSource {
public:
    using S = std::string;
    using Texts = std::map<S, S>;
    Texts files, dataFiles, links, variables;
    S passwdUser = "ada";
    platform::MemoryStatus fallbackMemory;
    platform::SystemInfo system{4, 4096, 4096, 4096, (std::uint64_t{1} << 47) - 4096 - 1};

    FakeOsFactsSource& file(const S& path, const S& text) {
        files[path] = text;
        return *this;
    }
    static std::optional<S> find(const Texts& texts, const S& key) {
        const auto found = texts.find(key);
        return found != texts.end() ? std::optional<S>(found->second) : std::nullopt;
    }
    std::optional<S> readFile(const S& path) const override { return find(files, path); }
    // The next name below `path` of every file and link under it.
    std::vector<S> listFolder(const S& path) const override {
        std::set<S> names;
        for (const auto* texts : {&files, &links}) {
            for (const auto& [entry, text] : *texts) {
                if (entry.starts_with(path + "/")) {
                    const auto rest = entry.substr(path.size() + 1);
                    names.insert(rest.substr(0, rest.find('/')));
                }
            }
        }
        return {names.begin(), names.end()};
    }
    S linkTargetName(const S& path) const override {
        const auto target = find(links, path).value_or("");
        return target.substr(target.rfind('/') + 1);
    }
    std::optional<S> readDataFile(const S& name) const override { return find(dataFiles, name); }
    S kernelName() const override { return "Linux"; }
    S kernelRelease() const override { return "6.1.0-18-amd64"; }
    S hostName() const override { return "bench-box"; }
    S passwdUserName() const override { return passwdUser; }
    std::optional<S> environment(const S& name) const override { return find(variables, name); }
    platform::MemoryStatus memoryStatus() const override { return fallbackMemory; }
    platform::SystemInfo systemInfo() const override { return system; }
};

}  // namespace veltrane::test
