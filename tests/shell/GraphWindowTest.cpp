// The graph window, its pages and details, "System Details" and the graph
// configurator, over made-up reference systems.
#include "WindowTest.h"
#include "engine/DetailsRows.h"
#include "shell/ChartPage.h"
#include "shell/DatabasePage.h"
#include "shell/GraphConfigDlg.h"
#include "shell/GraphResultsDlg.h"
#include "shell/ResultChart.h"
#include "shell/SystemDetailsDlg.h"

namespace veltrane::shell::test {

namespace {

// Three systems in every list: the fourth group of every chart stays empty.
engine::ReferenceDatabase threeSystems() {
    const std::string text = sampleReferences(3);
    auto load = engine::loadReferenceDatabase(
        [&text](const std::string&) { return std::optional<std::string>(text); });
    return load.database;
}

// Tests 2 and 4 of the standard suite: no overall score.
engine::BenchResult customRun() {
    engine::BenchResult result;
    result.suite = engine::SuiteStandard;
    result.fullRun = 0;
    result.floatResult = 1001.9f;
    result.doubleResult = 2000.5f;
    result.mipsResult = 4321.7f;
    return result;
}

QString barLabels(const ResultChart& chart) {
    QStringList labels;
    const auto& data = chart.data();
    for (const auto& entry : data.entries) {
        labels << (entry.shown ? QString::number(entry.value) : QStringLiteral("-"));
    }
    return labels.join(' ');
}

}  // namespace

class GraphWindowTest : public QObject {
    Q_OBJECT

private slots:
    // The window opens collapsed on the page asked, with the result's rows;
    // "Show Details >>" widens and narrows it, and "Bench details.." opens it wide.
    void showsTheResultCollapsedAndTogglesItsDetails() {
        GraphResultsDlg window(nullptr, frame_, references_);
        window.showResult(customRun(), 2);
        QVERIFY(window.isVisible() && !window.detailsShown());
        QCOMPARE(window.width(), GraphResultsDlg::kCollapsedWidth);
        QCOMPARE(window.currentPage(), 2);
        QCOMPARE(tabTexts(window.sheet()),
                 "Overall results|ALU/FPU results|FPU Single/Double Precision Results|"
                 "RAM - ALU/FPU Results|Database|MIPS/MFLOPS Result");
        QCOMPARE(rows(window.details()), itemRows(engine::benchmarkDetailsRows(customRun())));
        QCOMPARE(window.details().topLevelItemCount(), 53);
        click(window, QStringLiteral("detailsButton"));
        QVERIFY(window.detailsShown() && window.details().isVisible());
        QCOMPARE(window.width(), GraphResultsDlg::kExpandedWidth);
        click(window, QStringLiteral("detailsButton"));
        QCOMPARE(window.width(), GraphResultsDlg::kCollapsedWidth);
        window.showResult(customRun(), 0, true);
        QCOMPARE(window.width(), GraphResultsDlg::kExpandedWidth);
        window.showResult(customRun(), 0);  // every show starts collapsed
        QCOMPARE(window.width(), GraphResultsDlg::kCollapsedWidth);
        click(window, QStringLiteral("reportButton"));
        QVERIFY(!window.findChild<QPushButton*>(QStringLiteral("saveButton"))->isEnabled());
        QCOMPARE(logLines(frame_.log).last(),
                 QStringLiteral("send %1 0 0").arg(engine::WM_SHOW_REPORT_WIZARD));
    }

    // A custom run has no overall score but its own figures elsewhere; a list
    // of three systems leaves the fourth group empty and undrawn. Changing
    // list 2 changes group 2 alone; the buttons ask the frame for the entry's
    // details and the configurator of this chart.
    void chartsShowYourSystemThenTheChosenReferences() {
        GraphResultsDlg window(nullptr, frame_, references_);
        window.showResult(customRun(), 3);
        const std::pair<int, const char*> charts[] = {
            {1, "0 900 1800 2700 -"},
            {2, "0 1501 800 700 1600 1400 2400 2100 - -"},
            {4, "1001 2000 650 750 1300 1500 1950 2250 - -"},
            {5, "4321 0 1500 600 3000 1200 4500 1800 - -"},
        };
        for (const auto& [number, labels] : charts) {
            QCOMPARE(barLabels(*window.chart(number)), QString::fromLatin1(labels));
        }
        QCOMPARE(window.chart(1)->data().entries[0].label, "N/A");
        QCOMPARE(window.chart(3)->data().caption, "Your System:   ");
        ChartPage& overall = *window.chartPage(1);
        QCOMPARE(overall.referenceList(4).currentIndex(), -1);
        QCOMPARE(overall.referenceList(1).currentText(), "Reference system A 1000 MHz");
        QCOMPARE(window.chartPage(3)->referenceList(1).currentText(), "Chipset A");
        QCOMPARE(overall.pictureName(1), "AMD_Zen");
        QCOMPARE(window.database().table().topLevelItemCount(), 3);

        ChartPage& page = *window.chartPage(4);
        page.referenceList(2).setCurrentIndex(0);
        QCOMPARE(barLabels(page.chart()), "1001 2000 650 750 650 750 1950 2250 - -");
        QCOMPARE(page.pictureName(2), "AMD_Zen");
        frame_.log.clear();
        click(page, QStringLiteral("detailsButton2"));
        click(page, QStringLiteral("setupButton"));
        click(page, QStringLiteral("advancedButton"));
        QCOMPARE(logLines(frame_.log),
                 QStringList({QStringLiteral("send %1 0 3").arg(engine::WM_SHOW_REFERENCE),
                              QStringLiteral("send %1 4 0").arg(engine::WM_CONFIGURE_GRAPH),
                              QStringLiteral("send %1 0 0").arg(engine::WM_SHOW_SYSINFO)}));
        page.comparisonList().setCurrentIndex(engine::SuiteSMP);
        QCOMPARE(page.referenceList(2).currentIndex(), 1);
        window.database().comparisonList().setCurrentIndex(engine::SuiteSSE);
        QCOMPARE(window.database().table().topLevelItemCount(), 3);
    }

    // "System Details" lists an entry's values when a page asks the frame for
    // it; an entry that is not there shows nothing.
    void systemDetailsShowsOneEntry() {
        FrameBench bench;
        bench.references = sampleReferences(3);
        auto frame = bench.startedFrame();
        QVERIFY(frame != nullptr);
        frame->handleRequest(engine::WM_SHOW_REFERENCE, 3, engine::SuiteStandard);
        SystemDetailsDlg& details = frame->graphsWindow().systemDetails();
        QVERIFY(!details.isVisible());
        frame->handleRequest(engine::WM_SHOW_REFERENCE, 1, engine::SuiteStandard);
        QVERIFY(details.isVisible());
        QCOMPARE(details.list().topLevelItemCount(), 16);
        QCOMPARE(column(details.list(), 1).mid(0, 8).join('|'),
                 "Reference system B 1400 MHz|64 KB|64 KB|512 KB|Chipset B|200 MHz|Some OS|"
                 "1800 CPUMarks");
        QCOMPARE(column(details.list(), 1).mid(12).join('|'),
                 "2201 MB/s|2000 MB/s|3000 MIPS|1200 MFLOPS");
    }

    // Cancel leaves the chart as it was; Apply asks for each repaint once,
    // and a second Apply for nothing.
    void configuratorAppliesPendingValuesOnly() {
        GraphResultsDlg window(nullptr, frame_, references_);
        window.showResult(customRun(), 0);
        ResultChart& chart = *window.chart(2);
        RecordingDialogs dialogs;
        GraphConfigDlg config(nullptr, frame_);
        config.open(chart);
        const auto before = chart.look();
        dialogs.colors = {QColor(0x10, 0x20, 0x30)};
        click(config, QStringLiteral("backColorButton"));
        QCOMPARE(config.pending().backColor, reports::packedColor(0x10, 0x20, 0x30));
        click(config, QStringLiteral("cancelButton"));
        QVERIFY(!config.isVisible());
        QVERIFY(chart.look().backColor == before.backColor);
        config.open(chart);
        QCOMPARE(config.pending().backColor, before.backColor);
        dialogs.colors = {QColor(0x10, 0x20, 0x30)};
        click(config, QStringLiteral("backColorButton"));
        config.findChild<QComboBox*>(QStringLiteral("fillModeList"))->setCurrentIndex(2);
        frame_.log.clear();
        click(config, QStringLiteral("applyButton"));
        QCOMPARE(chart.data().backColor, reports::packedColor(0x10, 0x20, 0x30));
        QVERIFY(chart.data().fillMode == reports::FillMode::vertical);
        QCOMPARE(logLines(frame_.log),
                 QStringList{QStringLiteral("send %1 2 0").arg(engine::WM_REPAINT_GRAPH)});
        frame_.log.clear();
        click(config, QStringLiteral("okButton"));
        QVERIFY(frame_.log.empty() && !config.isVisible());
        for (const char* disabled : {"titleFontButton", "barColorButton"}) {
            QVERIFY(!config.findChild<QPushButton*>(QString::fromLatin1(disabled))->isEnabled());
        }
    }

private:
    RecordingFrame frame_;
    engine::ReferenceDatabase references_ = threeSystems();
};

}  // namespace veltrane::shell::test

QTEST_MAIN(veltrane::shell::test::GraphWindowTest)
#include "GraphWindowTest.moc"
