// Real runs of the small suites through the windows: the progress window as
// each message arrives, the results window, "tempdata", and the two-thread
// window of the SMP suite.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTreeWidget>

#include "FrameTestSupport.h"
#include "engine/Messages.h"
#include "engine/RunEnd.h"
#include "engine/TestInfo.h"
#include "shell/ChooserDlg.h"
#include "shell/PlaceholderDlg.h"
#include "shell/ProgressDlg.h"
#include "shell/ResultsDlg.h"
#include "shell/SmpProgressDlg.h"

namespace veltrane::shell::test {

namespace {

// What one thread's panel showed after a message.
struct PanelState {
    QString counter;
    QString name;
    QString description;
    int current = 0;
    QString currentPercent;
    int overall = 0;
    QString overallPercent;
};

struct Snapshot {
    int message;
    qint64 wParam;
    qint64 lParam;
    PanelState panels[2];
};

PanelState panelState(const QWidget& window, const QString& prefix) {
    auto text = [&](const char* name) {
        return window.findChild<QLabel*>(prefix + QLatin1String(name))->text();
    };
    auto bar = [&](const char* name) {
        return window.findChild<QProgressBar*>(prefix + QLatin1String(name))->value();
    };
    return {text("Counter"),        text("Name"),      text("Description"),   bar("CurrentBar"),
            text("CurrentPercent"), bar("OverallBar"), text("OverallPercent")};
}

template <typename Window>
void recordSnapshots(Window& window, std::vector<Snapshot>& into, const QStringList& prefixes) {
    QObject::connect(&window, &Window::messageShown, &window,
                     [&window, &into, prefixes](int message, qint64 wParam, qint64 lParam) {
                         Snapshot snapshot{message, wParam, lParam, {}};
                         for (int i = 0; i < prefixes.size(); ++i) {
                             snapshot.panels[i] = panelState(window, prefixes[i]);
                         }
                         into.push_back(snapshot);
                     });
}

QStringList infoRows(const QWidget& window) {
    QStringList rows;
    const auto* list = window.findChild<QTreeWidget*>(QStringLiteral("infoList"));
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        rows.append(list->topLevelItem(i)->text(0) + QStringLiteral(": ") +
                    list->topLevelItem(i)->text(1));
    }
    return rows;
}

QString percent(int value) {
    return QStringLiteral("%1 %").arg(value);
}

}  // namespace

class FrameRunTest : public QObject {
    Q_OBJECT

private slots:
    void defaultRunFromTheChooser();
    void smpRunShowsBothThreads();
};

void FrameRunTest::defaultRunFromTheChooser() {
    FrameBench bench(FakeProcessor{}, smallSuiteThreads());
    bench.dialogs.modalAnswers["Choose a benchmark"] = [](QDialog& dialog) {
        static_cast<ChooserDlg&>(dialog).button("Run Default Benchmark...")->click();
        return dialog.result();
    };
    FrameEnvironment environment = bench.environment();
    environment.resultsDelayMs = 500;
    CMainFrame frame(environment);
    QVERIFY(frame.create());
    // The chooser starts the run when the start-up timer fires, later.
    std::vector<Snapshot> seen;
    recordSnapshots(frame.progressWindow(), seen, {QString()});
    QTRY_VERIFY(frame.progressWindow().isVisible());
    QCOMPARE(infoRows(frame.progressWindow()),
             QStringList({"CPU Vendor: AuthenticAMD", "CPU Name: Test Processor",
                          "CPU Frequency: 1234.5 MHz", "L1 Data Cache: 64 KByte",
                          "L1 Instruction Cache: 64 KByte", "L2 Cache: 256 KByte",
                          QStringLiteral("System RAM (MByte): %1 MByte")
                              .arg(ident::MemoryInfo().totalPhysMB())}));
    QVERIFY(waitForResults(frame));
    QVERIFY(!frame.progressWindow().isVisible());

    // Seven tests, each announced, ticked and ended in order.
    int begun = 0;
    int ended = 0;
    int ticks = 0;
    for (const Snapshot& snapshot : seen) {
        const PanelState& panel = snapshot.panels[0];
        if (snapshot.message == engine::WM_THREAD_BEGIN) {
            ++begun;
            QCOMPARE(panel.counter, QString::number(begun));
            QCOMPARE(panel.name, engine::testInfo(begun)->name);
            QCOMPARE(panel.description, engine::testInfo(begun)->description);
        } else if (snapshot.message == engine::WM_THREAD_TICK) {
            ++ticks;
            QCOMPARE(panel.currentPercent, percent(panel.current));
            QVERIFY(panel.current >= 10 && panel.current <= 100);
        } else if (snapshot.message == engine::WM_THREAD_END) {
            ++ended;
            QCOMPARE(panel.overall, ended);
            QCOMPARE(panel.overallPercent, percent(14 * ended));
        }
    }
    QCOMPARE(begun, 7);
    QCOMPARE(ended, 7);
    QVERIFY(ticks >= 70);

    // The results window, the current result and "tempdata" agree.
    const engine::BenchResult& result = frame.currentResult();
    QCOMPARE(result.fullRun, std::uint8_t{1});
    QCOMPARE(result.suite, std::int32_t{engine::SuiteStandard});
    QVERIFY(result.overallResult > 0);
    const QString score = frame.resultsWindow().scoreText();
    QCOMPARE(score, QString::fromStdString(engine::scoreText(result)));
    QVERIFY(QRegularExpression("^\\d+ $").match(score).hasMatch());
    QVERIFY(QRegularExpression("^\\d+\\.\\d\\d seconds$")
                .match(frame.resultsWindow().timeText())
                .hasMatch());
    const QByteArray tempdata = readFile(bench.path("tempdata"));
    QCOMPARE(tempdata.size(), 40);
    QCOMPARE(QString::fromLatin1(tempdata.constData()), score + " CPUMarks");

    // "Graph of results.." opens the graphs at their first page.
    for (auto* button : frame.resultsWindow().findChildren<QAbstractButton*>()) {
        if (button->text() == "Graph of results..") {
            button->click();
        }
    }
    QVERIFY(!frame.resultsWindow().isVisible());
    QCOMPARE(frame.placeholder("GraphResultsDlg")->currentPage(), 0);
    QVERIFY(frame.placeholder("GraphResultsDlg")->isVisible());
    QVERIFY(bench.dialogs.messages.empty());
}

void FrameRunTest::smpRunShowsBothThreads() {
    FrameBench bench(FakeProcessor{.processors = 2}, smallSuiteThreads());
    auto frame = bench.startedFrame();
    QVERIFY(frame != nullptr);
    std::vector<Snapshot> seen;
    recordSnapshots(frame->smpProgressWindow(), seen, {"thread1", "thread2"});
    frame->toolbarAction("SMP Bench")->trigger();
    QVERIFY(frame->smpProgressWindow().isVisible());
    QVERIFY(infoRows(frame->smpProgressWindow()).contains("CPU Name: 2xTest Processor"));
    QVERIFY(waitForResults(*frame));
    QVERIFY(!frame->smpProgressWindow().isVisible());

    int firstEnds = 0;
    int secondEnds = 0;
    bool stoppedShown = false;
    QStringList announced;
    for (const Snapshot& snapshot : seen) {
        if (snapshot.message == engine::WM_THREAD_BEGIN) {
            announced.append(QStringLiteral("%1/%2").arg(snapshot.wParam).arg(snapshot.lParam));
            if (snapshot.lParam == 0 && snapshot.wParam >= 6) {
                QCOMPARE(snapshot.panels[1].description, engine::kSecondThreadStopped);
                QVERIFY(snapshot.panels[1].name.isEmpty());
                stoppedShown = true;
            }
        } else if (snapshot.message == engine::WM_THREAD_END) {
            const int thread = snapshot.wParam == 1 ? 0 : 1;
            const int ends = thread == 0 ? ++firstEnds : ++secondEnds;
            QCOMPARE(snapshot.panels[thread].overall, ends);
            QCOMPARE(snapshot.panels[thread].overallPercent,
                     percent((thread == 0 ? 14 : 20) * ends));
        }
    }
    QCOMPARE(firstEnds, 7);
    QCOMPARE(secondEnds, 5);
    QVERIFY(stoppedShown);
    QVERIFY(announced.contains("1/0") && announced.contains("1/1"));
    QVERIFY(!announced.contains("6/1"));

    const engine::BenchResult& result = frame->currentResult();
    QCOMPARE(result.suite, std::int32_t{engine::SuiteSMP});
    QCOMPARE(result.fullRun, std::uint8_t{1});
    QVERIFY(result.overallResult > 0);
    QCOMPARE(frame->resultsWindow().scoreText(), QString::fromStdString(engine::scoreText(result)));
}

}  // namespace veltrane::shell::test

QTEST_MAIN(veltrane::shell::test::FrameRunTest)
#include "FrameRunTest.moc"
