#include "reports/RunJsonDocument.h"

#include <charconv>
#include <cmath>
#include <ctime>

#include "engine/DetailsRows.h"
#include "engine/Figures.h"
#include "engine/RunEnd.h"
#include "engine/TestInfo.h"
#include "ident/CacheGeometry.h"
#include "ident/FeatureBits.h"
#include "ident/PciNames.h"
#include "ident/RunConditions.h"
#include "platform/Format.h"

namespace veltrane::reports {

using Json = nlohmann::ordered_json;

namespace {

// A float widened to the double nearest its shortest decimal text, so that
// 12.3f is written 12.3 and not 12.300000190734863.
double decimal(float value) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    double widened = value;
    std::from_chars(text, written.ptr, widened);
    return widened;
}

const char* grantName(platform::PriorityGrant grant) {
    switch (grant) {
        case platform::PriorityGrant::Granted:
            return "granted";
        case platform::PriorityGrant::Refused:
            return "refused";
        case platform::PriorityGrant::NotAsked:
            break;
    }
    return "not_asked";
}

Json testsRun(const engine::RunPlan& plan) {
    Json tests = Json::array();
    for (int test = 1; test <= engine::kTestCount; ++test) {
        if (plan.fullRun || plan.selected[static_cast<std::size_t>(test - 1)] != 0) {
            tests.push_back(test);
        }
    }
    return tests;
}

Json runSection(const RunContext& context) {
    const auto& plan = context.plan;
    const std::chrono::duration<double> duration = context.finishedAt - context.startedAt;
    return {
        {"requested_suite", context.requestedSuite},
        {"suite", plan.suite},
        {"suite_name", engine::suiteName(plan.suite)},
        {"fell_back_to_standard", plan.fellBackToStandard},
        {"mask", context.mask},
        {"full_run", plan.fullRun},
        {"tests_run", testsRun(plan)},
        {"started_at", utcTimestamp(context.startedAt)},
        {"finished_at", utcTimestamp(context.finishedAt)},
        {"duration_s", std::round(duration.count() * 1000.0) / 1000.0},
        {"time_critical_priority",
         {{"grant", grantName(context.priorityGrant)},
          {"text", platform::timeCriticalGrantText(context.priorityGrant)}}},
        {"processor_count", context.machine.processorCount},
    };
}

// Each test's check of its own work; a test that did not run has none.
Json checksSection(const engine::BenchResult& record) {
    Json checks = Json::array();
    for (std::size_t i = 0; i < record.checks.size(); ++i) {
        const engine::TestCheck& check = record.checks[i];
        checks.push_back({{"test", i + 1},
                          {"ran", check.state != engine::CheckState::NotRun},
                          {"passed", check.state == engine::CheckState::Passed},
                          {"detail", check.detail}});
    }
    return checks;
}

// The core's clock around each test that ran, and whether it dropped.
Json testClocks(const engine::BenchResult& record) {
    Json tests = Json::array();
    for (std::size_t i = 0; i < record.clocks.size(); ++i) {
        const engine::TestClock& clock = record.clocks[i];
        if (record.checks[i].state == engine::CheckState::NotRun && clock.beforeMHz == 0) {
            continue;
        }
        tests.push_back({{"test", i + 1},
                         {"effective_clock_mhz_before", std::round(clock.beforeMHz * 10.0) / 10.0},
                         {"effective_clock_mhz_after", std::round(clock.afterMHz * 10.0) / 10.0},
                         {"throttled", clock.throttled()}});
    }
    return tests;
}

Json conditionsSection(const RunContext& context) {
    const ident::RunConditions& c = context.conditions;
    Json busiest = Json::array();
    for (const ident::ProcessLoad& process : c.busiest) {
        busiest.push_back({{"pid", process.pid},
                           {"name", process.name},
                           {"cpu_percent", std::round(process.cpuPercent * 10.0) / 10.0}});
    }
    Json load = nullptr;
    if (c.loadAverage) {
        load = {(*c.loadAverage)[0], (*c.loadAverage)[1], (*c.loadAverage)[2]};
    }
    return {
        {"governor", c.governors},
        {"scaling_driver", c.scalingDriver},
        {"boost", c.boost ? Json(*c.boost) : Json(nullptr)},
        {"load_average", load},
        {"busiest_processes", busiest},
        {"power_source", ident::powerSourceName(c.power)},
        {"virtual_machine", c.virtualMachine},
        {"priority_granted", grantName(context.priorityGrant)},
        {"warnings", ident::conditionWarnings(c)},
        {"tests", testClocks(context.record)},
    };
}

// The figures under their keys, each text beside the figure it shows.
Json resultSection(const engine::BenchResult& r) {
    Json result = {{"score_text", engine::scoreLine(r)}};
    for (const engine::Figure& figure : engine::kFigures) {
        result[figure.key] = decimal(r.*figure.field);
        if (figure.field == &engine::BenchResult::overallResult) {
            result["total_time_text"] = engine::totalTimeText(r);
        }
    }
    result["spare_time_s"] = decimal(r.spareTime);
    result["spare_result"] = decimal(r.spareResult);
    return result;
}

// Every run of a repeat and each measured figure's spread over them.
Json repeatSection(const RepeatOutcome& repeat) {
    Json runs = Json::array();
    for (const engine::BenchResult& run : repeat.runs) {
        runs.push_back(resultSection(run));
    }
    Json stats = Json::object();
    for (const engine::FigureStats& figure : repeat.stats) {
        // The median as the median record holds it, so the two read alike.
        stats[figure.figure->key] = {
            {"median", decimal(static_cast<float>(figure.median))},
            {"min", decimal(static_cast<float>(figure.min))},
            {"max", decimal(static_cast<float>(figure.max))},
            {"rsd_percent", std::round(figure.rsdPercent * 1000.0) / 1000.0},
        };
    }
    return {{"runs", std::move(runs)},
            {"stats", std::move(stats)},
            {"until_stable", repeat.untilStable},
            {"settled", repeat.settled}};
}

// The details list without its spacer rows; headings keep their texts.
Json detailsSection(const engine::BenchResult& record) {
    Json rows = Json::array();
    for (const auto& row : engine::benchmarkDetailsRows(record)) {
        if (!row.item.empty() || !row.description.empty()) {
            rows.push_back({{"item", row.item}, {"description", row.description}});
        }
    }
    return rows;
}

Json processorJson(const ident::ProcessorIdentity& identity,
                   const ident::ProcessorDefinition& definition) {
    return {
        {"vendor", identity.vendor},
        {"family", identity.family},
        {"model", identity.model},
        {"stepping", identity.stepping},
        {"extended_family", identity.extendedFamily},
        {"extended_model", identity.extendedModel},
        {"display_family", identity.displayFamily()},
        {"display_model", identity.displayModel()},
        {"brand_string", identity.brandString},
        {"name", definition.processorName},
        {"manufacturer", definition.manufacturer},
        {"codename", definition.codename},
        {"frequency_range", definition.frequencyRange},
        {"default_vcore", definition.defaultVcore},
        {"platform", definition.platform},
        {"bus_type", definition.busType},
        {"step_mask", definition.stepMask},
    };
}

Json cachePageJson(const ident::CachePage& page) {
    Json groups = Json::array();
    for (const auto& group : page.groups) {
        Json fields = Json::array();
        for (const auto& field : group.fields) {
            // A greyed field has no value, which is not the same as an empty one.
            fields.push_back({{"label", field.label},
                              {"value", field.enabled ? Json(field.value) : Json(nullptr)}});
        }
        groups.push_back(
            {{"title", std::string(trimmed(group.title))}, {"fields", std::move(fields)}});
    }
    return groups;
}

const char* cacheTypeName(ident::CacheType type) {
    constexpr const char* kNames[] = {"data", "code", "unified"};
    return kNames[static_cast<std::size_t>(type)];
}

// A figure the processor does not state is 0 in the record and null here.
template <typename Number>
Json stated(Number value) {
    return value == 0 ? Json(nullptr) : Json(value);
}

Json geometryJson(const std::vector<ident::CacheGeometry>& caches) {
    Json list = Json::array();
    for (const auto& cache : caches) {
        list.push_back({
            {"level", cache.level},
            {"type", cacheTypeName(cache.type)},
            {"size_kb", cache.sizeKB},
            {"ways", cache.ways ? Json(*cache.ways) : Json(nullptr)},
            {"fully_associative", cache.fullyAssociative},
            {"sectored", cache.sectored},
            {"lines_per_tag", stated(cache.linesPerTag)},
            {"line_size_bytes", cache.lineSize},
            {"sets", stated(cache.sets)},
            {"shared_by", stated(cache.sharedBy)},
        });
    }
    return list;
}

Json cachesJson(const ident::MachineFacts& facts) {
    const auto& identity = facts.identity;
    return {
        {"l1_data_kb", identity.l1DataKB},
        {"l1_code_kb", identity.l1CodeKB},
        {"l2_kb", identity.l2KB},
        {"trace_cache", facts.traceCacheText},
        {"geometry", geometryJson(facts.cacheGeometry)},
        {"page", cachePageJson(facts.caches)},
    };
}

Json featureKeys(ident::FeatureWord word, std::uint32_t flags) {
    Json keys = Json::array();
    for (const auto key : ident::supportedFeatures(word, flags)) {
        keys.push_back(std::string(key));
    }
    return keys;
}

Json featuresJson(const ident::FeatureWords& words) {
    const std::uint32_t standard = words.standard;
    const std::uint32_t extended = words.extended;
    return {
        {"standard_flags", standard},
        {"extended_flags", extended},
        {"standard_supported", featureKeys(ident::FeatureWord::standard, standard)},
        {"extended_supported", featureKeys(ident::FeatureWord::extended, extended)},
    };
}

Json osJson(const ident::OsInfo& os) {
    return {
        {"kernel_name", os.kernelName},
        {"major_version", os.majorVersion},
        {"minor_version", os.minorVersion},
        {"build_number", os.buildNumber},
        {"revision", ident::osRevisionText(os)},
        {"name", os.osName},
        {"service_pack", os.servicePack},
        {"computer_name", os.computerName},
        {"user_name", os.userName},
        {"system_directory", os.systemDirectory},
        {"windows_directory", os.windowsDirectory},
        {"boot_mode", os.bootMode},
        {"network_status", os.networkStatus},
        {"standby_mode", os.standbyMode},
        {"standby_timeout_s", os.standbyTimeout},
        {"monitor_count", os.monitorCount},
        {"screen_width_px", os.screenWidth},
        {"screen_height_px", os.screenHeight},
        {"display_adapter",
         {{"description", os.adapterDescription},
          {"driver", os.adapterDriver},
          {"vendor_id", os.adapterVendorId},
          {"device_id", os.adapterDeviceId},
          {"subsystem_id", os.adapterSubSysId}}},
    };
}

Json memoryJson(const ident::MemoryInfo& memory) {
    return {
        {"total_physical_mb", memory.totalPhysMB()},
        {"available_physical_mb", memory.availPhysMB()},
        {"load_percent", memory.memoryLoad()},
        {"total_page_file_mb", memory.totalPageFileMB()},
        {"available_page_file_mb", memory.availPageFileMB()},
        {"total_virtual_mb", memory.totalVirtualMB()},
        {"available_virtual_mb", memory.availVirtualMB()},
        {"min_app_address", memory.minAppAddress()},
        {"max_app_address", memory.maxAppAddress()},
        {"allocation_granularity_bytes", memory.allocationGranularity()},
    };
}

// The names file keeps a blank before each name; an unknown device has none.
Json pciName(const std::string& name) {
    return name == ident::kPciUnknownName ? Json(nullptr) : Json(std::string(trimmed(name)));
}

Json pciJson(const ident::MachineFacts& facts) {
    Json devices = Json::array();
    for (const auto& device : facts.pciDevices) {
        devices.push_back({
            {"bus", device.bus},
            {"device", device.device},
            {"function", device.function},
            {"vendor_id", device.vendorId},
            {"device_id", device.deviceId},
            {"revision_id", device.revisionId},
            {"latency_timer", device.latencyTimer},
            {"vendor_name", pciName(device.vendorName)},
            {"device_name", pciName(device.deviceName)},
        });
    }
    Json error = nullptr;
    if (facts.pciError) {
        error = {{"title", facts.pciError->title}, {"text", facts.pciError->text}};
    }
    return {{"error", std::move(error)}, {"devices", std::move(devices)}};
}

Json machineSection(const ident::MachineFacts& facts) {
    return {
        {"processor", processorJson(facts.identity, facts.definition)},
        {"clock_mhz", decimal(facts.clockMHz())},
        {"caches", cachesJson(facts)},
        {"features", featuresJson(facts.features)},
        {"os", osJson(facts.os)},
        {"memory", memoryJson(facts.memory)},
        {"pci", pciJson(facts)},
    };
}

}  // namespace

std::string utcTimestamp(std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

std::string runJsonText(const Json& document) {
    // Host, user and device names are not always UTF-8; a stray byte must
    // not abort the output.
    return document.dump(2, ' ', false, Json::error_handler_t::replace) + '\n';
}

Json runJson(const RunContext& context) {
    Json document = {
        {"schema_version", kRunJsonSchemaVersion},
        {"program", {{"name", context.program}, {"version", VELTRANE_VERSION}}},
        {"run", runSection(context)},
        {"conditions", conditionsSection(context)},
        {"result", resultSection(context.record)},
        {"checks", checksSection(context.record)},
        {"details", detailsSection(context.record)},
    };
    if (context.repeat != nullptr) {
        document["repeat"] = repeatSection(*context.repeat);
    }
    document["machine"] = machineSection(context.machine);
    return document;
}

}  // namespace veltrane::reports
