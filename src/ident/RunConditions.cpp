#include "ident/RunConditions.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <thread>

#include "platform/Format.h"

namespace veltrane::ident {

namespace {

constexpr const char* kCpuFolder = "/sys/devices/system/cpu";
constexpr double kBusyPercent = 5;
constexpr std::size_t kBusiestShown = 3;

std::string fileText(const platform::OsFactsSource& source, const std::string& path) {
    const auto text = source.readFile(path);
    return text ? std::string(trimmed(*text, " \t\r\n")) : std::string();
}

template <typename T>
std::optional<T> number(std::string_view text) {
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() ? std::optional(value) : std::nullopt;
}

// "cpu0", "cpu1" ... in the order of their numbers.
std::vector<int> processorNumbers(const platform::OsFactsSource& source) {
    std::vector<int> numbers;
    for (const std::string& name : source.listFolder(kCpuFolder)) {
        if (name.size() > 3 && name.compare(0, 3, "cpu") == 0) {
            if (const auto n = number<int>(std::string_view(name).substr(3))) {
                numbers.push_back(*n);
            }
        }
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

std::optional<bool> readBoost(const platform::OsFactsSource& source) {
    const std::string cpufreq = fileText(source, std::string(kCpuFolder) + "/cpufreq/boost");
    if (cpufreq == "0" || cpufreq == "1") {
        return cpufreq == "1";
    }
    const std::string noTurbo =
        fileText(source, std::string(kCpuFolder) + "/intel_pstate/no_turbo");
    if (noTurbo == "0" || noTurbo == "1") {
        return noTurbo == "0";
    }
    return std::nullopt;
}

std::optional<std::array<double, 3>> readLoadAverage(const platform::OsFactsSource& source) {
    const std::string text = fileText(source, "/proc/loadavg");
    std::array<double, 3> load{};
    std::string_view rest = text;
    for (double& value : load) {
        const auto space = rest.find(' ');
        const auto parsed = number<double>(rest.substr(0, space));
        if (!parsed) {
            return std::nullopt;
        }
        value = *parsed;
        rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
    }
    return load;
}

// A discharging battery wins; then mains that are online; a laptop whose
// mains are offline is on battery too.
PowerSource readPower(const platform::OsFactsSource& source) {
    const std::string folder = "/sys/class/power_supply";
    bool battery = false;
    bool mainsOnline = false;
    for (const std::string& name : source.listFolder(folder)) {
        const std::string supply = "/" + name;
        const std::string type = fileText(source, folder + supply + "/type");
        if (type == "Battery") {
            battery = true;
            if (fileText(source, folder + supply + "/status") == "Discharging") {
                return PowerSource::Battery;
            }
        } else if (type == "Mains" && fileText(source, folder + supply + "/online") == "1") {
            mainsOnline = true;
        }
    }
    if (mainsOnline) {
        return PowerSource::Mains;
    }
    return battery ? PowerSource::Battery : PowerSource::Unknown;
}

// "pid (name) state ..." with user and system ticks as the 14th and 15th
// fields; the name may hold blanks and parentheses.
std::optional<ProcessTime> parseProcessStat(std::string_view stat) {
    const auto open = stat.find('(');
    const auto close = stat.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
        return std::nullopt;
    }
    std::vector<std::string_view> fields;
    std::string_view rest = stat.substr(close + 1);
    while (!rest.empty()) {
        rest = trimmed(rest, " \n");
        const auto space = rest.find(' ');
        fields.push_back(rest.substr(0, space));
        rest = space == std::string_view::npos ? std::string_view() : rest.substr(space);
    }
    if (fields.size() < 13) {
        return std::nullopt;
    }
    const auto user = number<std::uint64_t>(fields[11]);
    const auto system = number<std::uint64_t>(fields[12]);
    if (!user || !system) {
        return std::nullopt;
    }
    return ProcessTime{std::string(stat.substr(open + 1, close - open - 1)), *user + *system};
}

}  // namespace

ProcessTimes readProcessTimes(const platform::OsFactsSource& source) {
    ProcessTimes times;
    for (const std::string& name : source.listFolder("/proc")) {
        const auto pid = number<std::int64_t>(name);
        if (!pid) {
            continue;
        }
        if (const auto stat = source.readFile("/proc/" + name + "/stat")) {
            if (auto time = parseProcessStat(*stat)) {
                times[*pid] = std::move(*time);
            }
        }
    }
    return times;
}

std::vector<ProcessLoad> busiestProcesses(const ProcessTimes& before, const ProcessTimes& after,
                                          double seconds, double ticksPerSecond,
                                          std::int64_t self) {
    std::vector<ProcessLoad> busy;
    if (seconds <= 0 || ticksPerSecond <= 0) {
        return busy;
    }
    for (const auto& [pid, time] : after) {
        const auto earlier = before.find(pid);
        // A pid that was reused between the samples has counted from zero again.
        if (pid == self || earlier == before.end() || earlier->second.ticks > time.ticks) {
            continue;
        }
        const double percent = 100.0 * static_cast<double>(time.ticks - earlier->second.ticks) /
                               ticksPerSecond / seconds;
        if (percent >= kBusyPercent) {
            busy.push_back({pid, time.name, percent});
        }
    }
    std::stable_sort(busy.begin(), busy.end(),
                     [](const auto& a, const auto& b) { return a.cpuPercent > b.cpuPercent; });
    busy.resize(std::min(busy.size(), kBusiestShown));
    return busy;
}

RunConditions readRunConditions(const platform::OsFactsSource& source, bool virtualMachine) {
    RunConditions conditions;
    const std::string cpu = std::string(kCpuFolder) + "/cpu";
    for (const int n : processorNumbers(source)) {
        conditions.governors.push_back(
            fileText(source, cpu + std::to_string(n) + "/cpufreq/scaling_governor"));
    }
    conditions.scalingDriver = fileText(source, cpu + "0/cpufreq/scaling_driver");
    conditions.boost = readBoost(source);
    conditions.loadAverage = readLoadAverage(source);
    conditions.power = readPower(source);
    conditions.virtualMachine = virtualMachine;
    return conditions;
}

RunConditions sampleRunConditions(const platform::OsFactsSource& source, bool virtualMachine,
                                  double sampleSeconds) {
    RunConditions conditions = readRunConditions(source, virtualMachine);
    const auto self = number<std::int64_t>(source.linkTargetName("/proc/self")).value_or(0);
    const ProcessTimes before = readProcessTimes(source);
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(sampleSeconds));
    const ProcessTimes after = readProcessTimes(source);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    conditions.busiest = busiestProcesses(before, after, elapsed.count(),
                                          static_cast<double>(sysconf(_SC_CLK_TCK)), self);
    return conditions;
}

std::vector<std::string> conditionWarnings(const RunConditions& conditions) {
    std::vector<std::string> warnings;
    // With intel_pstate and amd-pstate-epp, "powersave" still raises the clock under load.
    const bool dynamicPowersave =
        conditions.scalingDriver == "intel_pstate" || conditions.scalingDriver == "amd-pstate-epp";
    const auto& governors = conditions.governors;
    if (!dynamicPowersave &&
        std::find(governors.begin(), governors.end(), "powersave") != governors.end()) {
        warnings.emplace_back("the frequency governor is powersave: figures will be low");
    }
    if (conditions.boost.value_or(false)) {
        warnings.emplace_back(
            "boost (turbo) is on: the clock follows temperature and load, so figures vary "
            "between runs");
    }
    if (conditions.power == PowerSource::Battery) {
        warnings.emplace_back("the machine runs on battery: the processor may be held back");
    }
    if (!conditions.busiest.empty()) {
        std::string names;
        for (const ProcessLoad& process : conditions.busiest) {
            names += (names.empty() ? "" : ", ") +
                     strprintf("%s %.0f %%", process.name.c_str(), process.cpuPercent);
        }
        warnings.push_back("other programs are busy (" + names + "): figures will be low");
    }
    if (conditions.virtualMachine) {
        warnings.emplace_back(
            "this is a virtual machine: figures depend on what the host runs beside it");
    }
    return warnings;
}

const char* powerSourceName(PowerSource power) {
    switch (power) {
        case PowerSource::Mains:
            return "ac";
        case PowerSource::Battery:
            return "battery";
        case PowerSource::Unknown:
            break;
    }
    return "unknown";
}

}  // namespace veltrane::ident
