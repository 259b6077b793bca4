#include "shell/MainFrame.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>

#include "engine/RunEnd.h"
#include "ident/Clock.h"
#include "shell/AdvancedInfoDlg.h"
#include "shell/ChooserDlg.h"
#include "shell/Dialogs.h"
#include "shell/FrameConfig.h"
#include "shell/GraphConfigDlg.h"
#include "shell/GraphResultsDlg.h"
#include "shell/LoopConfigDlg.h"
#include "shell/LoopProgressDlg.h"
#include "shell/NotesDlg.h"
#include "shell/Pictures.h"
#include "shell/ProgressDlg.h"
#include "shell/ProjectDocuments.h"
#include "shell/ReportWizardDlg.h"
#include "shell/ResultsDlg.h"
#include "shell/ScalingProgressDlg.h"
#include "shell/ScalingResultsDlg.h"
#include "shell/SmpProgressDlg.h"
#include "shell/SplashWindow.h"
#include "shellcore/ScalingProgress.h"

namespace veltrane::shell {

namespace {

constexpr const char* kCriticalErrorTitle = "Critical error";

ident::MachineSources machineSources(const FrameEnvironment& environment) {
    ident::MachineSources sources;
    if (environment.probe != nullptr) {
        sources.probe = ident::borrowed(*environment.probe);
    }
    sources.processor = environment.facts;
    if (environment.clock != nullptr) {
        sources.clock = ident::borrowed(*environment.clock);
    }
    sources.pciList = environment.pciList;
    return sources;
}

// The screen is known only to the window system.
void addScreenFacts(ident::OsInfo& info) {
    const auto screens = QGuiApplication::screens();
    info.monitorCount = static_cast<std::int32_t>(screens.size());
    if (const QScreen* primary = QGuiApplication::primaryScreen()) {
        info.screenWidth = primary->size().width();
        info.screenHeight = primary->size().height();
    }
}

}  // namespace

CMainFrame::CMainFrame(FrameEnvironment environment)
    : env_(std::move(environment)), machine_(machineSources(env_)), session_(env_.suiteThreads) {
    setObjectName(QStringLiteral("CMainFrame"));
    if (!machine_.definitionError.empty()) {
        dialogs().message(nullptr, QString::fromStdString(machine_.definitionError),
                          QString::fromLatin1(kCriticalErrorTitle), MessageIcon::Stop,
                          MessageButtons::Ok);
    }
    addScreenFacts(machine_.os);
    if (const auto& error = machine_.pciError) {
        dialogs().message(nullptr, QString::fromStdString(error->text),
                          QString::fromStdString(error->title), MessageIcon::Stop,
                          MessageButtons::Ok);
    }
    setWindowTitle(QLatin1String(kProductName));
    setWindowIcon(programIcon());
}

CMainFrame::~CMainFrame() {
    closing_ = true;
    // Child windows closing during the destruction must not reach the menus.
    if (mdi_ != nullptr) {
        disconnect(mdi_, nullptr, this, nullptr);
    }
    // A run still going must post its end, its sends served, before its
    // threads are joined and its window goes; the frame must still be whole
    // while it does.
    if (progress_ != nullptr) {
        progress_->waitForRunEnd();
    }
    if (smpProgress_ != nullptr) {
        smpProgress_->waitForRunEnd();
    }
    session_.finish();
    endScalingThread();
    delete progress_;
    delete smpProgress_;
    if (clockThread_.joinable()) {
        clockThread_.join();
    }
}

bool CMainFrame::create() {
    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("mdiArea"));
    // Without scroll bars, tiling forms that do not fit grows the frame past the screen.
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    documents_ = std::make_unique<ProjectDocuments>(*mdi_, *this);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &CMainFrame::updateMenus);
    createToolbar();
    createMenus();
    createStatusBar();
    if (!createWindows()) {
        return false;
    }
    splash_ = new SplashWindow(this);
    splash_->show();
    startupTimer_.setSingleShot(true);
    connect(&startupTimer_, &QTimer::timeout, this, &CMainFrame::onStartupTick);
    startupTimer_.start(env_.startupDelayMs);
    connect(&queuedRunTimer_, &QTimer::timeout, this, &CMainFrame::startQueuedRun);
    // Said by the start-up step: a message box here would run the start-up
    // before the frame is on screen.
    if (const auto error = engine::writeTempdataPlaceholder(env_.tempdataPath); !error.empty()) {
        startupWarnings_ << tempdataWarning(error);
    }
    return true;
}

bool CMainFrame::createWindows() {
    progress_ = new ProgressDlg(this, *this, session_);
    results_ = new ResultsDlg(this, *this);
    // The results graphs compare with the reference lists, read as they are created.
    const auto load = env_.referenceFiles ? engine::loadReferenceDatabase(env_.referenceFiles)
                                          : engine::loadReferenceDatabase();
    if (!load.ok()) {
        // The program's own message, then where the file was looked for.
        const std::string text = load.detail.empty() ? load.error : load.error + '\n' + load.detail;
        dialogs().message(nullptr, QString::fromStdString(text),
                          QString::fromLatin1(engine::kReferenceErrorCaption), MessageIcon::Stop,
                          MessageButtons::Ok);
        exitStatus_ = load.exitStatus;
        return false;
    }
    references_ = load.database;
    openHistory();
    graphs_ = new GraphResultsDlg(this, *this, references_);
    connect(graphs_, &GraphResultsDlg::saveRequested, this, &CMainFrame::saveResult);
    connect(graphs_, &GraphResultsDlg::removeRequested, this, &CMainFrame::removeOwnEntry);
    showSaveState();
    reportWizard_ = new ReportWizardDlg(this, *this, reportTester_, reportSections_);
    // A loop beside a benchmark would take its processors.
    env_.loop.benchmarkRunning = [this] { return runInProgress(); };
    loopConfig_ = new LoopConfigDlg(this, env_.loop);
    graphConfigurator_ = new GraphConfigDlg(this, *this);
    smpProgress_ = new SmpProgressDlg(this, *this, session_);
    chooser_ = new ChooserDlg(this, *this);
    scalingProgress_ = new ScalingProgressDlg(this);
    scalingResults_ = new ScalingResultsDlg(this);
    return true;
}

void CMainFrame::createAdvancedInfo() {
    if (advancedInfo_ == nullptr) {
        advancedInfo_ = new AdvancedInfoDlg(this, machine_);
    }
}

void CMainFrame::onStartupTick() {
    // Once only, however long the chooser below stays open.
    if (startupDone_) {
        return;
    }
    // The frame first: the windows of the start-up belong on top of it.
    if (!isVisible()) {
        startupTimer_.start(env_.startupDelayMs);
        return;
    }
    startupDone_ = true;
    startupTimer_.stop();
    clockThread_ = ident::startClockMeasurement(machine_.identity, clock());
    createAdvancedInfo();
    if (splash_ != nullptr) {
        splash_->hide();
        splash_->deleteLater();
        splash_ = nullptr;
    }
    for (const QString& warning : startupWarnings_) {
        warn(warning, QLatin1String(kWarningTitle));
    }
    if (env_.firstRun.consume()) {
        NotesDlg notes(this);
        dialogs().execModal(notes);
    }
    dialogs().execModal(*chooser_);
    emit startupFinished();
}

void CMainFrame::sendRequest(int request, std::intptr_t wParam, std::intptr_t lParam) {
    handleRequest(request, wParam, lParam);
}

void CMainFrame::postRequest(int request, std::intptr_t wParam, std::intptr_t lParam) {
    QMetaObject::invokeMethod(
        this, [this, request, wParam, lParam] { handleRequest(request, wParam, lParam); },
        Qt::QueuedConnection);
}

void CMainFrame::sendCommand(int command) {
    handleCommand(command);
}

void CMainFrame::postCommand(int command) {
    QMetaObject::invokeMethod(
        this, [this, command] { handleCommand(command); }, Qt::QueuedConnection);
}

const ident::MachineFacts& CMainFrame::machineFacts() const {
    return machine_;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // A run cannot be stopped, and its thread must not be left talking to
    // windows that are gone. One still waiting for the clock goes with the frame.
    if (runGoing()) {
        warn(QStringLiteral("A benchmark is running. Wait for it to finish before closing %1.")
                 .arg(QLatin1String(kProductName)),
             QLatin1String(kWarningTitle));
        event->ignore();
        return;
    }
    queuedRun_.reset();
    queuedRunTimer_.stop();
    // A loop can be stopped: it ends after its unit, before the frame goes.
    loopConfig_->progressWindow().stopLoop();
    QMainWindow::closeEvent(event);
}

QString CMainFrame::tempdataWarning(const std::string& error) const {
    return QStringLiteral("Cannot write the result file %1: %2")
        .arg(QString::fromStdString(env_.tempdataPath), QString::fromStdString(error));
}

void CMainFrame::warn(const QString& text, const QString& title) {
    dialogs().message(this, text, title, MessageIcon::Exclamation, MessageButtons::Ok);
}

ident::ClockState& CMainFrame::clock() const {
    return env_.clock != nullptr ? *env_.clock : ident::clockState();
}

}  // namespace veltrane::shell
