#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/ReferenceDatabase.h"
#include "engine/RunEnd.h"
#include "ident/PciDeviceList.h"
#include "ident/RunConditions.h"
#include "shell/LockKeys.h"
#include "shell/LoopEnvironment.h"
#include "shellcore/FirstRunMarker.h"
#include "suites/RunSession.h"
#include "suites/ScalingRun.h"

namespace veltrane::platform {
class CpuProbe;
}
namespace veltrane::ident {
class ClockState;
struct ProcessorFacts;
}  // namespace veltrane::ident

namespace veltrane::shell {

// What the main frame takes from the machine and the file system. The
// defaults are the program's; tests replace what they must control.
struct FrameEnvironment {
    const platform::CpuProbe* probe = nullptr;  // nullptr: the active probe
    ident::ProcessorFacts* facts = nullptr;     // nullptr: the process-wide facts
    ident::ClockState* clock = nullptr;         // nullptr: the process-wide clock
    // The thread procedures runs start; window tests put in small ones.
    suites::SuiteProcedures suiteThreads;
    // The multi-core run's threads (empty: the standard suite's real ones)
    // and the processors it may use (empty: the process's affinity mask).
    suites::ScalingWorkerFactory scalingWorkers;
    std::function<std::vector<int>()> scalingProcessors;
    // Empty: the reference files found by bare name.
    engine::ReferenceFileReader referenceFiles;
    // Empty: the machine's PCI functions.
    std::function<ident::PciDeviceList()> pciList;
    // What the machine is doing as a run starts; empty: this machine, sampled.
    std::function<ident::RunConditions(bool virtualMachine)> runConditions;
    // Read the core's clock around each test (window tests on a busy machine do not).
    bool measureCoreClock = true;
    std::string tempdataPath = engine::kTempdataFile;
    // The results history; empty: the user's own (store::defaultStorePath()).
    std::string historyPath;
    FirstRunMarker firstRun = FirstRunMarker::forProgram();
    // Unset: the display server's.
    std::optional<LockKeyReader> lockKeys;
    int startupDelayMs = 50;   // timer 255
    int resultsDelayMs = 500;  // between the progress window and the results
    LoopEnvironment loop;
};

}  // namespace veltrane::shell
