#pragma once

#include <ostream>
#include <string>

namespace veltrane::cli {

// The pages `info` shows; "all" is every one of them, cpu first.
inline constexpr const char* kInfoTopics[] = {"cpu", "cache", "os", "pci", "all"};

struct InfoOptions {
    std::string topic = "cpu";
    std::string dumpCpuidPath;  // empty: no dump
    bool measureClock = true;
    std::string jsonPath;  // every machine fact as JSON to this file, "-": standard output
};

// `veltrane-cli info`: shows what the program detected. Returns the exit status.
int runInfo(const InfoOptions& options, std::ostream& out, std::ostream& err);

}  // namespace veltrane::cli
