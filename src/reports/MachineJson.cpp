#include "reports/MachineJson.h"

#include <charconv>
#include <cmath>

#include "ident/CacheGeometry.h"
#include "ident/FeatureBits.h"
#include "ident/FeatureFlagsPage.h"
#include "ident/PciNames.h"
#include "ident/TodaysNames.h"
#include "platform/Format.h"

namespace veltrane::reports {

using Json = nlohmann::ordered_json;

double decimal(float value) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    double widened = value;
    std::from_chars(text, written.ptr, widened);
    return widened;
}

namespace {

Json namesJson(const ident::ModernNames& names) {
    return {
        {"manufacturer", names.manufacturer},
        {"codename", names.codename},
        {"microarchitecture", names.microarchitecture},
        {"process", names.process},
        {"socket", names.socket},
    };
}

// CPUID's fields as the processor gives them (`_raw`) and the family and
// model they make together, which the pages show.
Json processorJson(const ident::MachineFacts& facts) {
    const auto& identity = facts.identity;
    const auto& definition = facts.definition;
    return {
        {"vendor", identity.vendor},
        {"brand_string", identity.brandString},
        {"family_raw", identity.family},
        {"extended_family_raw", identity.extendedFamily},
        {"family", identity.displayFamily()},
        {"model_raw", identity.model},
        {"extended_model_raw", identity.extendedModel},
        {"model", identity.displayModel()},
        {"stepping", identity.stepping},
        {"virtual_machine", facts.virtualMachine},
        {"name", definition.processorName},
        {"manufacturer", definition.manufacturer},
        {"codename", definition.codename},
        {"frequency_range", definition.frequencyRange},
        {"default_vcore", definition.defaultVcore},
        {"platform", definition.platform},
        {"bus_type", definition.busType},
        {"step_mask", definition.stepMask},
        {"todays_names",
         namesJson(ident::todaysNames(identity, ident::installedModelTable().table))},
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

Json coreTypesJson(const std::vector<ident::CoreTypeGroup>& groups) {
    Json list = Json::array();
    for (const auto& group : groups) {
        list.push_back({
            {"kind", group.kind == ident::CoreKind::performance ? "performance" : "efficiency"},
            {"cores", group.cores},
            {"threads", group.threads},
            {"processors", group.processors},
        });
    }
    return list;
}

Json topologyJson(const ident::ProcessorLayout& layout) {
    const auto& topology = layout.topology;
    return {
        {"packages", topology.packages},
        {"cores", topology.cores},
        {"threads", topology.threads},
        {"threads_per_core", topology.threadsPerCore},
        {"core_types", coreTypesJson(topology.coreTypes)},
        {"cpuid_leaf", topology.cpuid.leaf},
        {"counted_by_system", topology.countedBySystem},
        {"allowed_processors", {{"count", layout.allowed.count}, {"list", layout.allowed.list}}},
        {"notes", topology.notes},
    };
}

Json cacheLevelsJson(const ident::CacheLevels& levels) {
    return {
        {"source", levels.source},
        {"caches", geometryJson(levels.caches)},
        {"notes", levels.notes},
    };
}

Json featureFlagsJson(const ident::FeatureFlagsPage& page) {
    Json vectors = Json::array();
    for (const auto& row : page.vectorState) {
        vectors.push_back({{"label", row.label}, {"value", row.value}});
    }
    return {
        {"flags", page.flags},
        {"usable_flags", page.usableFlags},
        {"vector_state", std::move(vectors)},
    };
}

Json measured(double value, bool known) {
    return known && value > 0 ? Json(std::round(value * 10.0) / 10.0) : Json(nullptr);
}

Json clocksJson(const ident::ClockFacts& clocks) {
    const bool known = clocks.notMeasured.empty();
    return {
        {"counter_mhz", measured(clocks.counterMHz, known)},
        {"effective_mhz", measured(clocks.effectiveMHz, known)},
        {"aperf_mperf_mhz", measured(clocks.busyCountersMHz, known)},
        {"aperf_mperf_problem",
         known && clocks.busyCountersMHz <= 0 ? Json(clocks.busyCountersWhy) : Json(nullptr)},
        {"not_measured", known ? Json(nullptr) : Json(clocks.notMeasured)},
    };
}

}  // namespace

Json machineJson(const ident::MachineFacts& facts, const ident::ClockFacts& clocks) {
    return {
        {"processor", processorJson(facts)},
        {"clock_mhz", decimal(facts.clockMHz())},
        {"clocks", clocksJson(clocks)},
        {"topology", topologyJson(facts.layout)},
        {"cache_levels", cacheLevelsJson(facts.layout.caches)},
        {"caches", cachesJson(facts)},
        {"features", featuresJson(facts.features)},
        {"feature_flags", featureFlagsJson(ident::featureFlagsPage(facts.identity.probe()))},
        {"os", osJson(facts.os)},
        {"memory", memoryJson(facts.memory)},
        {"pci", pciJson(facts)},
    };
}

Json machineFactsDocument(const ident::MachineFacts& facts, const ident::ClockFacts& clocks,
                          const std::string& program) {
    return {
        {"schema_version", kMachineJsonSchemaVersion},
        {"program", {{"name", program}, {"version", VELTRANE_VERSION}}},
        {"machine", machineJson(facts, clocks)},
    };
}

}  // namespace veltrane::reports
