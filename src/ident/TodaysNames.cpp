#include "ident/TodaysNames.h"

#include "ident/ProcessorIdentity.h"
#include "ident/Vendor.h"
#include "platform/CpuidLeaves.h"
#include "platform/DataFiles.h"
#include "platform/TextFile.h"

namespace veltrane::ident {

namespace {

constexpr const char* kNoNames = "; today's processor names read \"Unknow\"";

std::string skippedText(const std::string& path, const ModelTable& table) {
    if (table.skippedLines == 0) {
        return {};
    }
    return path + ": " + std::to_string(table.skippedLines) +
           " damaged line(s) skipped, the first at " + table.firstSkipped;
}

}  // namespace

LoadedModelTable loadModelTableFrom(const std::string& path) {
    const auto read = platform::readTextFile(path, kModelFileMaxBytes);
    if (!read.ok()) {
        return {{}, path + ": " + read.error + kNoNames};
    }
    LoadedModelTable loaded{parseModelTable(read.content), {}};
    loaded.problem = skippedText(path, loaded.table);
    return loaded;
}

const LoadedModelTable& installedModelTable() {
    static const LoadedModelTable loaded = []() -> LoadedModelTable {
        const auto path = platform::findDataFile(kModelFileName);
        if (!path) {
            return {{}, platform::dataFileProblem(kModelFileName, kModelFileMaxBytes) + kNoNames};
        }
        return loadModelTableFrom(*path);
    }();
    return loaded;
}

ModernNames todaysNames(const ProcessorIdentity& identity, const ModelTable& table) {
    const auto leaf = identity.probe().cpuid(platform::cpuid::kVendorLeaf);
    const auto* record =
        table.find(vendorText(leaf.ebx, leaf.edx, leaf.ecx), identity.displayFamily(),
                   identity.displayModel(), identity.stepping);
    return record != nullptr ? record->names : ModernNames{};
}

void applyTodaysNames(const ModernNames& names, ProcessorDefinition& definition) {
    if (names == ModernNames{}) {
        return;
    }
    definition.manufacturer = names.manufacturer;
    definition.codename = names.codename;
    definition.platform = names.socket;
}

std::optional<ModernNames> namesBeyondDefinitionFile(const ProcessorIdentity& identity,
                                                     const ModelTable& table) {
    if (!identity.reportsExtendedSignature()) {
        return std::nullopt;
    }
    return todaysNames(identity, table);
}

std::vector<LabelledValue> todaysNameRows(const ModernNames& names) {
    return {{"Manufacturer:", names.manufacturer},
            {"Codename:", names.codename},
            {"Microarchitecture:", names.microarchitecture},
            {"Process:", names.process},
            {"Socket/Platform:", names.socket}};
}

}  // namespace veltrane::ident
