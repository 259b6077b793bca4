#include "cli/InfoCommand.h"

#include <sstream>

#include "cli/CpuInfoText.h"
#include "cli/ExitCodes.h"
#include "cli/FeatureFlagsText.h"
#include "cli/RunJson.h"
#include "cli/TodaysNamesText.h"
#include "ident/CachePage.h"
#include "ident/Clock.h"
#include "ident/ClockFacts.h"
#include "ident/ExtendedCpuPage.h"
#include "ident/FeatureFlagsPage.h"
#include "ident/MachineFacts.h"
#include "ident/MemoryInfo.h"
#include "ident/MotherboardPage.h"
#include "ident/OsInfo.h"
#include "ident/OsPage.h"
#include "ident/PciDeviceList.h"
#include "ident/ProcessorIdentity.h"
#include "ident/TodaysNames.h"
#include "platform/CpuidDump.h"
#include "platform/Format.h"
#include "platform/OutputFile.h"
#include "platform/Threads.h"
#include "reports/MachineJson.h"
#include "reports/RunJsonDocument.h"

namespace veltrane::cli {

namespace {

int writeCpuidDump(const std::string& path, std::ostream& out, std::ostream& err) {
    const auto dump = platform::captureCpuidDump(platform::activeCpuProbe());
    const auto error = platform::writeOutputFile(path, platform::formatCpuidDump(dump));
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

bool isRecorded(const ident::ProcessorIdentity& identity) {
    return !platform::readsThisProcessor(identity.probe());
}

ident::ClockFacts clockFacts(const ident::ProcessorIdentity& identity, bool measure) {
    return ident::clockFactsOf(identity.probe(), ident::clockState().clockMHz(),
                               measure ? "" : "--no-clock");
}

// What today's processors add after the page: their names, the topology,
// every feature flag and the clocks.
void showCpuToday(const ident::ProcessorIdentity& identity, bool measure, std::ostream& out) {
    const auto layout = ident::processorLayout(identity);
    out << '\n'
        << formatTodaysNames(ident::todaysNames(identity, ident::installedModelTable().table))
        << '\n'
        << formatLabelledPage(ident::kTopologyHeading,
                              ident::topologyRows(layout.topology, layout.allowed))
        << '\n'
        << formatFeatureFlagsPage(ident::featureFlagsPage(identity.probe())) << '\n'
        << formatLabelledPage(ident::kClocksHeading,
                              ident::clockRows(clockFacts(identity, measure)));
}

void showCpuInfo(const ident::ProcessorIdentity& identity, bool measure, std::ostream& out,
                 std::ostream& err) {
    const auto& facts = ident::processorFacts();
    if (measure && !isRecorded(identity)) {
        measureClockNow(identity, err);
    }
    const ident::ExtendedCpuInputs inputs{facts.definition, facts.traceCacheText,
                                          ident::clockState().clockMHz()};
    const auto values = ident::extendedCpuValues(identity, inputs);
    const auto features =
        ident::featureRows(identity.standardFeatureFlags(), identity.extendedFeatureFlags());
    out << formatExtendedCpuInfo(values, features);
    showCpuToday(identity, measure, out);
}

void showCacheInfo(const ident::ProcessorIdentity& identity, std::ostream& out) {
    out << formatCachePage(
               ident::cachePage(identity, ident::processorFacts().definition.processorName))
        << '\n'
        << formatLabelledPage(ident::kCacheLevelsHeading,
                              ident::cacheLevelRows(ident::processorLayout(identity).caches));
}

int writeMachineJson(const InfoOptions& options, std::ostream& out, std::ostream& err) {
    const auto& machine = ident::machineFacts();
    if (options.measureClock && !isRecorded(machine.identity)) {
        measureClockNow(machine.identity, err);
    }
    const auto clocks = clockFacts(machine.identity, options.measureClock);
    const auto document = reports::machineFactsDocument(machine, clocks, "veltrane-cli");
    return writeJsonText(reports::runJsonText(document), options.jsonPath, out, err);
}

// Returns false when the devices could not be read.
bool showPciInfo(std::ostream& out, std::ostream& err) {
    const ident::PciDeviceList list;
    if (list.error()) {
        err << list.error()->title << ": " << list.error()->text << '\n';
    }
    if (!list.namesProblem().empty()) {
        err << "veltrane-cli: " << list.namesProblem() << '\n';
    }
    out << formatMotherboardPage(ident::motherboardPage(list.devices()));
    return !list.error();
}

void showOsInfo(std::ostream& out) {
    const ident::OsInfo os;
    const ident::MemoryInfo memory;
    out << formatLabelledPage(ident::kOsPageHeading, ident::osPageRows(os, memory));
}

int showPages(const InfoOptions& options, std::ostream& out, std::ostream& err) {
    ident::ProcessorIdentity identity;
    const auto& facts = ident::processorFacts();
    if (!facts.definitionError.empty()) {
        err << "Critical error: " << facts.definitionError << '\n';
    }
    const bool all = options.topic == "all";
    const char* separator = "";
    if (all || options.topic == "cpu") {
        showCpuInfo(identity, options.measureClock, out, err);
        separator = "\n";
    }
    if (all || options.topic == "cache") {
        out << separator;
        showCacheInfo(identity, out);
        separator = "\n";
    }
    if (all || options.topic == "os") {
        out << separator;
        showOsInfo(out);
        separator = "\n";
    }
    bool devicesRead = true;
    if (all || options.topic == "pci") {
        out << separator;
        devicesRead = showPciInfo(out, err);
    }
    return devicesRead ? kExitSuccess : kExitFailure;
}

}  // namespace

int runInfo(const InfoOptions& options, std::ostream& out, std::ostream& err) {
    if (!options.dumpCpuidPath.empty()) {
        return writeCpuidDump(options.dumpCpuidPath, out, err);
    }
    if (!options.jsonPath.empty()) {
        return writeMachineJson(options, out, err);
    }
    // The pages hold what data files, dumps and the system say; they reach
    // the terminal with their control bytes shown, not obeyed.
    std::ostringstream pages;
    const int status = showPages(options, pages, err);
    out << terminalText(pages.str());
    return status;
}

}  // namespace veltrane::cli
