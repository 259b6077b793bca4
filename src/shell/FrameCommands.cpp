// The main frame's commands: menus, toolbar, accelerators and the windows
// that post them.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include "engine/Messages.h"
#include "engine/RunRequest.h"
#include "engine/TestInfo.h"
#include "shell/AboutDlg.h"
#include "shell/BenchmarkForm.h"
#include "shell/Dialogs.h"
#include "shell/FrameConfig.h"
#include "shell/MainFrame.h"
#include "shell/ProjectDocuments.h"
#include "shellcore/CommandTable.h"

namespace veltrane::shell {

namespace {

// The single-test shortcuts and the masks they run.
constexpr std::pair<int, int> kRunOnlyMasks[] = {
    {cmd::RunAluOnly, 1},     {cmd::RunFpuOnly, 6},  {cmd::RunMipsOnly, 8},
    {cmd::RunMflopsOnly, 16}, {cmd::RunRamOnly, 96},
};

// The result commands and the graph pages they open.
constexpr std::pair<int, int> kGraphPages[] = {
    {cmd::GraphOverall, 0},    {cmd::GraphAluFpu, 1}, {cmd::GraphFpuSpDp, 2},
    {cmd::GraphMipsMflops, 5}, {cmd::GraphRam, 3},
};

// The information commands and the pages of "Advanced informations".
constexpr std::pair<int, int> kInfoPages[] = {
    {cmd::CpuInfo, 0}, {cmd::CacheInfo, 1}, {cmd::MotherboardInfo, 2}, {cmd::OsInfo, 3}};

constexpr std::pair<int, int> kOptimisedSuites[] = {
    {cmd::BenchSse, engine::SuiteSSE},
    {cmd::BenchSse2, engine::SuiteSSE2},
    {cmd::Bench3DNow, engine::Suite3DNow},
};

template <std::size_t N>
int lookup(const std::pair<int, int> (&table)[N], int command) {
    for (const auto& [id, value] : table) {
        if (id == command) {
            return value;
        }
    }
    return -1;
}

}  // namespace

void CMainFrame::handleCommand(int command) {
    if (closing_) {
        return;
    }
    emit commandArrived(command);
    if (const CommandInfo* info = findCommand(command); info != nullptr && !info->handled) {
        return;
    }
    // The active benchmark form answers the commands it knows first.
    if (BenchmarkForm* form = documents_->activeForm();
        form != nullptr && form->handleCommand(command)) {
        return;
    }
    if (const int mask = lookup(kRunOnlyMasks, command); mask >= 0) {
        runOnly(mask);
        return;
    }
    if (const int page = lookup(kGraphPages, command); page >= 0) {
        showGraphPage(page);
        return;
    }
    if (const int page = lookup(kInfoPages, command); page >= 0) {
        sendRequest(engine::WM_SHOW_SYSINFO, page);
        return;
    }
    if (const int suite = lookup(kOptimisedSuites, command); suite >= 0) {
        runOptimised(suite);
        return;
    }
    switch (command) {
        case cmd::NewCustom:
            newDocument();
            break;
        case cmd::NewDefault:
        case cmd::NewDefaultMenu:
            sendRequest(engine::WM_RUN_BENCH, engine::SuiteStandard, engine::kFullRunMask);
            break;
        case cmd::OpenProject:
        case cmd::OpenProjectMenu:
            openDocument();
            break;
        case cmd::SaveProject:
        case cmd::SaveProjectMenu:
            saveDocument();
            break;
        case cmd::CloseDocument:
            closeDocument();
            break;
        case cmd::Exit:
            close();
            break;
        case cmd::BenchStandard:
            sendRequest(engine::WM_RUN_BENCH, engine::SuiteStandard, engine::kFullRunMask);
            closeDocument();
            break;
        case cmd::BenchSmp:
            runSmpBenchmark();
            break;
        case cmd::BenchMultiCore:
            runScalingBenchmark();
            break;
        case cmd::ReportWizard:
            sendRequest(engine::WM_SHOW_REPORT_WIZARD);
            break;
        case cmd::ConfigureLooping:
            sendRequest(engine::WM_SHOW_LOOP_CONFIG);
            closeDocument();
            break;
        case cmd::MakerWebSite:
            openOrSay(this, QUrl(QString::fromLatin1(kMakerWebSite)), QStringLiteral("web site"));
            break;
        case cmd::HelpSystem:
            openHelpPage(this);
            break;
        case cmd::About:
            showAbout();
            break;
        case cmd::ViewToolbar:
            toggleBar(*toolbar_, command);
            break;
        case cmd::ViewStatusBar:
            toggleBar(*statusBar(), command);
            break;
        case cmd::WindowCascade:
            mdi_->cascadeSubWindows();
            break;
        case cmd::WindowTile:
            mdi_->tileSubWindows();
            break;
        case cmd::WindowArrange:
            arrangeIcons();
            break;
        case kNextPane:
            mdi_->activateNextSubWindow();
            break;
        case kPreviousPane:
            mdi_->activatePreviousSubWindow();
            break;
        default:
            break;
    }
}

void CMainFrame::runSmpBenchmark() {
    // On fewer than two processors the run's plan refuses it with the SMP error.
    runBenchmark(engine::SuiteSMP, engine::kFullRunMask);
}

void CMainFrame::runOnly(int mask) {
    closeDocument();
    sendRequest(engine::WM_RUN_BENCH, engine::SuiteStandard, mask);
    resultAvailable_ = true;
}

void CMainFrame::runOptimised(int suite) {
    closeDocument();
    postRequest(engine::WM_RUN_BENCH, suite, engine::kFullRunMask);
}

void CMainFrame::showGraphPage(int page) {
    if (!resultAvailable_) {
        dialogs().message(this, QLatin1String(kRunFirstWarning), QLatin1String(kWarningTitle),
                          MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    sendRequest(engine::WM_SHOW_GRAPHS, page);
}

void CMainFrame::showAbout() {
    AboutDlg about(this, versionText_);
    dialogs().execModal(about);
}

void CMainFrame::toggleBar(QWidget& bar, int command) {
    const bool show = bar.isHidden();
    bar.setVisible(show);
    menuActions_.at(command)->setChecked(show);
}

// Minimised windows in a row along the bottom of the area.
void CMainFrame::arrangeIcons() {
    int x = 0;
    for (QMdiSubWindow* child : mdi_->subWindowList()) {
        if (child->isMinimized()) {
            child->move(x, mdi_->viewport()->height() - child->height());
            x += child->width();
        }
    }
}

bool CMainFrame::hasDocument() const {
    return mdi_ != nullptr && !mdi_->subWindowList().isEmpty();
}

void CMainFrame::newDocument() {
    documents_->newDocument();
}

void CMainFrame::openDocument() {
    documents_->openDocument();
}

void CMainFrame::saveDocument() {
    documents_->saveActiveDocument();
}

void CMainFrame::closeDocument() {
    documents_->closeActiveDocument();
}

}  // namespace veltrane::shell
