// The loop configurator's fields: any three texts at any clock time.
//
// Input: four control bytes (mode, slider, hour and minute of the clock,
// each taken modulo its range), then the repeat, hour and minute texts on
// lines of their own.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "reports/LoopStart.h"

namespace {

using veltrane::fuzz::fuzzCheck;
namespace reports = veltrane::reports;

constexpr std::size_t kControlBytes = 4;

// What strtol gives for the first thirty characters, held to the int32
// range: the promise of readFieldNumber.
std::int32_t clampedStrtol(std::string_view text) {
    const std::string cText(text.substr(0, 30));
    const long value = std::strtol(cText.c_str(), nullptr, 10);
    if (value > INT32_MAX) {
        return INT32_MAX;
    }
    return value < INT32_MIN ? INT32_MIN : static_cast<std::int32_t>(value);
}

std::string takeLine(std::string_view& rest) {
    const std::size_t end = rest.find('\n');
    std::string line(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    return line;
}

void checkOutcome(const reports::LoopEntry& entry, const reports::ClockTime& now,
                  const reports::LoopStartCheck& check) {
    if (!check.accepted) {
        fuzzCheck(check.settings.mode == reports::LoopMode::Continuous, "a refusal kept its mode");
        fuzzCheck(!check.errorText.empty() && !check.errorTitle.empty(), "a silent refusal");
        return;
    }
    fuzzCheck(check.errorText.empty(), "an accepted entry with an error");
    fuzzCheck(check.settings.mode == entry.mode, "an accepted entry changed its mode");
    const auto& s = check.settings;
    if (entry.mode == reports::LoopMode::Repeat) {
        fuzzCheck(s.repeatCycles >= 0, "a negative repeat count accepted");
    } else if (entry.mode == reports::LoopMode::StopAtTime) {
        fuzzCheck(s.stopMinute >= 0 && s.stopMinute <= 59, "a minute out of range accepted");
        fuzzCheck(s.stopHour >= now.hour && s.stopHour <= 24, "an hour out of range accepted");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kControlBytes) {
        return 0;
    }
    reports::LoopEntry entry;
    entry.mode = static_cast<reports::LoopMode>(data[0] % 3);
    entry.sliderPosition = data[1] % 5 - 1;  // -1 and 3 lie beyond the slider's ends
    reports::ClockTime now;
    now.hour = data[2] % 26;
    now.minute = data[3] % 60;
    std::string_view rest(reinterpret_cast<const char*>(data) + kControlBytes,
                          size - kControlBytes);
    entry.repeatText = takeLine(rest);
    entry.hourText = takeLine(rest);
    entry.minuteText = takeLine(rest);
    for (const std::string* text : {&entry.repeatText, &entry.hourText, &entry.minuteText}) {
        fuzzCheck(reports::readFieldNumber(*text) == clampedStrtol(*text),
                  "readFieldNumber differs from strtol");
    }
    checkOutcome(entry, now, reports::checkLoopStart(entry, now));
    return 0;
}
