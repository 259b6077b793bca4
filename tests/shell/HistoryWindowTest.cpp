// The results history from the desktop: finished runs kept, "Save this
// result" into the comparison lists, "Remove" on the database page, and a
// history that cannot keep anything said once.
#include "WindowTest.h"
#include "engine/ProgressSink.h"
#include "shell/ChartPage.h"
#include "shell/DatabasePage.h"
#include "shell/GraphResultsDlg.h"
#include "shell/ResultsDlg.h"
#include "shellcore/RepeatRequest.h"
#include "store/ResultsStore.h"

namespace veltrane::shell::test {

namespace {

constexpr int kStandard = engine::SuiteStandard;

void runToResults(CMainFrame& frame, int runs = 1) {
    frame.sendRequest(engine::WM_RUN_BENCH, kStandard, runRequestArgument(255, runs));
    QVERIFY(waitForResults(frame));
}

bool keptWithRepeat(store::ResultsStore& history, std::int64_t id) {
    return history.run(id)->runJson.find("\"until_stable\"") != std::string::npos;
}

// What the chart page's first list and the database page show.
QStringList chartNames(const GraphResultsDlg& graphs) {
    QStringList names;
    const QComboBox& list = graphs.chartPage(1)->referenceList(1);
    for (int i = 0; i < list.count(); ++i) {
        names << list.itemText(i);
    }
    return names;
}

// A run asked to stop between its tests.
void stopAtOnce(engine::BenchResult& record) {
    record.stopped = true;
    record.progressWindow->post(engine::WM_BENCH_DONE, 0, 0);
}

void selectRow(const DatabasePage& page, int row) {
    page.table().setCurrentItem(page.table().topLevelItem(row));
}

}  // namespace

class HistoryWindowTest : public QObject {
    Q_OBJECT

private slots:
    // Single and repeated runs land in the history; a name with "-" is
    // refused and asked again; saving again renames the one entry; "Remove"
    // takes it out everywhere.
    void keepsRunsAndSavesAndRemovesTheUsersEntry() {
        FrameBench bench;
        bench.references = sampleReferences(2);
        auto frame = bench.startedFrame();
        QVERIFY(frame != nullptr);
        runToResults(*frame);
        runToResults(*frame, 3);
        store::ResultsStore history(bench.historyPath().toStdString());
        const auto runs = history.runs();
        QCOMPARE(runs.size(), std::size_t{2});
        for (const auto& run : runs) {
            QCOMPARE(run.origin, std::string("desktop"));
            QCOMPARE(run.suite, kStandard);
            QVERIFY(history.run(run.id)->runJson.find("\"veltrane\"") != std::string::npos);
        }
        QVERIFY(!keptWithRepeat(history, runs[0].id) && keptWithRepeat(history, runs[1].id));

        frame->sendRequest(engine::WM_SHOW_GRAPHS, 0, 0);
        GraphResultsDlg& graphs = frame->graphsWindow();
        bench.dialogs.texts = {"Office-PC", "Office PC"};
        click(graphs, "saveButton");
        QCOMPARE(bench.dialogs.questions.size(), 2);
        QVERIFY(bench.dialogs.questions[0].endsWith(" MHz]"));
        QCOMPARE(bench.dialogs.questions[1],
                 bench.dialogs.questions[0].section('[', 0, 0) + "[Office-PC]");
        QVERIFY(bench.dialogs.messages.last().contains("cannot contain \"-\""));
        const QStringList shipped{"Reference system A 1000 MHz", "Reference system B 1400 MHz"};
        QCOMPARE(chartNames(graphs), shipped + QStringList{"Office PC (your own)"});

        bench.dialogs.texts = {"Lab PC"};
        click(graphs, "saveButton");
        QCOMPARE(chartNames(graphs), shipped + QStringList{"Lab PC (your own)"});
        QCOMPARE(history.userReferences().size(), std::size_t{1});
        DatabasePage& page = graphs.database();
        QCOMPARE(column(page.table(), 0), chartNames(graphs));

        // Chosen beyond the list that is about to shorten.
        graphs.chartPage(1)->referenceList(4).setCurrentIndex(2);
        auto* remove = page.findChild<QPushButton*>("removeButton");
        selectRow(page, 0);
        QVERIFY(!remove->isEnabled());
        selectRow(page, 2);
        bench.dialogs.messageAnswers = {MessageAnswer::No, MessageAnswer::Yes};
        click(page, "removeButton");
        QCOMPARE(history.userReferences().size(), std::size_t{1});
        click(page, "removeButton");
        QVERIFY(history.userReferences().empty());
        QCOMPARE(chartNames(graphs), shipped);
        QCOMPARE(column(page.table(), 0), shipped);
        QVERIFY(!remove->isEnabled());
        QCOMPARE(graphs.chartPage(1)->referenceList(4).currentIndex(), -1);
    }

    void stoppedRunIsNotKept() {
        FrameBench bench({}, {[](int) -> suites::SuiteThread { return &stopAtOnce; }});
        auto frame = bench.startedFrame();
        QVERIFY(frame != nullptr);
        runToResults(*frame);
        QVERIFY(store::ResultsStore(bench.historyPath().toStdString()).runs().empty());
        auto* save = frame->graphsWindow().findChild<QPushButton*>("saveButton");
        QVERIFY(!save->isEnabled() && save->toolTip().startsWith("A stopped run"));
    }

    void historyThatCannotKeepRunsIsSaidOnce_data() {
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<QString>("said");
        QTest::addColumn<int>("kept");
        QTest::newRow("no file can be made") << "folder"
                                             << "results history" << 0;
        QTest::newRow("damaged file") << "damaged"
                                      << "damaged" << 2;
        QTest::newRow("adding fails") << "refusing"
                                      << "was not kept" << 0;
    }

    // One box however many runs; the runs still end with their results and
    // their result file, and nothing may be saved from them.
    void historyThatCannotKeepRunsIsSaidOnce() {
        QFETCH(QString, trouble);
        QFETCH(QString, said);
        QFETCH(int, kept);
        FrameBench bench;
        const QString path = bench.historyPath();
        if (trouble == "folder") {
            QVERIFY(QDir(bench.dir.path()).mkdir("results.sqlite"));
        } else if (trouble == "damaged") {
            writeFile(path, QByteArray(4096, 'x'));
        } else {
            store::Connection connection(path.toStdString());
            store::ResultsStore made(path.toStdString());
            connection.execute(
                "CREATE TRIGGER refuse BEFORE INSERT ON runs BEGIN SELECT RAISE(ABORT, "
                "'database or disk is full'); END");
        }
        auto frame = bench.startedFrame();
        QVERIFY(frame != nullptr);
        runToResults(*frame);
        runToResults(*frame);
        QCOMPARE(bench.dialogs.messages.size(), 1);
        QVERIFY2(bench.dialogs.messages[0].contains(said), qPrintable(bench.dialogs.messages[0]));
        QVERIFY(frame->resultsWindow().isVisible());
        QVERIFY(readFile(bench.path("tempdata")).contains("CPUMarks"));
        if (trouble != "folder") {
            QCOMPARE(store::ResultsStore(path.toStdString()).runs().size(), std::size_t(kept));
        }
        auto* save = frame->graphsWindow().findChild<QPushButton*>("saveButton");
        QCOMPARE(save->isEnabled(), kept > 0);
        QCOMPARE(save->toolTip().isEmpty(), kept > 0);
    }
};

}  // namespace veltrane::shell::test

QTEST_MAIN(veltrane::shell::test::HistoryWindowTest)
#include "HistoryWindowTest.moc"
