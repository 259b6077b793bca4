#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/OsFacts.h"

namespace veltrane::ident {

enum class PowerSource { Unknown, Mains, Battery };

// Another process and the share of one processor it used while sampled.
struct ProcessLoad {
    std::int64_t pid = 0;
    std::string name;
    double cpuPercent = 0;
};

// What the machine was doing when a run started: the things that make the
// same machine give other figures.
struct RunConditions {
    std::vector<std::string> governors;  // per processor; empty text: no frequency scaling
    std::string scalingDriver;           // of the first processor
    std::optional<bool> boost;           // turbo/boost; unset: the system does not say
    std::optional<std::array<double, 3>> loadAverage;
    std::vector<ProcessLoad> busiest;  // the busiest other processes, busiest first
    PowerSource power = PowerSource::Unknown;
    bool virtualMachine = false;  // the processor says a hypervisor runs it
};

// Processor time used so far by each process, by pid: name and clock ticks.
struct ProcessTime {
    std::string name;
    std::uint64_t ticks = 0;
};
using ProcessTimes = std::map<std::int64_t, ProcessTime>;

ProcessTimes readProcessTimes(const platform::OsFactsSource& source);
// The processes that used at least 5 % of a processor between the two
// samples, at most three, busiest first; `self` is left out.
std::vector<ProcessLoad> busiestProcesses(const ProcessTimes& before, const ProcessTimes& after,
                                          double seconds, double ticksPerSecond, std::int64_t self);

// Reads everything but the processes, which need two samples.
RunConditions readRunConditions(const platform::OsFactsSource& source, bool virtualMachine);
// The same with the processes sampled `sampleSeconds` apart (this machine).
RunConditions sampleRunConditions(const platform::OsFactsSource& source, bool virtualMachine,
                                  double sampleSeconds = 0.25);

// One sentence for each condition that will spoil the figures.
std::vector<std::string> conditionWarnings(const RunConditions& conditions);

const char* powerSourceName(PowerSource power);  // "ac", "battery", "unknown"

}  // namespace veltrane::ident
