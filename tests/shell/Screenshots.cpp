// Renders every window of the frame to PNG files for review:
//   shell_screenshots_app <folder>
// The progress windows show a run under way, the results window a finished one.
#include <QApplication>
#include <QDir>
#include <QTest>

#include "FrameTestSupport.h"
#include "engine/InfoRow.h"
#include "engine/Messages.h"
#include "engine/TestInfo.h"
#include "shell/AboutDlg.h"
#include "shell/BenchmarkFormPicture.h"
#include "shell/ChooserDlg.h"
#include "shell/FrameConfig.h"
#include "shell/NotesDlg.h"
#include "shell/PlaceholderDlg.h"
#include "shell/ProgressDlg.h"
#include "shell/ProjectDocuments.h"
#include "shell/ResultsDlg.h"
#include "shell/SmpProgressDlg.h"
#include "shell/SplashWindow.h"

using namespace veltrane::shell;
using namespace veltrane::engine;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots"));
    test::FrameBench bench;
    auto frame = bench.startedFrame();
    if (!QDir().mkpath(folder.path()) || frame == nullptr) {
        qCritical("cannot create %s or start the frame", qPrintable(folder.path()));
        return 1;
    }
    bool saved = true;
    auto shoot = [&](QWidget& window, const QString& name) {
        window.show();
        QTest::qWait(50);
        saved = window.grab().save(folder.filePath(name + ".png")) && saved;
    };
    frame->setVersionText(QLatin1String(kVersionText));
    frame->resize(1280, 800);
    shoot(*frame, "main_frame");
    frame->documents().newDocument();
    shoot(*frame, "main_frame_with_document");
    frame->documents().closeActiveDocument();
    SplashWindow splash(nullptr);
    NotesDlg notes(nullptr);
    AboutDlg about(nullptr, QLatin1String(kVersionText));
    std::vector<InfoRow> rows{{"CPU Vendor", "AuthenticAMD"},       {"CPU Name", "AMD Athlon XP"},
                              {"CPU Frequency", "1733.4 MHz"},      {"L1 Data Cache", "64 KByte"},
                              {"L1 Instruction Cache", "64 KByte"}, {"L2 Cache", "256 KByte"},
                              {"System RAM (MByte)", "512 MByte"}};
    // Test 3 under way: two tests done, six ticks into the third.
    ProgressDlg& progress = frame->progressWindow();
    progress.setInfoRows(rows);
    progress.show();
    for (int test = 1; test <= 3; ++test) {
        progress.handleMessage(WM_THREAD_BEGIN, test, 0);
        progress.handleMessage(test < 3 ? WM_THREAD_END : WM_THREAD_TICK, 0, 0);
    }
    for (int tick = 1; tick < 6; ++tick) {
        progress.handleMessage(WM_THREAD_TICK, 0, 0);
    }
    // The first thread in its memory test, the second stopped.
    SmpProgressDlg& smp = frame->smpProgressWindow();
    rows[1].description = "2xAMD Athlon MP";
    smp.setInfoRows(rows);
    smp.show();
    for (int test = 1; test <= 5; ++test) {
        smp.handleMessage(WM_THREAD_BEGIN, test, 0);
        smp.handleMessage(WM_THREAD_BEGIN, test, 1);
        smp.handleMessage(WM_THREAD_END, 1, 0);
        smp.handleMessage(WM_THREAD_END, 2, 0);
    }
    smp.handleMessage(WM_THREAD_BEGIN, 6, 0);
    for (int tick = 0; tick < 3; ++tick) {
        smp.handleMessage(WM_THREAD_TICK, 1, 0);
    }
    frame->resultsWindow().setScoreText(QStringLiteral("4321 "));
    frame->resultsWindow().setTimeText(QStringLiteral("83.46 seconds"));
    frame->resultsWindow().setSuiteText(QLatin1String(suiteName(SuiteStandard)));
    std::vector<std::pair<QWidget*, QString>> windows{{&splash, "splash"},
                                                      {&frame->chooser(), "chooser"},
                                                      {&notes, "important_notes"},
                                                      {&about, "about"},
                                                      {&progress, "progress"},
                                                      {&smp, "smp_progress"},
                                                      {&frame->resultsWindow(), "results"}};
    for (PlaceholderDlg* window : frame->findChildren<PlaceholderDlg*>()) {
        windows.emplace_back(window, window->objectName());
    }
    for (const auto& [window, name] : windows) {
        shoot(*window, name);
        window->hide();
    }
    return saved && writeBenchmarkFormPng(folder.filePath("benchmark_form.png"), *frame) ? 0 : 1;
}
