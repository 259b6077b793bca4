#include "engine/DetailsRows.h"

#include "engine/RunEnd.h"
#include "ident/MachineFacts.h"
#include "platform/Format.h"

namespace veltrane::engine {

namespace {

constexpr const char* kNoBatch = "No current running in batch mode";

std::string whole(const char* unit, float value) {
    return strprintf("%d %s", truncatedInt(value), unit);
}

std::string seconds(float value) {
    return strprintf("%1.2f seconds", static_cast<double>(value));
}

std::string rate(float value) {
    return strprintf("%1.2f MB/s", static_cast<double>(value));
}

void addBatchRows(std::vector<InfoRow>& rows) {
    rows.push_back({"  Batch Mode High performance Peak", kNoBatch});
    rows.push_back({"  Batch Mode Low performance Peak", kNoBatch});
}

void addScoreBlock(std::vector<InfoRow>& rows, const char* heading, InfoRow result, InfoRow time,
                   InfoRow itemSize) {
    rows.push_back({heading, ""});
    rows.push_back({"", ""});
    rows.push_back(std::move(result));
    rows.push_back(std::move(time));
    addBatchRows(rows);
    rows.push_back(std::move(itemSize));
}

void addBandwidthBlock(std::vector<InfoRow>& rows, const char* unit, float result, float add,
                       float triad, float scale, float assign) {
    const std::string prefix = std::string("  RAM ") + unit;
    rows.push_back({std::string(" RAM ") + unit + " Bandwidth MB/s Details", ""});
    rows.push_back({"", ""});
    rows.push_back({prefix + " Result", whole("MB/s", result)});
    rows.push_back({prefix + " Bandwidth: Add", rate(add)});
    rows.push_back({prefix + " Bandwidth: Triad", rate(triad)});
    rows.push_back({prefix + " Bandwidth: Scale", rate(scale)});
    rows.push_back({prefix + " Bandwidth: Assign", rate(assign)});
    rows.push_back({"", ""});
}

void addFigureBlock(std::vector<InfoRow>& rows, const char* name, float result, float time) {
    rows.push_back({std::string(name) + " Result Details", ""});
    rows.push_back({"", ""});
    rows.push_back({std::string("  ") + name + " Result", whole(name, result)});
    rows.push_back({std::string("  ") + name + " Time", seconds(time)});
}

// The row of each test's figure, by test number.
constexpr const char* kFigureRows[] = {"  Integer Result",
                                       "  FPU Single Precision Result",
                                       "  FPU Double Precision Result",
                                       "  MIPS Result",
                                       "  MFLOPS Result",
                                       "  RAM ALU Result",
                                       "  RAM FPU Result"};

// A figure whose test failed its check says so beside it, and a block at
// the end says what was wrong.
void markInvalidFigures(std::vector<InfoRow>& rows, const BenchResult& r) {
    std::vector<InfoRow> failures;
    for (std::size_t i = 0; i < r.checks.size(); ++i) {
        if (!r.checks[i].failed()) {
            continue;
        }
        const std::string item = kFigureRows[i];
        for (InfoRow& row : rows) {
            if (row.item == item) {
                row.description += " - INVALID";
            }
        }
        failures.push_back({item, "INVALID: " + r.checks[i].detail});
    }
    if (!failures.empty()) {
        rows.push_back({"", ""});
        rows.push_back({" Self-check Failures", ""});
        rows.push_back({"", ""});
        rows.insert(rows.end(), failures.begin(), failures.end());
    }
}

}  // namespace

std::vector<InfoRow> benchmarkDetailsRows(const BenchResult& r) {
    std::vector<InfoRow> rows{
        {" Overall Results Details", ""},
        {"", ""},
        {"  Overall Result", whole("CPUMarks", r.overallResult)},
        {"  Overall Time", "Not Measured"},
    };
    addBatchRows(rows);
    addScoreBlock(rows, " Integer Results Details",
                  {"  Integer Result", whole("ALUMarks", r.integerResult)},
                  {"  Integer Time", seconds(r.integerTime)},
                  {"  Integer Data item size", "10 KByte (4 byte per int)"});
    addScoreBlock(rows, " FPU Single precision Results Details",
                  {"  FPU Single Precision Result", whole("FPUMarks SP", r.floatResult)},
                  {"  Float Time", seconds(r.floatTime)},
                  {"  FPU Data item size", "64 Byte (4 byte per float)"});
    addScoreBlock(rows, " FPU Double precision Results Details",
                  {"  FPU Double Precision Result", whole("FPUMarks DP", r.doubleResult)},
                  {"  Double Time", seconds(r.doubleTime)},
                  {"  Double Data item size", "8 Byte per Double"});
    rows.push_back({"", ""});
    addBandwidthBlock(rows, "ALU", r.ramAluResult, r.ramAluAdd, r.ramAluTriad, r.ramAluScale,
                      r.ramAluAssign);
    addBandwidthBlock(rows, "FPU", r.ramFpuResult, r.ramFpuAdd, r.ramFpuTriad, r.ramFpuScale,
                      r.ramFpuAssign);
    addFigureBlock(rows, "MIPS", r.mipsResult, r.mipsTime);
    rows.push_back({"", ""});
    addFigureBlock(rows, "MFLOPS", r.mflopsResult, r.mflopsTime);
    markInvalidFigures(rows, r);
    return rows;
}

std::vector<InfoRow> cpuAndSystemRows(const ident::MachineFacts& machine, bool smpRun) {
    const auto& identity = machine.identity;
    const std::string& name = machine.definition.processorName;
    return {
        {"CPU Vendor", identity.vendor},
        {"CPU Name", smpRun ? strprintf("%dx%s", machine.processorCount, name.c_str()) : name},
        {"CPU Frequency", strprintf("%1.1f MHz", static_cast<double>(machine.clockMHz()))},
        {"L1 Data Cache", strprintf("%d KByte", identity.l1DataKB)},
        {"L1 Instruction Cache", strprintf("%d KByte", identity.l1CodeKB)},
        {"L2 Cache", strprintf("%d KByte", identity.l2KB)},
        {"System RAM (MByte)", strprintf("%u MByte", machine.memory.totalPhysMB())},
    };
}

}  // namespace veltrane::engine
