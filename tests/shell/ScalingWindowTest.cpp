// The multi-core run through the frame: its menu item and setup, the
// progress window's row per thread, "Stop", and the results window.
#include "WindowTest.h"
#include "engine/RunRequest.h"
#include "shell/LoopConfigDlg.h"
#include "shell/LoopProgressDlg.h"
#include "shell/ResultChart.h"
#include "shell/ScalingProgressDlg.h"
#include "shell/ScalingResultsDlg.h"
#include "shell/ScalingSetupDlg.h"
#include "shellcore/CommandTable.h"
#include "store/ResultsStore.h"

namespace veltrane::shell::test {

namespace {

const QString kSetupTitle = QStringLiteral("Multi-core Benchmark");

// Answers the setup with `threads` threads and "Start".
void answerSetup(RecordingDialogs& dialogs, int threads) {
    dialogs.modalAnswers[kSetupTitle] = [threads](QDialog& dialog) {
        auto& setup = static_cast<ScalingSetupDlg&>(dialog);
        setup.threadsField()->setValue(threads);
        setup.startButton()->click();
        return dialog.result();
    };
}

// A run of `threads` through the menu command, held in test `test` of its
// first step until its window shows that test.
bool startHeldRun(CMainFrame& frame, RecordingDialogs& dialogs, int threads, int test) {
    answerSetup(dialogs, threads);
    holdScalingRuns(test);
    frame.handleCommand(cmd::BenchMultiCore);
    const QString shown = QStringLiteral("test %1 of 7").arg(test);
    return QTest::qWaitFor(
        [&] { return frame.scalingProgressWindow().heading()->text().contains(shown); });
}

QStringList rowStates(const ScalingProgressDlg& window) {
    QStringList states;
    for (int row = 0; row < window.rowCount(); ++row) {
        states << window.rowState(row);
    }
    return states;
}

bool waitForScalingResults(const CMainFrame& frame) {
    return QTest::qWaitFor([&] { return frame.scalingResultsWindow().isVisible(); }, 30000) &&
           !frame.runInProgress();
}

}  // namespace

class ScalingWindowTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { releaseScalingRuns(); }

    // The menu item opens the setup: all allowed processors, the plan's
    // notice once there are more threads, and no run when cancelled.
    void menuItemOpensTheSetup() {
        FrameBench bench;
        bench.processors = {0, 1, 2, 3, 4, 5};
        auto frame = bench.startedFrame();
        QVERIFY(frame != nullptr);
        QAction* item = frame->menuAction(cmd::BenchMultiCore);
        QVERIFY(item != nullptr && item->isEnabled());
        QCOMPARE(item->text(), QStringLiteral("Run Multi-core Benchmark..."));
        QVERIFY(!item->statusTip().isEmpty());
        QStringList seen;
        bench.dialogs.modalAnswers[kSetupTitle] = [&seen](QDialog& dialog) {
            auto& setup = static_cast<ScalingSetupDlg&>(dialog);
            seen << QString::number(setup.threadsField()->value()) << setup.planText()->text();
            setup.threadsField()->setValue(10);
            setup.pinBox()->setChecked(true);
            seen << setup.planText()->text();
            seen << QString::number(setup.plan().pinTo.size());
            return int(QDialog::Rejected);
        };
        item->trigger();
        QCOMPARE(bench.dialogs.modalTitles, QStringList{kSetupTitle});
        QCOMPARE(seen.size(), 4);
        QCOMPARE(seen[0], QStringLiteral("6"));
        QCOMPARE(seen[1], QStringLiteral("Measures one thread, then 6 threads, not pinned."));
        QVERIFY2(seen[2].contains("each thread pinned") &&
                     seen[2].contains("Note: 10 threads on 6 processors"),
                 qPrintable(seen[2]));
        QCOMPARE(seen[3], QStringLiteral("10"));
        QVERIFY(!frame->runInProgress());
        QVERIFY(!frame->scalingProgressWindow().isVisible());
    }

    // Ten threads: ten rows that scroll, the other benchmarks refused while
    // they run, then a table per thread count and the chart of both.
    void tenThreadsRunAndShowTheirResults() {
        FrameBench bench;
        auto frame = bench.startedFrame();
        QVERIFY(frame != nullptr);
        QVERIFY(startHeldRun(*frame, bench.dialogs, 10, 2));
        ScalingProgressDlg& progress = frame->scalingProgressWindow();
        QVERIFY(progress.isVisible());
        QCOMPARE(progress.rowCount(), 10);
        QVERIFY(progress.rowsArea()->verticalScrollBar()->maximum() > 0);
        QTRY_COMPARE(progress.rowBar(0)->value(), 30);  // three ticks of test 2
        QCOMPARE(progress.rowState(9), QStringLiteral("Waits for the 10-thread step"));
        QVERIFY(frame->runInProgress());
        frame->handleCommand(cmd::BenchStandard);
        frame->loopConfigurator().startButton()->click();
        frame->handleCommand(cmd::BenchMultiCore);
        const QString busy = QLatin1String(engine::kRunInProgressWarning);
        QCOMPARE(bench.dialogs.messages, QStringList(3, "Veltrane Warning: " + busy));
        QVERIFY(!frame->loopConfigurator().progressWindow().looping());
        releaseScalingRuns();
        QVERIFY(waitForScalingResults(*frame));
        QVERIFY(!progress.isVisible());
        ScalingResultsDlg& results = frame->scalingResultsWindow();
        QCOMPARE(tabTexts(*results.tables()), QStringLiteral("1 thread|10 threads"));
        QTableWidget* ten = results.table(1);
        QVERIFY(ten != nullptr);
        QCOMPARE(ten->rowCount(), 12);
        QCOMPARE(ten->verticalHeaderItem(0)->text(), QStringLiteral("Sum"));
        QCOMPARE(ten->verticalHeaderItem(1)->text(), QStringLiteral("Efficiency"));
        QCOMPARE(ten->verticalHeaderItem(11)->text(), QStringLiteral("Thread 10"));
        QCOMPARE(ten->item(1, 1)->text(), QStringLiteral("91 %"));
        QVERIFY(results.overview()->text().startsWith("Measured at 1 and 10 threads."));
        QVERIFY(results.overview()->text().endsWith("Kept in the results history as run m1."));
        store::ResultsStore history(bench.historyPath().toStdString());
        QCOMPARE(history.scalingRuns().size(), 1u);
        const auto kept = history.scalingRun(1);
        QVERIFY(kept.has_value());
        QCOMPARE(kept->origin, std::string("desktop"));
        QCOMPARE(kept->maxThreads, 10);
        QVERIFY(kept->scalingJson.find(R"("name": "veltrane")") != std::string::npos);
        const auto& chart = results.chart()->data();
        QCOMPARE(chart.groupCount, 14);
        QCOMPARE(QString::fromStdString(chart.entries[3].label),
                 QStringLiteral("FPU SP, 10 threads: 9.10 x"));
    }

    // "Stop" ends the run after the test under way: its table says what ran.
    void stopEndsTheRunAfterTheCurrentTest() {
        FrameBench bench;
        auto frame = bench.startedFrame();
        QVERIFY(frame != nullptr);
        QVERIFY(startHeldRun(*frame, bench.dialogs, 3, 1));
        ScalingProgressDlg& progress = frame->scalingProgressWindow();
        QCOMPARE(progress.rowCount(), 3);
        QCOMPARE(progress.rowsArea()->verticalScrollBar()->maximum(), 0);
        click(progress, "stopButton");
        QVERIFY(!progress.stopButton()->isEnabled());
        QVERIFY(progress.heading()->text().contains("stopping after this test"));
        releaseScalingRuns();
        QVERIFY(waitForScalingResults(*frame));
        ScalingResultsDlg& results = frame->scalingResultsWindow();
        QCOMPARE(tabTexts(*results.tables()), QStringLiteral("1 thread"));
        QVERIFY(results.overview()->text().contains("Stopped before the end"));
        QVERIFY(!results.overview()->text().contains("Kept"));
        QVERIFY(store::ResultsStore(bench.historyPath().toStdString()).scalingRuns().empty());
        QCOMPARE(results.table(0)->item(0, 0)->text(), QStringLiteral("1000"));
        QCOMPARE(results.table(0)->item(0, 1)->text(), QStringLiteral("not run"));
        QCOMPARE(results.tables()->widget(0)->findChild<QLabel*>("score")->text(),
                 QStringLiteral(
                     "Multi-core score: none, the run was stopped before every test had run"));
        QCOMPARE(rowStates(progress), (QStringList{"Stopped", "Not run", "Not run"}));
    }
};

}  // namespace veltrane::shell::test

QTEST_MAIN(veltrane::shell::test::ScalingWindowTest)
#include "ScalingWindowTest.moc"
