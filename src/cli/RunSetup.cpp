#include "cli/RunSetup.h"

#include "ident/Clock.h"
#include "platform/Format.h"
#include "platform/OsFacts.h"

namespace veltrane::cli {

const ident::MachineFacts& identifyMachine(std::ostream& err) {
    const ident::MachineFacts& machine = ident::machineFacts();
    if (!machine.definitionError.empty()) {
        err << "Critical error: " << machine.definitionError << '\n';
    }
    return machine;
}

void measureClock(const ident::ProcessorIdentity& identity, std::ostream& err) {
    err << "Measuring the processor clock (about two seconds)...\n";
    ident::startClockMeasurement(identity).join();
}

void printRows(std::ostream& out, const char* heading, const std::vector<engine::InfoRow>& rows) {
    out << heading << '\n';
    for (const auto& row : rows) {
        const std::string line = strprintf("  %-40s %s", row.item.c_str(), row.description.c_str());
        out << terminalText(trimmedRight(line)) << '\n';
    }
}

ident::RunConditions sampleConditions(const ident::MachineFacts& machine, std::ostream& err) {
    ident::RunConditions conditions =
        ident::sampleRunConditions(platform::nativeOsFactsSource(), machine.virtualMachine);
    for (const std::string& warning : ident::conditionWarnings(conditions)) {
        err << "Warning: " << warning << '\n';
    }
    return conditions;
}

}  // namespace veltrane::cli
