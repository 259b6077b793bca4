#include "reports/ReportInputs.h"

#include <ctime>

namespace veltrane::reports {

ReportInputs collectReportInputs(const ReportTester& tester, const ReportSections& sections,
                                 const ident::MachineFacts& machine,
                                 const engine::BenchResult& result) {
    ReportInputs inputs(machine);
    inputs.tester = tester;
    inputs.sections = sections;
    inputs.machine.memory = ident::MemoryInfo();
    inputs.result = result;
    inputs.time = platform::programClockTime(std::time(nullptr));
    return inputs;
}

}  // namespace veltrane::reports
