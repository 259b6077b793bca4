#pragma once

#include <string>
#include <utility>

#include "engine/BenchResult.h"
#include "ident/MachineFacts.h"
#include "platform/ProgramClock.h"

namespace veltrane::reports {

// What the tester typed into the wizard, as it stands.
struct ReportTester {
    std::string testerName;
    std::string systemName;
    std::string comments;
};

// The wizard's section boxes. The two feature sections share one box.
struct ReportSections {
    bool tester = true;      // box 1096, section T
    bool cpu = true;         // box 1252, section C
    bool features = true;    // box 1097, sections S and X
    bool os = true;          // box 1253, section O
    bool benchmarks = true;  // box 1092, section B
};

// Everything one report page shows. The machine's clock and memory
// figures are those of the moment the report is written.
struct ReportInputs {
    explicit ReportInputs(ident::MachineFacts facts) : machine(std::move(facts)) {}

    ReportTester tester;
    ReportSections sections;
    ident::MachineFacts machine;
    engine::BenchResult result;
    platform::ClockTime time;
};

// The inputs of a report written now: the machine's facts with the memory
// figures and the program's clock of this moment.
ReportInputs collectReportInputs(const ReportTester& tester, const ReportSections& sections,
                                 const ident::MachineFacts& machine,
                                 const engine::BenchResult& result);

}  // namespace veltrane::reports
