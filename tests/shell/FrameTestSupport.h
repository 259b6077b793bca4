#pragma once

#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "RecordingDialogs.h"
#include "ident/Clock.h"
#include "ident/ProcessorFacts.h"
#include "platform/CpuidDump.h"
#include "shell/FrameEnvironment.h"
#include "shell/MainFrame.h"

namespace veltrane::shell::test {

// Thread procedures for frames under test.
SuiteThreadFactory smallSuiteThreads();    // every test of the real suites, small
SuiteThreadFactory instantSuiteThreads();  // end the run at once
// Ends the run only after releaseHeldRuns().
SuiteThreadFactory heldSuiteThreads();
void holdRuns();
void releaseHeldRuns();

struct FakeProcessor {
    int processors = 1;
    bool simd = true;  // SSE, SSE2 and 3DNow!
};

// What a frame under test takes from outside, kept in a temporary folder:
// the messages it shows, a recorded processor, a clock already measured,
// empty reference lists, no PCI scan, its own "tempdata" and "FirstRun".
class FrameBench {
public:
    explicit FrameBench(FakeProcessor processor = {},
                        SuiteThreadFactory threads = instantSuiteThreads());

    FrameEnvironment environment();
    // A frame after create(); nullptr when creation failed.
    std::unique_ptr<CMainFrame> createFrame();
    // A frame whose start-up step has run (the chooser answered as set up).
    std::unique_ptr<CMainFrame> startedFrame();

    QString path(const QString& name) const { return dir.filePath(name); }

    RecordingDialogs dialogs;
    QTemporaryDir dir;
    ident::ProcessorFacts facts;
    ident::ClockState clock;
    platform::RecordedCpuProbe probe;
    SuiteThreadFactory threads;
};

// Whole files; one that cannot be read reads as "<unreadable>", never as
// the empty file a test may expect.
void writeFile(const QString& path, const QByteArray& content = {});
QByteArray readFile(const QString& path);

// Waits (serving events) until the frame's run has ended and its results
// window is up.
bool waitForResults(const CMainFrame& frame, int timeoutMs = 30000);

}  // namespace veltrane::shell::test
