#include "cli/RunJson.h"

#include "cli/ExitCodes.h"
#include "cli/RunJsonDocument.h"
#include "ident/ProcessorFacts.h"
#include "platform/OutputFile.h"

namespace veltrane::cli {

namespace {

MachineFacts gatherMachineFacts(ident::ProcessorIdentity& identity) {
    const auto& processor = ident::processorFacts();
    // A list of its own: the process-wide one stays empty once a report or a
    // page has enumerated the devices.
    ident::PciProcessState pciState;
    ident::PciEnvironment environment;
    environment.state = pciState;
    const ident::PciDeviceList pci(environment);
    return MachineFacts{
        processor.definition,
        processor.traceCacheText,
        identity.processorCount(),
        ident::cachePage(identity, processor.definition.processorName),
        ident::OsInfo(),
        ident::MemoryInfo(),
        pci.devices(),
        pci.error(),
        platform::timeCriticalGrant(),
    };
}

int cannotWrite(const std::string& path, const std::string& reason, std::ostream& err) {
    err << "veltrane-cli: cannot write the JSON file " << path << ": " << reason << '\n';
    return kExitFailure;
}

}  // namespace

int writeRunJson(const RunContext& context, const std::string& path, std::ostream& out,
                 std::ostream& err) {
    const std::string text = runJsonText(runJson(context, gatherMachineFacts(context.identity)));
    if (path == "-") {
        out << text;
        out.flush();
        return out ? kExitSuccess : cannotWrite(path, "standard output is not writable", err);
    }
    const std::string error = platform::writeOutputFile(path, text);
    return error.empty() ? kExitSuccess : cannotWrite(path, error, err);
}

}  // namespace veltrane::cli
