#include "engine/ReferenceDetails.h"

#include "engine/RunEnd.h"
#include "engine/UserEntries.h"
#include "platform/Format.h"

namespace veltrane::engine {

namespace {

// "%1.0f" rounds to the nearest integer where the "%d" rows truncate.
std::string rounded(const char* unit, float value) {
    return strprintf("%1.0f %s", static_cast<double>(value), unit);
}

std::string whole(const char* unit, std::int32_t value) {
    return strprintf("%d %s", value, unit);
}

}  // namespace

std::vector<InfoRow> referenceDetailsRows(const ReferenceEntry& entry) {
    return {
        {"CPU Name and Frequency", entry.cpuName},
        {"L1 Data Cache", entry.l1Data},
        {"L1 Instruction Cache", entry.l1Code},
        {"L2 Cache", entry.l2Cache},
        {"Chipset Name", entry.chipset},
        {"FSB Frequency", entry.fsb},
        {"OS Installed", entry.osName},
        {"Overall Result", whole("CPUMarks", entry.overall)},
        {"ALU Result", whole("ALUMarks", entry.alu)},
        {"FPU Overall Result", whole("FPUMarks", entry.fpu)},
        {"FPU Result Details: Single Precision", whole("FPUMarks SP", entry.fpuSingle)},
        {"FPU Result Details: Double Precision", whole("FPUMarks DP", entry.fpuDouble)},
        {"RAM Bandwidth MB/s: ALU", rounded("MB/s", entry.ramAlu)},
        {"RAM Bandwidth MB/s: FPU", rounded("MB/s", entry.ramFpu)},
        {"System Estimated MIPS", rounded("MIPS", entry.mips)},
        {"System Estimated MFLOPS", rounded("MFLOPS", entry.mflops)},
    };
}

std::vector<InfoRow> referenceDetailsRows(const ReferenceDatabase& database, int position,
                                          int list) {
    // The graph pages never ask for these; a stray request shows nothing.
    if (list < 0 || list >= kReferenceListCount || position < 0) {
        return {};
    }
    const auto& entries = database.lists[static_cast<std::size_t>(list)];
    if (static_cast<std::size_t>(position) >= entries.size()) {
        return {};
    }
    return referenceDetailsRows(entries[static_cast<std::size_t>(position)]);
}

const std::vector<std::string>& databaseColumns() {
    static const std::vector<std::string> kColumns{"CPU Name and Frequency",
                                                   "Chipset",
                                                   "CPUMarks",
                                                   "ALUMarks",
                                                   "FPUMarks",
                                                   "FPUMarks SP",
                                                   "FPUMarks DP",
                                                   "RAM ALU MB/s",
                                                   "RAM FPU MB/s",
                                                   "MIPS",
                                                   "MFLOPS",
                                                   "OS"};
    return kColumns;
}

std::vector<std::vector<std::string>> databaseRows(const ReferenceDatabase& database, int list) {
    std::vector<std::vector<std::string>> rows;
    if (list < 0 || list >= kReferenceListCount) {
        return rows;
    }
    const auto number = [](double value) { return strprintf("%1.0f", value); };
    for (const auto& e : database.lists[static_cast<std::size_t>(list)]) {
        rows.push_back({listedName(e.cpuName, e), e.chipset, number(e.overall), number(e.alu),
                        number(e.fpu), number(e.fpuSingle), number(e.fpuDouble), number(e.ramAlu),
                        number(e.ramFpu), number(e.mips), number(e.mflops), e.osName});
    }
    return rows;
}

ChartPageValues chartPageValues(const BenchResult& record) {
    ChartPageValues values;
    values.overall = record.overallResult;
    values.integer = record.integerResult;
    values.fpu = static_cast<float>((record.floatResult + record.doubleResult) * 0.5);
    values.floatSingle = truncatedInt(record.floatResult);
    values.floatDouble = truncatedInt(record.doubleResult);
    values.ramAlu = record.ramAluResult;
    values.ramFpu = record.ramFpuResult;
    values.mips = record.mipsResult;
    values.mflops = record.mflopsResult;
    values.suite = record.suite;
    values.overallMeasured = record.fullRun != 0;
    return values;
}

}  // namespace veltrane::engine
