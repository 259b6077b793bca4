#pragma once

#include <cstdint>

namespace veltrane::ident {
struct MachineFacts;
}

namespace veltrane::shell {

// The main frame as the windows it owns see it: requests (the WM_* numbers
// of engine/Messages.h) and menu commands (their numeric identifiers), sent
// (handled before the call returns) or posted (handled later by the event
// loop, after the caller has finished).
class FrameRequests {
public:
    virtual ~FrameRequests() = default;
    virtual void sendRequest(int request, std::intptr_t wParam = 0, std::intptr_t lParam = 0) = 0;
    virtual void postRequest(int request, std::intptr_t wParam = 0, std::intptr_t lParam = 0) = 0;
    virtual void sendCommand(int command) = 0;
    virtual void postCommand(int command) = 0;
    // The machine as gathered when the program started.
    virtual const ident::MachineFacts& machineFacts() const = 0;
};

// Command identifiers of the menus, toolbar and forms.
namespace cmd {
inline constexpr int NewCustom = 57600;
inline constexpr int OpenProject = 57601;
inline constexpr int CloseDocument = 57602;
inline constexpr int SaveProject = 57603;
inline constexpr int Exit = 57665;
inline constexpr int About = 57664;
inline constexpr int WindowNew = 57648;
inline constexpr int WindowArrange = 57649;
inline constexpr int WindowCascade = 57650;
inline constexpr int WindowTile = 57651;
inline constexpr int ViewToolbar = 59392;
inline constexpr int ViewStatusBar = 59393;
inline constexpr int NewDefault = 32806;
inline constexpr int NewDefaultMenu = 32772;
inline constexpr int RunAluOnly = 32773;
inline constexpr int RunFpuOnly = 32774;
inline constexpr int RunMipsOnly = 32775;
inline constexpr int RunMflopsOnly = 32776;
inline constexpr int RunRamOnly = 32777;
inline constexpr int BenchSse = 32778;
inline constexpr int BenchSse2 = 32779;
inline constexpr int Bench3DNow = 32780;
inline constexpr int BenchStandard = 32781;
inline constexpr int BenchSmp = 32782;
inline constexpr int StartBatch = 32783;
inline constexpr int ConfigureBatch = 32784;
inline constexpr int CompareMode = 32785;
inline constexpr int HelpSystem = 32786;
inline constexpr int HowTos = 32787;
inline constexpr int CpuInfo = 32788;
inline constexpr int CacheInfo = 32789;
inline constexpr int OsInfo = 32790;
inline constexpr int MotherboardInfo = 32791;
inline constexpr int ReportWizard = 32792;
inline constexpr int StartLooping = 32793;
inline constexpr int ConfigureLooping = 32794;
inline constexpr int SendResult = 32797;
inline constexpr int SaveProjectMenu = 32798;
inline constexpr int OpenProjectMenu = 32799;
inline constexpr int GraphOverall = 32800;
inline constexpr int GraphAluFpu = 32801;
inline constexpr int GraphFpuSpDp = 32802;
inline constexpr int GraphMipsMflops = 32803;
inline constexpr int GraphRam = 32804;
inline constexpr int BenchDetails = 32805;
inline constexpr int MakerWebSite = 32807;
inline constexpr int BenchMultiCore = 32808;
}  // namespace cmd

}  // namespace veltrane::shell
