#include "store/RunRecord.h"

#include <algorithm>

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

engine::ReferenceEntry referenceEntry(const StoredFigures& f, const EntryMachine& machine) {
    auto whole = [](double value) {
        return static_cast<std::int32_t>(std::clamp(value, 0.0, 2e9));
    };
    engine::ReferenceEntry entry;
    entry.overall = whole(f.overall);
    entry.alu = whole(f.alu);
    entry.fpu = whole((f.fpuSingle + f.fpuDouble) / 2);
    entry.fpuSingle = whole(f.fpuSingle);
    entry.fpuDouble = whole(f.fpuDouble);
    entry.ramAlu = static_cast<float>(f.ramAlu);
    entry.ramFpu = static_cast<float>(f.ramFpu);
    entry.mips = static_cast<float>(f.mips);
    entry.mflops = static_cast<float>(f.mflops);
    entry.cpuName = machine.cpuName;
    entry.osName = machine.osName;
    entry.l1Data = strprintf("%.0f KB", machine.l1DataKB);
    entry.l1Code = strprintf("%.0f KB", machine.l1CodeKB);
    entry.l2Cache = strprintf("%.0f KB", machine.l2KB);
    entry.chipset = machine.chipset;
    entry.fsb = "Unknown";
    entry.bitmapName = machine.bitmapName;
    return entry;
}

engine::ReferenceEntry machineReferenceEntry(const engine::BenchResult& record,
                                             const ident::MachineFacts& machine,
                                             const std::string& name) {
    const auto& cpu = machine.identity;
    return referenceEntry(storedFigures(record),
                          {name, systemName(machine), chipsetName(machine), pictureName(cpu),
                           static_cast<double>(cpu.l1DataKB), static_cast<double>(cpu.l1CodeKB),
                           static_cast<double>(cpu.l2KB)});
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
