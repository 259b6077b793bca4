// The loop configurator's fields: any three texts at any clock time.
//
// Input: four control bytes (mode, slider, hour and minute of the clock,
// each taken modulo its range), then the repeat, hour and minute texts on
// lines of their own.
#include "FuzzCheck.h"
#include "burnin/LoopStart.h"

using veltrane::fuzz::fuzzCheck;
namespace burnin = veltrane::burnin;
using burnin::LoopMode;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) {
        return 0;
    }
    burnin::LoopEntry entry;
    entry.mode = static_cast<LoopMode>(data[0] % 3);
    entry.sliderPosition = data[1] % 5 - 1;  // -1 and 3 lie beyond the slider's ends
    veltrane::platform::ClockTime now;
    now.hour = data[2] % 26;
    now.minute = data[3] % 60;
    std::string_view rest = veltrane::fuzz::asText(data + 4, size - 4);
    for (std::string* text : {&entry.repeatText, &entry.hourText, &entry.minuteText}) {
        *text = veltrane::fuzz::takeLine(rest);
        // The promise of readFieldNumber: strtol of the first thirty characters.
        fuzzCheck(burnin::readFieldNumber(*text) ==
                      veltrane::fuzz::clampedStrtol(std::string_view(*text).substr(0, 30)),
                  "readFieldNumber differs from strtol");
    }
    const auto check = burnin::checkLoopStart(entry, now);
    const auto& s = check.settings;
    if (!check.accepted) {
        fuzzCheck(s.mode == LoopMode::Continuous, "a refusal kept its mode");
        fuzzCheck(!check.errorText.empty() && !check.errorTitle.empty(), "a silent refusal");
        return 0;
    }
    fuzzCheck(check.errorText.empty(), "an accepted entry with an error");
    fuzzCheck(s.mode == entry.mode, "an accepted entry changed its mode");
    fuzzCheck(entry.mode != LoopMode::Repeat || s.repeatCycles >= 0,
              "a negative repeat count accepted");
    if (entry.mode == LoopMode::StopAtTime) {
        fuzzCheck(s.stopMinute >= 0 && s.stopMinute <= 59, "a minute out of range accepted");
        fuzzCheck(s.stopHour >= now.hour && s.stopHour <= 24, "an hour out of range accepted");
    }
    return 0;
}
