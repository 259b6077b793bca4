// "Advanced informations": the sheet's pages show the core's rows for a
// recorded processor, and the frame opens it at the asked page.
#include "WindowTest.h"
#include "ident/CachePage.h"
#include "ident/ClockFacts.h"
#include "ident/ExtendedCpuPage.h"
#include "ident/MotherboardPage.h"
#include "ident/OsPage.h"
#include "ident/TodaysNames.h"
#include "shell/AdvancedInfoDlg.h"
#include "shell/InfoPages.h"
#include "shell/ProcessorTodayPage.h"
#include "shell/ResultChart.h"
#include "shellcore/ProcessorToday.h"

namespace veltrane::shell::test {

namespace {

using Rows = std::vector<ident::LabelledValue>;

// Every row whose field in `scope` differs from the core's: its text (empty
// when disabled) or its state; a gauge shows the row's text as its own.
QStringList mismatches(const QWidget& scope, const Rows& rows) {
    QStringList wrong;
    for (const auto& row : rows) {
        const QString label = QString::fromStdString(row.label);
        const QString want = row.enabled ? QString::fromStdString(row.value) : QString();
        QString got = QStringLiteral("<missing>");
        bool enabled = false;
        if (const auto* value = scope.findChild<QLabel*>(label)) {
            got = value->text();
            enabled = value->isEnabled();
        } else if (const auto* gauge = scope.findChild<QProgressBar*>(label)) {
            got = gauge->text();
            enabled = gauge->isEnabled();
        }
        if (got != want || enabled != row.enabled) {
            wrong << label + " " + got + (enabled ? "" : " (disabled)");
        }
    }
    return wrong;
}

QWidget& page(AdvancedInfoDlg& dialog, int index) {
    return *dialog.sheet().widget(index);
}

// Two devices: the chipset and one in the list.
std::vector<ident::PciDevice> twoDevices() {
    return {{"Host bridge", "Maker A", "Bridge", 0x1022, 0x700C, 0x11, 32, 0, 0, 0},
            {"Audio", "Maker B", "Multimedia", 0x8086, 0x24C5, 0x3, 0, 0, 31, 5}};
}

// The first `rungs` rungs of a machine with an 8 MB cache.
shellcore::LadderPlan smallLadder(std::size_t rungs, engine::LadderTiming timing) {
    const engine::LadderMachine machine{32 << 10, 256 << 10, 8 << 20, 0};
    auto all = engine::ladderRungs(machine);
    all.resize(rungs);
    return {machine, all, timing};
}

QPushButton& ladderButton(AdvancedInfoDlg& dialog) {
    return *page(dialog, 4).findChild<QPushButton*>("runLadder");
}

}  // namespace

class AdvancedInfoTest : public QObject {
    Q_OBJECT

private slots:
    void pagesShowTheCoreRowsOfRecordedProcessors_data() {
        QTest::addColumn<QString>("dump");
        QTest::addColumn<float>("clock");
        QTest::addColumn<bool>("swap");
        QTest::newRow("Athlon XP") << "athlonxp-palomino" << 1466.9f << true;
        QTest::newRow("Pentium 4") << "pentium4-northwood" << 2405.1f << false;
    }
    void pagesShowTheCoreRowsOfRecordedProcessors() {
        QFETCH(QString, dump);
        QFETCH(float, clock);
        QFETCH(bool, swap);
        auto machine = veltrane::test::machineOfDump(dump.toStdString(), clock);
        machine.pciDevices = twoDevices();
        // 25 % of the swap used, or none at all: a gauge at 0 %, not busy.
        platform::MemoryFacts memory{
            {31, 512u << 20, 100u << 20, swap ? 512u << 20 : 0, swap ? 384u << 20 : 0},
            {1, 4096, 65536, 0x10000, 0x7FFEFFFF},
            2047ull << 20,
            1023ull << 20};
        machine.memory = ident::MemoryInfo(memory);
        AdvancedInfoDlg dialog(nullptr, machine);
        const auto& id = machine.identity;

        QCOMPARE(dialog.windowTitle(), QStringLiteral("Advanced informations"));
        QCOMPARE(tabTexts(dialog.sheet()),
                 "Extended  CPU informations|Cache and TLB informations|"
                 "Motherboard, chipset and BIOS informations|OS informations|Processor today");

        const Rows cpu = ident::extendedCpuValues(
            id, {machine.definition, machine.traceCacheText, machine.clockMHz()});
        QCOMPARE(mismatches(page(dialog, 0), cpu), QStringList());
        const auto* features = page(dialog, 0).findChild<QTreeWidget*>("featureList");
        QCOMPARE(rows(*features), itemRows(ident::featureRows(id.standardFeatureFlags(),
                                                              id.extendedFeatureFlags())));
        QCOMPARE(features->headerItem()->text(1), QStringLiteral("Description"));

        const auto caches = ident::cachePage(id, machine.definition.processorName);
        QCOMPARE(page(dialog, 1).findChild<QLabel*>("heading")->text(),
                 QString::fromStdString(caches.heading));
        QCOMPARE(page(dialog, 1).findChildren<QGroupBox*>().size(), qsizetype(8));
        // The cache page's groups, then the chipset's and the motherboard's.
        const auto board = ident::motherboardPage(machine.pciDevices);
        std::vector<std::tuple<int, std::string, Rows>> groups{
            {2, board.chipsetTitle, board.chipset},
            {2, board.motherboardSpecificTitle, board.motherboardSpecific}};
        for (const auto& group : caches.groups) {
            groups.emplace_back(1, group.title, group.fields);
        }
        for (const auto& [index, title, rows] : groups) {
            const auto* box = page(dialog, index).findChild<QGroupBox*>(title.c_str());
            QVERIFY2(box != nullptr, title.c_str());
            QCOMPARE(mismatches(*box, rows), QStringList());
        }
        const auto* devices = page(dialog, 2).findChild<QTreeWidget*>("deviceList");
        QCOMPARE(rows(*devices), itemRows(board.otherDevices));
        QCOMPARE(devices->headerItem()->text(0) + devices->headerItem()->text(1),
                 QStringLiteral("ItemDescription"));
        QCOMPARE(devices->columnWidth(0), board.otherDevicesColumns[0].widthPixels);

        QCOMPARE(mismatches(page(dialog, 3), ident::osPageRows(machine.os, machine.memory)),
                 QStringList());
        const auto* pageFile = page(dialog, 3).findChild<QProgressBar*>("Page File Load:");
        QCOMPARE(pageFile->value(), swap ? 25 : 0);
        QCOMPARE(pageFile->maximum(), 100);
    }

    void processorTodayShowsTheCoreRowsAndNoLadderOfARecordedMachine() {
        const auto machine = veltrane::test::machineOfDump("zen5-virtual", 3000.0f);
        AdvancedInfoDlg dialog(nullptr, machine);
        QCOMPARE(AdvancedInfoDlg::kPageCount, 5);
        const auto today =
            shellcore::processorTodayPage(machine, ident::installedModelTable().table);
        const std::vector<std::pair<std::string, Rows>> groups{
            {ident::kTopologyHeading, today.topology},
            {ident::kCacheLevelsHeading, today.caches},
            {"Today's names", today.names},
            {ident::kClocksHeading, today.clocks},
            {today.flagsHeading, today.vectorState}};
        for (const auto& [title, rows] : groups) {
            const auto* box = page(dialog, 4).findChild<QGroupBox*>(title.c_str());
            QVERIFY2(box != nullptr, title.c_str());
            QVERIFY2(!rows.empty(), title.c_str());
            QCOMPARE(mismatches(*box, rows), QStringList());
        }
        QCOMPARE(page(dialog, 4).findChild<QLabel*>("flags")->text(),
                 QString::fromStdString(today.flags));
        QVERIFY(today.flags.find("sse2") != std::string::npos);
        QCOMPARE(today.clocks.front().value, std::string("not measured (a recorded processor)"));
        QVERIFY(!ladderButton(dialog).isEnabled());
        QCOMPARE(ladderButton(dialog).toolTip(),
                 QString::fromLatin1(shellcore::kLadderThisMachineOnly));
        QCOMPARE(page(dialog, 4).findChild<QLabel*>("ladderStatus")->text(),
                 ladderButton(dialog).toolTip());
    }

    void ladderRunsOnAWorkerAndDrawsOneBarPerRung() {
        AdvancedInfoDlg dialog(nullptr, veltrane::test::machineOfDump("zen5-virtual"));
        auto& today = *dialog.sheet().findChild<CProcessorTodayPage*>();
        today.setLadderPlan(smallLadder(2, {0.002, 2}));
        dialog.showPage(4);
        QSignalSpy finished(&today, &CProcessorTodayPage::ladderFinished);
        QTest::mouseClick(&ladderButton(dialog), Qt::LeftButton);
        QVERIFY(!ladderButton(dialog).isEnabled());
        QVERIFY(finished.wait(20000));
        QVERIFY(ladderButton(dialog).isEnabled());
        const auto& chart = *today.findChild<ResultChart*>("ladderChart");
        const auto bars = reports::chartBars(chart.data(), chart.geometry());
        QCOMPARE(bars.size(), std::size_t{2});
        for (const auto& bar : bars) {
            QVERIFY(bar.rect.width > 0);
            QVERIFY2(bar.label.text.find(" MB/s") != std::string::npos, bar.label.text.c_str());
        }
        QCOMPARE(today.findChild<QLabel*>("ladderStatus")->text(),
                 QStringLiteral("2 rungs measured"));
        QVERIFY(today.findChild<QLabel*>("ladderNotes")->text().contains("test 7"));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    // Closing the window stops a long ladder between batches; a window
    // destroyed while one runs waits for it safely.
    void closingTheWindowStopsTheLadder() {
        const engine::LadderTiming slow{0.05, 400};
        {
            AdvancedInfoDlg dialog(nullptr, veltrane::test::machineOfDump("zen5-virtual"));
            auto& today = *dialog.sheet().findChild<CProcessorTodayPage*>();
            today.setLadderPlan(smallLadder(3, slow));
            dialog.showPage(4);
            QSignalSpy finished(&today, &CProcessorTodayPage::ladderFinished);
            QTest::mouseClick(&ladderButton(dialog), Qt::LeftButton);
            dialog.close();
            QVERIFY(finished.wait(10000));
            QVERIFY(today.findChild<QLabel*>("ladderStatus")->text().startsWith("Stopped after"));
        }
        auto dialog = std::make_unique<AdvancedInfoDlg>(
            nullptr, veltrane::test::machineOfDump("zen5-virtual"));
        dialog->sheet().findChild<CProcessorTodayPage*>()->setLadderPlan(smallLadder(3, slow));
        QTest::mouseClick(&ladderButton(*dialog), Qt::LeftButton);
        QElapsedTimer timer;
        timer.start();
        dialog.reset();
        QVERIFY(timer.elapsed() < 5000);
    }

    void anotherVendorsCachePageIsDisabled() {
        const auto cpu = veltrane::test::FakeCpu().vendor("CentaurHauls").signature(0x673);
        auto machine = veltrane::test::machineOf(
            std::make_shared<platform::RecordedCpuProbe>(cpu.probe()), 0.0f, false);
        AdvancedInfoDlg dialog(nullptr, machine);
        int fields = 0;
        for (const auto* box : page(dialog, 1).findChildren<QGroupBox*>()) {
            QVERIFY2(!box->isEnabled(), qPrintable(box->title()));
            for (const auto* value : box->findChildren<QLabel*>()) {
                QVERIFY(value->objectName().isEmpty() || value->text().isEmpty());
                fields += value->objectName().isEmpty() ? 0 : 1;
            }
        }
        QCOMPARE(fields, 32);
    }

    // Through the frame: the page asked for, the clock as it reads now.
    void showSysinfoOpensThePageWithTheClockReadAgain() {
        FrameBench bench;
        auto frame = bench.startedFrame();
        QVERIFY(frame != nullptr);
        bench.clock.publish(1733.3f, "");
        frame->handleRequest(engine::WM_SHOW_SYSINFO, 2, 0);
        auto* dialog = frame->findChild<AdvancedInfoDlg*>();
        QVERIFY(dialog != nullptr && dialog->isVisible());
        QCOMPARE(dialog->currentPage(), 2);
        const auto& machine = frame->machineFacts();
        const Rows cpu = ident::extendedCpuValues(
            machine.identity, {machine.definition, machine.traceCacheText, 1733.3f});
        QCOMPARE(mismatches(page(*dialog, 0), cpu), QStringList());
        QCOMPARE(page(*dialog, 0).findChild<QLabel*>("Frequency:")->text(),
                 QStringLiteral("1733.3 MHz"));
        frame->handleRequest(engine::WM_SHOW_SYSINFO, 5, 0);
        QCOMPARE(dialog->currentPage(), 2);
        frame->handleRequest(engine::WM_SHOW_SYSINFO, 4, 0);
        QCOMPARE(dialog->currentPage(), 4);
    }
};

}  // namespace veltrane::shell::test

QTEST_MAIN(veltrane::shell::test::AdvancedInfoTest)
#include "AdvancedInfoTest.moc"
