#include "cli/InfoCommand.h"

#include "cli/CpuInfoText.h"
#include "cli/ExitCodes.h"
#include "ident/Clock.h"
#include "ident/ExtendedCpuPage.h"
#include "ident/ProcessorIdentity.h"
#include "platform/CpuidDump.h"
#include "platform/TextFile.h"
#include "platform/Threads.h"

namespace veltrane::cli {

namespace {

int writeCpuidDump(const std::string& path, std::ostream& out, std::ostream& err) {
    const auto dump = platform::captureCpuidDump(platform::activeCpuProbe());
    const auto error = platform::writeTextFileAtomically(path, platform::formatCpuidDump(dump));
    if (!error.empty()) {
        err << "veltrane-cli: cannot write the CPUID dump " << path << ": " << error << '\n';
        return kExitFailure;
    }
    out << "CPUID dump written to " << path << " (" << dump.leaves().size() << " leaves)\n";
    return kExitSuccess;
}

void measureClockNow(const ident::ProcessorIdentity& identity, std::ostream& err) {
    err << "Measuring the processor clock (about two seconds)...\n";
    ident::startClockMeasurement(identity).join();
    const char* grant = platform::timeCriticalGrantText(platform::timeCriticalGrant());
    err << grant << '\n';
}

void showCpuInfo(bool measure, std::ostream& out, std::ostream& err) {
    ident::ProcessorIdentity identity;
    const auto& facts = ident::processorFacts();
    if (!facts.definitionError.empty()) {
        err << "Critical error: " << facts.definitionError << '\n';
    }
    if (measure) {
        measureClockNow(identity, err);
    }
    const ident::ExtendedCpuInputs inputs{facts.definition, facts.traceCacheText,
                                          ident::clockState().clockMHz()};
    const auto values = ident::extendedCpuValues(identity, inputs);
    const auto features =
        ident::featureRows(identity.standardFeatureFlags(), identity.extendedFeatureFlags());
    out << formatExtendedCpuInfo(values, features);
}

}  // namespace

int runInfo(const InfoOptions& options, std::ostream& out, std::ostream& err) {
    if (!options.dumpCpuidPath.empty()) {
        return writeCpuidDump(options.dumpCpuidPath, out, err);
    }
    showCpuInfo(options.measureClock, out, err);
    return kExitSuccess;
}

}  // namespace veltrane::cli
