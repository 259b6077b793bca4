#include "store/RunRecord.h"

#include "engine/DetailsRows.h"
#include "engine/ReferenceDetails.h"
#include "engine/ReferenceLine.h"
#include "engine/SelfCheck.h"
#include "engine/TestInfo.h"
#include "platform/Format.h"
#include "reports/RunJsonDocument.h"

namespace veltrane::store {

namespace {

std::string referenceText(const std::string& text) {
    return std::string(trimmed(text));
}

std::string chipsetName(const ident::MachineFacts& machine) {
    if (machine.pciDevices.empty()) {
        return "Unknown";
    }
    const ident::PciDevice& host = machine.pciDevices.front();
    return referenceText(host.vendorName + " " + host.deviceName);
}

std::string systemName(const ident::MachineFacts& machine) {
    return strprintf("%s Linux %d.%d", machine.os.osName.c_str(), machine.os.majorVersion,
                     machine.os.minorVersion);
}

// The picture the graph pages show beside the entry.
std::string pictureName(const ident::ProcessorIdentity& identity) {
    if (identity.vendor == "AuthenticAMD" && identity.displayFamily() >= 0x17) {
        return "AMD_Zen";
    }
    return "CPU";
}

}  // namespace

std::string defaultMachineName(const ident::MachineFacts& machine, int suite) {
    const auto rows = engine::cpuAndSystemRows(machine, suite == engine::SuiteSMP);
    return strprintf("%s %.0f MHz", rows[1].description.c_str(),
                     static_cast<double>(machine.clockMHz()));
}

engine::ReferenceEntry machineReferenceEntry(const engine::BenchResult& record,
                                             const ident::MachineFacts& machine,
                                             const std::string& name) {
    const auto values = engine::chartPageValues(record);
    engine::ReferenceEntry entry;
    entry.overall = static_cast<std::int32_t>(values.overall);
    entry.alu = static_cast<std::int32_t>(values.integer);
    entry.fpu = static_cast<std::int32_t>(values.fpu);
    entry.fpuSingle = values.floatSingle;
    entry.fpuDouble = values.floatDouble;
    entry.ramAlu = values.ramAlu;
    entry.ramFpu = values.ramFpu;
    entry.mips = values.mips;
    entry.mflops = values.mflops;
    entry.cpuName = name;
    entry.osName = systemName(machine);
    entry.l1Data = strprintf("%d KB", machine.identity.l1DataKB);
    entry.l1Code = strprintf("%d KB", machine.identity.l1CodeKB);
    entry.l2Cache = strprintf("%d KB", machine.identity.l2KB);
    entry.chipset = chipsetName(machine);
    entry.fsb = "Unknown";
    entry.bitmapName = pictureName(machine.identity);
    return entry;
}

StoredFigures storedFigures(const engine::BenchResult& record) {
    auto value = [](float figure) { return static_cast<double>(figure); };
    return {value(record.overallResult), value(record.integerResult), value(record.floatResult),
            value(record.doubleResult),  value(record.mipsResult),    value(record.mflopsResult),
            value(record.ramAluResult),  value(record.ramFpuResult)};
}

RunRow runRow(const reports::RunContext& context, const std::string& origin) {
    RunRow row;
    row.finishedAt = reports::utcTimestamp(context.finishedAt);
    row.origin = origin;
    row.machine = defaultMachineName(context.machine, context.record.suite);
    row.suite = context.record.suite;
    row.fullRun = context.record.fullRun != 0;
    row.trusted = engine::figuresTrusted(context.record);
    row.figures = storedFigures(context.record);
    row.referenceLine =
        engine::referenceLine(machineReferenceEntry(context.record, context.machine, row.machine));
    row.runJson = reports::runJsonText(reports::runJson(context));
    return row;
}

bool canBeReference(const RunRow& run) {
    return run.fullRun && run.trusted && run.suite >= 0 && run.suite < engine::kReferenceListCount;
}

void addUserEntries(engine::ReferenceDatabase& database,
                    const std::vector<UserReference>& references) {
    for (const UserReference& reference : references) {
        if (reference.list < 0 || reference.list >= engine::kReferenceListCount) {
            continue;
        }
        if (auto entry = engine::parseReferenceLine(reference.line)) {
            entry->userEntryId = reference.id;
            database.lists[static_cast<std::size_t>(reference.list)].push_back(std::move(*entry));
        }
    }
}

}  // namespace veltrane::store
