// The loop windows through a real frame and the real loop thread, with the
// small unit and no pauses: what "Start!" accepts, what the progress window
// logs and counts, and how a loop ends.
#include <chrono>
#include <thread>

#include "WindowTest.h"
#include "shell/LoopConfigDlg.h"
#include "shell/LoopProgressDlg.h"
#include "shellcore/CommandTable.h"

namespace veltrane::shell::test {

namespace {

using burnin::LoopMode;

QString labelText(const QWidget& window, const char* name) {
    return window.findChild<QLabel*>(name)->text();
}

// The log as the window shows it.
QStringList shownLog(const LoopProgressDlg& progress) {
    return column(*progress.logList(), 0);
}

// The rows of `units` units that all passed their check, from cycle 1.
QStringList passedUnits(int units) {
    QStringList rows;
    for (int unit = 0; unit < units; ++unit) {
        if (unit % 10 == 0) {
            rows << QStringLiteral("Loop Cycle %1 started").arg(unit / 10 + 1) << "";
        }
        rows << "Thread start on 3/7/2024 at 10.0.0..."
             << ""
             << "Thread end on 3/7/2024 at 10.0.0 without errors"
             << "";
    }
    return rows;
}

// A frame with its configurator shown in `mode`, the repeat field set.
struct LoopBench {
    FrameBench bench;
    std::unique_ptr<CMainFrame> frame = bench.startedFrame();
    LoopConfigDlg& config = frame->loopConfigurator();
    LoopProgressDlg& progress = config.progressWindow();

    void show(LoopMode mode, const QString& repeat = "1", int slider = 1) {
        frame->sendRequest(engine::WM_SHOW_LOOP_CONFIG);
        config.modeRadio(mode)->click();
        config.repeatField()->setText(repeat);
        config.slider()->setValue(slider);
    }
    bool start() {
        config.startButton()->click();
        return progress.isVisible();
    }
    // Until the loop thread has ended and its queued notices are shown.
    bool waitForEnd() {
        const bool ended = QTest::qWaitFor([this] { return !progress.looping(); }, 20000);
        QTest::qWait(20);
        QCoreApplication::processEvents();
        return ended;
    }
    bool runToEnd() { return start() && waitForEnd(); }
    // A continuous loop's units take a millisecond, so the window keeps up.
    void slowUnits() {
        bench.loopHook = [](std::int64_t, burnin::LoopMatrices&) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        };
    }
};

}  // namespace

class LoopWindowTest : public QObject {
    Q_OBJECT

private slots:
    void configuratorEnablesTheFieldsOfItsMode() {
        LoopBench loop;
        QVERIFY(loop.frame != nullptr);
        loop.frame->sendRequest(engine::WM_SHOW_LOOP_CONFIG);
        LoopConfigDlg& config = loop.config;
        QVERIFY(config.isVisible());
        QCOMPARE(config.windowTitle(), "Looping");
        QCOMPARE(config.slider()->value(), 2);
        QVERIFY(config.modeRadio(LoopMode::Continuous)->isChecked());
        for (const QCheckBox* box : config.findChildren<QCheckBox*>()) {
            QVERIFY2(!box->isEnabled(), qPrintable(box->text()));
        }
        const QLabel* times = nullptr;
        for (const QLabel* label : config.findChildren<QLabel*>()) {
            times = label->text() == "times" ? label : times;
        }
        // Repeat field and "times", hour, minute: enabled by mode.
        const std::pair<LoopMode, std::array<bool, 3>> modes[] = {
            {LoopMode::Repeat, {true, false, false}},
            {LoopMode::StopAtTime, {false, true, true}},
            {LoopMode::Continuous, {false, false, false}}};
        for (const auto& [mode, enabled] : modes) {
            config.modeRadio(mode)->click();
            QCOMPARE(config.entry().mode, mode);
            QCOMPARE(config.repeatField()->isEnabled(), enabled[0]);
            QCOMPARE(times->isEnabled(), enabled[0]);
            QCOMPARE(config.hourField()->isEnabled(), enabled[1]);
            QCOMPARE(config.minuteField()->isEnabled(), enabled[2]);
        }
        config.findChild<QPushButton*>("cancelButton")->click();
        QVERIFY(!config.isVisible());
    }

    void refusedStartsSayWhyAndGoBackToContinuous_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("repeat");
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QString>("minute");
        QTest::addColumn<QString>("message");
        const QString badTime =
            "Veltrane Error: Error: The time format is incorrect or is less "
            "than the current time";
        const std::tuple<const char*, LoopMode, const char*, const char*, const char*, QString>
            rows[] = {{"negative repeat", LoopMode::Repeat, "-3", "", "",
                       "Veltrane error: Invalid value"},
                      {"hour 25", LoopMode::StopAtTime, "", "25", "0", badTime},
                      {"minute 60", LoopMode::StopAtTime, "", "11", "60", badTime},
                      {"an hour ago", LoopMode::StopAtTime, "", "9", "59", badTime}};
        for (const auto& [name, mode, repeat, hour, minute, message] : rows) {
            QTest::newRow(name) << int(mode) << QString(repeat) << QString(hour) << QString(minute)
                                << message;
        }
    }
    void refusedStartsSayWhyAndGoBackToContinuous() {
        QFETCH(int, mode);
        QFETCH(QString, repeat);
        QFETCH(QString, hour);
        QFETCH(QString, minute);
        QFETCH(QString, message);
        LoopBench loop;
        loop.show(LoopMode(mode), repeat);
        loop.config.hourField()->setText(hour);
        loop.config.minuteField()->setText(minute);
        QVERIFY(!loop.start());
        QCOMPARE(loop.bench.dialogs.messages, QStringList{message});
        QCOMPARE(loop.bench.dialogs.kinds.front().first, MessageIcon::Error);
        QVERIFY(loop.config.isVisible());
        QVERIFY(loop.config.modeRadio(LoopMode::Continuous)->isChecked());
        QVERIFY(!loop.config.repeatField()->isEnabled() && !loop.config.hourField()->isEnabled());
        QVERIFY(!loop.progress.looping());
    }

    void repeatLoopRunsTenUnitsACycleAndOffersToClose() {
        LoopBench loop;
        loop.show(LoopMode::Repeat, "2");
        QVERIFY(loop.start());
        QVERIFY(!loop.config.isVisible());
        QVERIFY(loop.waitForEnd());
        LoopProgressDlg& progress = loop.progress;
        QCOMPARE(progress.windowTitle(), "Looping in progress");
        const std::pair<const char*, QString> texts[] = {{"runMode", "Running 2 Cycles"},
                                                         {"priority", "Normal priority"},
                                                         {"startingAt", "3/7/2024 at 10.0"},
                                                         {"stopAt", "After 2 Cycles"},
                                                         {"failedUnits", "0"}};
        for (const auto& [name, text] : texts) {
            QCOMPARE(labelText(progress, name), text);
        }
        QCOMPARE(shownLog(progress), passedUnits(20));
        QCOMPARE(progress.findChild<QProgressBar*>("overallBar")->value(), 10);
        QCOMPARE(progress.findChild<QProgressBar*>("currentBar")->value(), 10);
        QCOMPARE(progress.button()->text(), "Close this window");
        progress.button()->click();
        QVERIFY(!progress.isVisible());
    }

    void stopTimeReachedEndsTheLoopByItself() {
        LoopBench loop;
        loop.show(LoopMode::StopAtTime);
        loop.config.hourField()->setText("10");
        loop.config.minuteField()->setText("0");
        QVERIFY(loop.runToEnd());
        QCOMPARE(labelText(loop.progress, "runMode"), "Time - stop mode");
        QCOMPARE(labelText(loop.progress, "stopAt"), "10.0");
        QCOMPARE(shownLog(loop.progress), passedUnits(1));
        QCOMPARE(loop.progress.button()->text(), "Close this window");
    }

    void stoppedLoopEndsAfterItsUnitAndTheNextStartsAfresh() {
        LoopBench loop;
        loop.slowUnits();
        loop.show(LoopMode::Continuous);
        QVERIFY(loop.start());
        QCOMPARE(loop.progress.button()->text(), "Stop Looping Now!!!");
        QVERIFY(QTest::qWaitFor([&] { return loop.progress.log().unitsStarted() > 12; }));
        // A second loop is refused while this one runs.
        loop.frame->sendRequest(engine::WM_SHOW_LOOP_CONFIG);
        loop.config.startButton()->click();
        // So is a benchmark: it would share the processors with the loop.
        loop.frame->handleCommand(cmd::BenchStandard);
        QVERIFY(!loop.frame->runInProgress());
        QCOMPARE(loop.bench.dialogs.messages,
                 (QStringList{QString("Veltrane Warning: ") + burnin::kLoopBusyText,
                              QString("Veltrane Warning: ") + engine::kRunInProgressWarning}));
        loop.config.hide();
        loop.progress.button()->click();
        QVERIFY(!loop.progress.isVisible());
        QVERIFY(loop.waitForEnd());
        // Stopped, not finished: the button never offered to close.
        QCOMPARE(loop.progress.log().caption(), "Stop Looping Now!!!");
        loop.show(LoopMode::Repeat, "1");
        QVERIFY(loop.runToEnd());
        QCOMPARE(shownLog(loop.progress), passedUnits(10));
    }

    void damagedUnitIsLoggedAsFailedAndCounted() {
        LoopBench loop;
        loop.bench.loopHook = [](std::int64_t unit, burnin::LoopMatrices& m) {
            if (unit == 3) {
                m.result[7][7] ^= 1;
            }
        };
        loop.show(LoopMode::Repeat, "1");
        QVERIFY(loop.runToEnd());
        QStringList expected = passedUnits(10);
        // The fourth unit's end row: after the cycle row and three units.
        expected[2 + 3 * 4 + 2] =
            "Thread end on 3/7/2024 at 10.0.0 FAILED: wrong result (1 failed unit in this loop)";
        QCOMPARE(shownLog(loop.progress), expected);
        QCOMPARE(labelText(loop.progress, "failedUnits"), "1");
    }

    void priorityShownIsTheOneGranted_data() {
        QTest::addColumn<int>("slider");
        QTest::addColumn<bool>("granted");
        QTest::addColumn<QString>("shown");
        QTest::newRow("low") << 0 << false << "Very Low priority";
        QTest::newRow("high, granted") << 2 << true << "Time Critical priority";
        QTest::newRow("high, refused") << 2 << false << "Normal priority";
    }
    void priorityShownIsTheOneGranted() {
        QFETCH(int, slider);
        QFETCH(bool, granted);
        QFETCH(QString, shown);
        LoopBench loop;
        loop.bench.loopGrant =
            granted ? platform::PriorityGrant::Granted : platform::PriorityGrant::Refused;
        loop.show(LoopMode::Repeat, "0", slider);
        QVERIFY(loop.start());
        QCOMPARE(labelText(loop.progress, "priority"), shown);
        // A count of 0 runs no unit and ends at once.
        QVERIFY(loop.waitForEnd());
        QCOMPARE(shownLog(loop.progress), QStringList());
        QCOMPARE(loop.progress.button()->text(), "Close this window");
    }

    void closingTheFrameStopsTheLoop() {
        LoopBench loop;
        loop.slowUnits();
        loop.show(LoopMode::Continuous);
        QVERIFY(loop.start());
        QVERIFY(loop.frame->close());
        QVERIFY(!loop.progress.isVisible());
        QVERIFY(loop.waitForEnd());
    }
};

}  // namespace veltrane::shell::test

QTEST_MAIN(veltrane::shell::test::LoopWindowTest)
#include "LoopWindowTest.moc"
