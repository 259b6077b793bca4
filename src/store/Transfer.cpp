#include "store/Transfer.h"

#include <nlohmann/json.hpp>

#include "engine/ReferenceLine.h"
#include "engine/SelfCheck.h"
#include "platform/Format.h"
#include "store/RunRecord.h"

namespace veltrane::store {

namespace {

using Json = nlohmann::json;

double number(const Json& object, const char* key) {
    const auto found = object.find(key);
    return found != object.end() && found->is_number() ? found->get<double>() : 0.0;
}

std::string text(const Json& object, const char* key) {
    const auto found = object.find(key);
    return found != object.end() && found->is_string() ? found->get<std::string>() : "";
}

const Json& member(const Json& object, const char* key) {
    static const Json kEmpty = Json::object();
    const auto found = object.find(key);
    return found != object.end() && found->is_object() ? *found : kEmpty;
}

bool checksPassed(const Json& document) {
    const auto checks = document.find("checks");
    if (checks == document.end() || !checks->is_array()) {
        return true;  // a record from before the checks
    }
    for (const Json& check : *checks) {
        if (check.is_object() && check.value("ran", false) && !check.value("passed", true)) {
            return false;
        }
    }
    return true;
}

StoredFigures jsonFigures(const Json& result) {
    return {number(result, "overall_cpumarks"),
            number(result, "integer_alumarks"),
            number(result, "float_fpumarks_sp"),
            number(result, "double_fpumarks_dp"),
            number(result, "mips"),
            number(result, "mflops"),
            number(result, "ram_alu_mb_per_s"),
            number(result, "ram_fpu_mb_per_s")};
}

std::string jsonMachineName(const Json& machine, int suite, const Json& run) {
    const std::string name = text(member(machine, "processor"), "name");
    const int count = static_cast<int>(number(run, "processor_count"));
    const std::string shown =
        suite == 4 && count > 1 ? strprintf("%dx%s", count, name.c_str()) : name;
    return strprintf("%s %.0f MHz", shown.c_str(), number(machine, "clock_mhz"));
}

std::string jsonChipset(const Json& machine) {
    const auto devices = member(machine, "pci").find("devices");
    if (devices == member(machine, "pci").end() || !devices->is_array() || devices->empty() ||
        !devices->front().is_object()) {
        return "Unknown";
    }
    const Json& host = devices->front();
    return text(host, "vendor_name") + " " + text(host, "device_name");
}

engine::ReferenceEntry jsonEntry(const RunRow& run, const Json& machine) {
    const Json& caches = member(machine, "caches");
    const Json& os = member(machine, "os");
    const Json& processor = member(machine, "processor");
    // Records before schema 5 name the combined family display_family.
    const double family = processor.contains("display_family") ? number(processor, "display_family")
                                                               : number(processor, "family");
    const bool zen = text(processor, "vendor") == "AuthenticAMD" && family >= 0x17;
    return referenceEntry(
        run.figures, {run.machine,
                      strprintf("%s Linux %.0f.%.0f", text(os, "name").c_str(),
                                number(os, "major_version"), number(os, "minor_version")),
                      jsonChipset(machine), zen ? "AMD_Zen" : "CPU", number(caches, "l1_data_kb"),
                      number(caches, "l1_code_kb"), number(caches, "l2_kb")});
}

ImportBatch jsonBatch(std::string_view source) {
    ImportBatch batch;
    Json document;
    try {
        document = Json::parse(source);
    } catch (const Json::exception& error) {
        batch.error = std::string("not a JSON run record: ") + error.what();
        return batch;
    }
    const Json& run = member(document, "run");
    const Json& result = member(document, "result");
    if (!document.is_object() || run.empty() || result.empty()) {
        batch.error = "not a JSON run record of veltrane-cli (no \"run\" or \"result\")";
        return batch;
    }
    RunRow row;
    row.finishedAt = text(run, "finished_at");
    row.origin = "import";
    row.suite = static_cast<int>(number(run, "suite"));
    if (row.suite < 0 || row.suite > 4) {
        batch.error = "the run record names no suite from 0 to 4";
        return batch;
    }
    row.fullRun = run.value("full_run", false);
    row.trusted = checksPassed(document);
    row.figures = jsonFigures(result);
    const Json& machine = member(document, "machine");
    row.machine = jsonMachineName(machine, row.suite, run);
    row.referenceLine = engine::referenceLine(jsonEntry(row, machine));
    row.runJson = std::string(source);
    row.inLists = row.fullRun && row.trusted;
    batch.runs.push_back(std::move(row));
    return batch;
}

RunRow lineRun(const engine::ReferenceEntry& entry, int list, const std::string& importedAt) {
    RunRow row;
    row.finishedAt = importedAt;
    row.origin = "import";
    row.machine = engine::referenceField(entry.cpuName);
    row.suite = list;
    row.figures = {static_cast<double>(entry.overall),   static_cast<double>(entry.alu),
                   static_cast<double>(entry.fpuSingle), static_cast<double>(entry.fpuDouble),
                   static_cast<double>(entry.mips),      static_cast<double>(entry.mflops),
                   static_cast<double>(entry.ramAlu),    static_cast<double>(entry.ramFpu)};
    row.fullRun = entry.overall > 0;
    row.referenceLine = engine::referenceLine(entry);
    row.inLists = true;  // a reference line is there to be compared with
    return row;
}

ImportBatch linesBatch(std::string_view text, int list, const std::string& importedAt) {
    ImportBatch batch;
    for (const std::string& line : engine::referenceLines(text)) {
        if (const auto entry = engine::parseReferenceLine(line)) {
            batch.runs.push_back(lineRun(*entry, list, importedAt));
        } else {
            ++batch.skippedLines;
        }
    }
    if (batch.runs.empty()) {
        batch.error = "no reference line of seventeen fields, and not a JSON run record";
    }
    return batch;
}

std::string csvText(const std::string& value) {
    std::string quoted = "\"";
    for (const char c : value) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + '"';
}

}  // namespace

ImportBatch importBatch(std::string_view text, int list, const std::string& importedAt) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && text[first] == '{') {
        return jsonBatch(text);
    }
    return linesBatch(text, list, importedAt);
}

std::string exportLine(const RunRow& run) {
    return run.referenceLine + '\n';
}

std::string exportCsv(const std::vector<RunRow>& runs) {
    std::string csv =
        "id,finished_at,origin,machine,suite,full_run,trusted,overall_cpumarks,integer_alumarks,"
        "float_fpumarks_sp,double_fpumarks_dp,mips,mflops,ram_alu_mb_per_s,ram_fpu_mb_per_s\n";
    for (const RunRow& run : runs) {
        const StoredFigures& f = run.figures;
        csv += strprintf("%lld,%s,%s,%s,%d,%d,%d,%.1f,%.1f,%.1f,%.1f,%.1f,%.1f,%.1f,%.1f\n",
                         static_cast<long long>(run.id), csvText(run.finishedAt).c_str(),
                         csvText(run.origin).c_str(), csvText(run.machine).c_str(), run.suite,
                         run.fullRun ? 1 : 0, run.trusted ? 1 : 0, f.overall, f.alu, f.fpuSingle,
                         f.fpuDouble, f.mips, f.mflops, f.ramAlu, f.ramFpu);
    }
    return csv;
}

}  // namespace veltrane::store
