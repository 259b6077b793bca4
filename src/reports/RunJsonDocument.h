#pragma once

#include <chrono>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "reports/RunContext.h"

namespace veltrane::reports {

// Raised whenever a key is renamed, removed or changes its meaning.
inline constexpr int kRunJsonSchemaVersion = 5;

// The JSON record of a finished run: schema_version, program, run,
// conditions, result, details, repeat (a repeated run only; `result` then
// holds the medians) and machine, in that order. Keys are snake_case and carry their
// units (`_s`, `_mb`, `_mb_per_s`, `_kb`, `_bytes`, `_mhz`).
nlohmann::ordered_json runJson(const RunContext& context);

// What the machine was doing just before a run, as the run record's
// `conditions`; `tests` the core's clock around each test.
nlohmann::ordered_json conditionsJson(const ident::RunConditions& conditions,
                                      platform::PriorityGrant grant, nlohmann::ordered_json tests);

// "granted", "refused" or "not_asked".
const char* grantName(platform::PriorityGrant grant);

// Each test's check of its own work, in test order (ran, passed, detail).
nlohmann::ordered_json checksJson(const engine::BenchResult& record);

// The front end that wrote a document and this program's version.
nlohmann::ordered_json programJson(const std::string& program);

// The document as written: indented by two blanks, ending in a line end;
// bytes that are not UTF-8 become U+FFFD.
std::string runJsonText(const nlohmann::ordered_json& document);

// ISO 8601 in UTC to the second: "2026-12-06T11:30:40Z".
std::string utcTimestamp(std::chrono::system_clock::time_point time);

}  // namespace veltrane::reports
