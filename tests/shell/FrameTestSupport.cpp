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

void doNothing(engine::BenchResult&) {}

engine::SuiteThread instantSuite(int) {
    return &endAtOnce;
}

// Keeps the window busy with ticks, each a send that waits for the GUI.
void endWhenReleased(engine::BenchResult& record) {
    while (runsHeld.load()) {
        record.progressWindow->send(engine::WM_THREAD_TICK, 0, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    endAtOnce(record);
}

engine::SuiteThread heldSuite(int) {
    return &endWhenReleased;
}

platform::RecordedCpuProbe fakeProbe(const FakeProcessor& processor) {
    constexpr std::uint32_t kSse = 1u << 25;
    constexpr std::uint32_t kSse2 = 1u << 26;
    constexpr std::uint32_t k3DNow = 1u << 31;
    veltrane::test::FakeCpu cpu;
    cpu.vendor("AuthenticAMD", 1)
        .signature(0x662, processor.simd ? kSse | kSse2 : 0)
        .leaf(0x80000000, {0x80000006, 0, 0, 0})
        .leaf(0x80000001, {0, 0, 0, processor.simd ? k3DNow : 0})
        .leaf(0x80000005, {0, 0, 64u << 24, 64u << 24})  // L1 data, code
        .leaf(0x80000006, {0, 0, 256u << 16, 0})         // L2
        .processors(static_cast<std::uint32_t>(processor.processors));
    return cpu.probe([] { return std::uint64_t{0}; });
}

ident::PciDeviceList noPciScan() {
    static ident::PciProcessState scanned{true};
    ident::PciEnvironment environment;
    environment.state = scanned;
    return ident::PciDeviceList(environment);
}

}  // namespace

SuiteThreadFactory instantSuiteThreads() {
    return {&instantSuite, &endAtOnce, &doNothing};
}

SuiteThreadFactory heldSuiteThreads() {
    runsHeld.store(true);
    return {&heldSuite, &endWhenReleased, &doNothing};
}

void releaseHeldRuns() {
    runsHeld.store(false);
}

FrameBench::FrameBench(FakeProcessor processor, SuiteThreadFactory threadFactory)
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
    environment.referenceFiles = [](const std::string&) { return std::optional<std::string>(""); };
    environment.pciList = &noPciScan;
    environment.tempdataPath = path(QStringLiteral("tempdata")).toStdString();
    environment.firstRun = FirstRunMarker::file(path(QStringLiteral("FirstRun")).toStdString());
    environment.resultsDelayMs = 0;
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
    if (frame != nullptr && !QTest::qWaitFor([&] { return frame->startupDone(); }, 5000)) {
        return nullptr;
    }
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

}  // namespace veltrane::shell::test
