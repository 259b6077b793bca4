#include "FrameTestSupport.h"

#include <QFile>
#include <atomic>
#include <thread>

#include "engine/ProgressSink.h"
#include "shell/ResultsDlg.h"
#include "support/FakeCpu.h"

namespace veltrane::shell::test {

namespace {

std::atomic<bool> runsHeld{false};

void endAtOnce(engine::BenchResult& record) {
    record.progressWindow->post(engine::WM_BENCH_DONE, 0, 0);
}

// Keeps the window busy with ticks, each a send that waits for the GUI.
void endWhenReleased(engine::BenchResult& record) {
    while (runsHeld.load()) {
        record.progressWindow->send(engine::WM_THREAD_TICK, 0, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    endAtOnce(record);
}

void doNothing(engine::BenchResult&) {}

platform::RecordedCpuProbe fakeProbe(const FakeProcessor& processor) {
    const std::uint32_t simd = processor.simd ? ~0u : 0u;
    veltrane::test::FakeCpu cpu;
    cpu.vendor("AuthenticAMD", 1)
        .signature(0x662, simd & (3u << 25))  // SSE, SSE2
        .leaf(0x80000000, {0x80000006, 0, 0, 0})
        .leaf(0x80000001, {0, 0, 0, simd & (1u << 31)})  // 3DNow!
        .leaf(0x80000005, {0, 0, 64u << 24, 64u << 24})  // L1 data, code
        .leaf(0x80000006, {0, 0, 256u << 16, 0})         // L2
        .processors(static_cast<std::uint32_t>(processor.processors));
    return cpu.probe([] { return std::uint64_t{0}; });
}

}  // namespace

suites::SuiteProcedures instantSuiteThreads() {
    return {[](int) -> suites::SuiteThread { return &endAtOnce; }, &endAtOnce, &doNothing};
}

suites::SuiteProcedures heldSuiteThreads() {
    runsHeld.store(true);
    return {[](int) -> suites::SuiteThread { return &endWhenReleased; }, &endWhenReleased,
            &doNothing};
}

void releaseHeldRuns() {
    runsHeld.store(false);
}

FrameBench::FrameBench(FakeProcessor processor, suites::SuiteProcedures threadFactory)
    : probe(fakeProbe(processor)), threads(threadFactory) {
    facts.definitionLoaded = true;
    facts.definition.processorName = "Test Processor";
    clock.claim();
    clock.publish(1234.5f, "");
}

FrameEnvironment FrameBench::environment() {
    FrameEnvironment environment;
    environment.probe = &probe;
    environment.facts = &facts;
    environment.clock = &clock;
    environment.suiteThreads = threads;
    environment.referenceFiles = [this](const std::string&) {
        return std::optional<std::string>(references);
    };
    environment.pciList = [] {
        static ident::PciProcessState scanned{true};
        ident::PciEnvironment pci;
        pci.state = scanned;
        return ident::PciDeviceList(pci);
    };
    environment.tempdataPath = path(QStringLiteral("tempdata")).toStdString();
    environment.historyPath = historyPath().toStdString();
    environment.firstRun = FirstRunMarker::file(path(QStringLiteral("FirstRun")).toStdString());
    environment.resultsDelayMs = 0;
    environment.lockKeys = LockKeyReader([this] { return lockKeys; });
    environment.runConditions = [this](bool) { return conditions; };
    environment.measureCoreClock = false;
    environment.scalingWorkers = scalingWorkers;
    environment.scalingProcessors = [this] { return processors; };
    // The small unit without pauses: a loop of ten units ends at once.
    environment.loop = {&loopClock,
                        burnin::test::smallLoopUnit(),
                        {0, 0},
                        [this](std::int64_t unit, burnin::LoopMatrices& m) {
                            if (loopHook) {
                                loopHook(unit, m);
                            }
                        },
                        [this] { return loopGrant; },
                        {}};  // the frame says when a benchmark runs
    return environment;
}

std::unique_ptr<CMainFrame> FrameBench::createFrame() {
    auto frame = std::make_unique<CMainFrame>(environment());
    if (!frame->create()) {
        return nullptr;
    }
    return frame;
}

std::unique_ptr<CMainFrame> FrameBench::startedFrame() {
    auto frame = createFrame();
    if (frame == nullptr) {
        return nullptr;
    }
    frame->show();
    if (!QTest::qWaitFor([&] { return frame->startupDone(); }, 5000)) {
        return nullptr;
    }
    dialogs.modalTitles.clear();
    dialogs.shown.clear();
    return frame;
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(content) == content.size());
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool waitForResults(const CMainFrame& frame, int timeoutMs) {
    return QTest::qWaitFor(
        [&] { return !frame.runInProgress() && frame.resultsWindow().isVisible(); }, timeoutMs);
}

QStringList logLines(const std::vector<std::string>& log) {
    QStringList lines;
    for (const std::string& line : log) {
        lines << QString::fromStdString(line);
    }
    return lines;
}

std::string sampleReferences(int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        const QString letter(QChar(static_cast<char16_t>(u'A' + i)));
        const int step = i + 1;
        QStringList fields{
            QStringLiteral("Reference system %1 %2 MHz").arg(letter).arg(1000 + 400 * i),
            "64 KB",
            "64 KB",
            "512 KB",
            "Chipset " + letter,
            "200 MHz",
            "Some OS"};
        for (const int figure : {900, 800, 700, 650, 750, 1500, 600}) {
            fields << QString::number(figure * step);
        }
        fields << QStringLiteral("%1.7").arg(1100 * step)
               << QStringLiteral("%1.25").arg(1000 * step) << (i == 0 ? "AMD_Zen" : "UNKNOWN_CHIP");
        lines << fields.join('-');
    }
    return lines.join('\n').toStdString();  // the last record ends the file
}

}  // namespace veltrane::shell::test
