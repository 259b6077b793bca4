#include "shellcore/CommandTable.h"

#include <array>

#include "shellcore/FrameRequests.h"

namespace veltrane::shell {

namespace {

constexpr const char* kFile = "&File";
constexpr const char* kBenchmark = "&Benchmark";
constexpr const char* kResults = "&Results";
constexpr const char* kSystem = "&System informations";
constexpr const char* kReport = "Re&port";
constexpr const char* kLooping = "&Looping";
constexpr const char* kView = "&View";
constexpr const char* kWindow = "&Window";
constexpr const char* kHelp = "&Help";

constexpr std::array<const char*, 9> kMenus{kFile,    kBenchmark, kResults, kSystem, kReport,
                                            kLooping, kView,      kWindow,  kHelp};

using enum MenuShown;

// id, menu, text, shown, handled, separator before, checkable
constexpr CommandInfo kCommands[] = {
    {cmd::NewCustom, kFile, "&New Custom Benchmark...\tCtrl+N", Always, true, false, false},
    {cmd::NewDefault, kFile, "New Default benchmark", WithoutDocument, true, false, false},
    {cmd::NewDefaultMenu, kFile, "New Default Benchmark", WithDocument, true, false, false},
    {cmd::OpenProject, kFile, "&Open Project...\tCtrl+O", WithoutDocument, true, false, false},
    {cmd::OpenProjectMenu, kFile, "Open Project...", WithDocument, true, false, false},
    {cmd::SaveProject, kFile, "Save project...", WithoutDocument, true, false, false},
    {cmd::SaveProjectMenu, kFile, "Save Project...", WithDocument, true, false, false},
    {cmd::Exit, kFile, "E&xit", Always, true, true, false},

    {cmd::RunAluOnly, kBenchmark, "Run ALU Benchmark only...", Always, true, false, false},
    {cmd::RunFpuOnly, kBenchmark, "Run FPU Benchmarks Only...", Always, true, false, false},
    {cmd::RunMipsOnly, kBenchmark, "Run MIPS Benchmark Only...", Always, true, false, false},
    {cmd::RunMflopsOnly, kBenchmark, "Run MFLOPS Benchmark Only...", Always, true, false, false},
    {cmd::RunRamOnly, kBenchmark, "Run RAM Benchmarks Only...", Always, true, false, false},
    {cmd::BenchSse, kBenchmark, "Default bench with SSE optimizations...", Always, true, true,
     false},
    {cmd::BenchSse2, kBenchmark, "Default Bench with SSE2 Optimizations...", Always, true, false,
     false},
    {cmd::Bench3DNow, kBenchmark, "Default Bench with 3DNow! Optimizations...", Always, true, false,
     false},
    {cmd::BenchStandard, kBenchmark, "Default Bench with standard IA32 Code...", Always, true,
     false, false},
    {cmd::BenchSmp, kBenchmark, "Default Bench With SMP MultiThreaded code...", Always, true, false,
     false},
    {cmd::BenchMultiCore, kBenchmark, "Run Multi-core Benchmark...", Always, true, false, false},
    {cmd::StartBatch, kBenchmark, "Start batch run", Always, false, true, false},
    {cmd::ConfigureBatch, kBenchmark, "Configure batch run...", Always, false, false, false},
    {cmd::CompareMode, kBenchmark, "Compare mode...", Always, false, false, false},

    {cmd::GraphOverall, kResults, "Overall Result...", Always, true, false, false},
    {cmd::GraphAluFpu, kResults, "ALU/FPU Result...", Always, true, false, false},
    {cmd::GraphFpuSpDp, kResults, "FPU SP/DP Result...", Always, true, false, false},
    {cmd::GraphMipsMflops, kResults, "MIPS/MFLOPS Result...", Always, true, false, false},
    {cmd::GraphRam, kResults, "RAM Bench ALU/FPU...", Always, true, false, false},
    {cmd::BenchDetails, kResults, "Benchmarks details...", Always, false, true, false},

    {cmd::CpuInfo, kSystem, "CPU Informations...", Always, true, false, false},
    {cmd::CacheInfo, kSystem, "Cache informations...", Always, true, false, false},
    {cmd::MotherboardInfo, kSystem, "Motherboard and BIOS informations...", Always, true, false,
     false},
    {cmd::OsInfo, kSystem, "OS Informations...", Always, true, false, false},

    {cmd::ReportWizard, kReport, "Veltrane Report generation wizard...", Always, true, false,
     false},
    {cmd::SendResult, kReport, "Send to Ostrelo...", Always, false, false, false},

    {cmd::StartLooping, kLooping, "Start Looping", Always, false, false, false},
    {cmd::ConfigureLooping, kLooping, "Configure looping...", Always, true, false, false},

    {cmd::ViewToolbar, kView, "&Toolbar", Always, true, false, true},
    {cmd::ViewStatusBar, kView, "&Status Bar", Always, true, false, true},

    {cmd::WindowNew, kWindow, "&New Window", WithDocument, false, false, false},
    {cmd::WindowCascade, kWindow, "&Cascade", WithDocument, true, false, false},
    {cmd::WindowTile, kWindow, "&Tile", WithDocument, true, false, false},
    {cmd::WindowArrange, kWindow, "&Arrange Icons", WithDocument, true, false, false},

    {cmd::HelpSystem, kHelp, "Help System...", WithDocument, true, false, false},
    {cmd::HowTos, kHelp, "Veltrane HowTo's...", WithDocument, false, false, false},
    {cmd::MakerWebSite, kHelp, "Go to Ostrelo web syte...", Always, true, true, false},
    {cmd::About, kHelp, "&About Veltrane beta3...", Always, true, true, false},
};

constexpr ToolbarButton kToolbar[] = {
    {cmd::NewCustom, "New Custom", 1},
    {cmd::NewDefault, "New Default", 2},
    {cmd::SaveProjectMenu, "Save Project", 3},
    {0, nullptr, 0},
    // The two SSE suites share their picture; the texts tell them apart.
    {cmd::BenchSse2, "SSE2 Bench", 4},
    {cmd::BenchSse, "SSE Bench", 4},
    {cmd::Bench3DNow, "K7 Bench", 5},
    {cmd::BenchSmp, "SMP Bench", 6},
    {0, nullptr, 0},
    {cmd::CpuInfo, "Sys Info", 7},
    {cmd::OsInfo, "OS Info", 8},
    {cmd::CacheInfo, "Cache Info", 9},
    {0, nullptr, 0},
    {cmd::GraphOverall, "Graph of res", 10},
    {cmd::ConfigureLooping, "Loop Mode", 11},
    {cmd::ReportWizard, "HTML Report", 12},
};

struct CommandTip {
    int id;
    const char* text;
};

// What the status bar says while a menu item is highlighted.
constexpr CommandTip kStatusTips[] = {
    {cmd::BenchMultiCore,
     "Runs the standard tests on one thread, then on as many threads as you ask, and shows how "
     "each figure scales"},
};

// The menus only show the keys. Ctrl+S saves even where the menu has no
// "Save project..." item. The editing keys (undo, cut, copy, paste) are the
// text fields' own, and nothing in the program prints.
constexpr Accelerator kAccelerators[] = {
    {"Ctrl+N", cmd::NewCustom}, {"Ctrl+O", cmd::OpenProject}, {"Ctrl+S", cmd::SaveProject},
    {"F6", kNextPane},          {"Shift+F6", kPreviousPane},
};

}  // namespace

std::span<const char* const> menuTitles() {
    return kMenus;
}

std::span<const CommandInfo> commandTable() {
    return kCommands;
}

const CommandInfo* findCommand(int id) {
    for (const auto& command : kCommands) {
        if (command.id == id) {
            return &command;
        }
    }
    return nullptr;
}

const char* commandStatusTip(int id) {
    for (const auto& tip : kStatusTips) {
        if (tip.id == id) {
            return tip.text;
        }
    }
    return nullptr;
}

std::span<const ToolbarButton> toolbarButtons() {
    return kToolbar;
}

std::span<const Accelerator> accelerators() {
    return kAccelerators;
}

}  // namespace veltrane::shell
