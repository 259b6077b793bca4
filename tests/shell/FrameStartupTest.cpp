// Start-up: creation, the first tick, the first-run notes and the chooser; a
// missing reference file ends the program.
#include <QDir>
#include <QFile>
#include <QPushButton>

#include "FrameTestSupport.h"
#include "RecordingFrame.h"
#include "shell/ChooserDlg.h"
#include "shell/LockKeys.h"
#include "shell/PlaceholderDlg.h"
#include "shell/ProgressDlg.h"
#include "shell/ResultsDlg.h"
#include "shell/SmpProgressDlg.h"
#include "shell/SplashWindow.h"

namespace veltrane::shell::test {

class FrameStartupTest : public QObject {
    Q_OBJECT

private slots:
    void startsInOrder_data();
    void startsInOrder();
    void missingReferenceFileEndsTheProgram();
    void chooserButtonsDoTheirActionAndClose_data();
    void chooserButtonsDoTheirActionAndClose();
    void perUserMarkerShowsNotesOncePerUser();
    void lockKeysReadTheirLights();
};

void FrameStartupTest::startsInOrder_data() {
    QTest::addColumn<bool>("marker");
    QTest::addColumn<QStringList>("modals");
    QTest::newRow("FirstRun") << true << QStringList{"Important notes", "Choose a benchmark"};
    QTest::newRow("no FirstRun") << false << QStringList{"Choose a benchmark"};
}

void FrameStartupTest::startsInOrder() {
    QFETCH(bool, marker);
    QFETCH(QStringList, modals);
    FrameBench bench;
    if (marker) {
        writeFile(bench.path("FirstRun"));
    }
    writeFile(bench.path("tempdata"), "an old score");
    int ticks = 0;
    bench.dialogs.modalAnswers["Choose a benchmark"] = [&](QDialog&) {
        QTest::qWait(200);  // the chooser may stay open long; the timer must not come back
        ++ticks;
        return int(QDialog::Rejected);
    };
    auto frame = bench.createFrame();
    QVERIFY(frame != nullptr);
    // Created: the splash is up, "tempdata" replaced, the tick still to come.
    QVERIFY(frame->splashWindow() != nullptr && frame->splashWindow()->isVisible());
    QCOMPARE(readFile(bench.path("tempdata")), QByteArray("Bench not run yet"));
    for (QWidget* window : std::initializer_list<QWidget*>{
             &frame->progressWindow(), &frame->smpProgressWindow(), &frame->resultsWindow()}) {
        QVERIFY(!window->isVisible());
    }
    QVERIFY(frame->placeholder("AdvancedInfoDlg") == nullptr);
    QVERIFY(!frame->startupDone() && bench.dialogs.modalTitles.isEmpty());

    QTRY_VERIFY(frame->startupDone());
    QCOMPARE(bench.dialogs.modalTitles, modals);
    QCOMPARE(ticks, 1);
    QVERIFY(frame->splashWindow() == nullptr);
    QVERIFY(!QFile::exists(bench.path("FirstRun")));
    PlaceholderDlg* info = frame->placeholder("AdvancedInfoDlg");
    QVERIFY(info != nullptr && !info->isVisible());
    QCOMPARE(info->windowTitle(), "Advanced informations");
    QCOMPARE(info->pageCount(), 4);
    QVERIFY(bench.dialogs.messages.empty());
}

void FrameStartupTest::missingReferenceFileEndsTheProgram() {
    FrameBench bench;
    FrameEnvironment environment = bench.environment();
    environment.referenceFiles = [](const std::string& name) {
        return name == "database4.dat" ? std::nullopt : std::optional<std::string>("");
    };
    CMainFrame frame(environment);
    QVERIFY(!frame.create());
    QCOMPARE(frame.exitStatus(), -1);
    QCOMPARE(bench.dialogs.messages.size(), std::size_t{1});
    const ShownMessage& shown = bench.dialogs.messages[0];
    QCOMPARE(shown.text, "Critical error: cannot find file database.dat");
    QCOMPARE(shown.title, "Veltrane error");
    QCOMPARE(shown.icon, MessageIcon::Stop);
    QVERIFY(!QFile::exists(bench.path("tempdata")));
    QTest::qWait(100);
    QVERIFY(bench.dialogs.modalTitles.isEmpty());
}

void FrameStartupTest::chooserButtonsDoTheirActionAndClose_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("log");
    QTest::newRow("custom") << "Run custom Benchmark..."
                            << QStringList{"post command 57600", "post command 57650"};
    QTest::newRow("default") << "Run Default Benchmark..." << QStringList{"post 1030 3 255"};
    QTest::newRow("system info") << "Advanced System info..." << QStringList{"send 1046 0 0"};
    QTest::newRow("burn in") << "Burn In Mode..." << QStringList{"send 1042 0 0"};
    QTest::newRow("close") << "Close" << QStringList();
}

void FrameStartupTest::chooserButtonsDoTheirActionAndClose() {
    QFETCH(QString, button);
    QFETCH(QStringList, log);
    RecordingFrame frame;
    ChooserDlg chooser(nullptr, frame);
    QCOMPARE(chooser.windowTitle(), "Choose a benchmark");
    QVERIFY(!chooser.button("Batch Run...")->isEnabled());
    chooser.show();
    QVERIFY(chooser.button(button) != nullptr);
    chooser.button(button)->click();
    QStringList seen;
    for (const std::string& line : frame.log) {
        seen.append(QString::fromStdString(line));
    }
    QCOMPARE(seen, log);
    QVERIFY(!chooser.isVisible());
}

void FrameStartupTest::perUserMarkerShowsNotesOncePerUser() {
    QTemporaryDir home;
    const auto state = std::filesystem::path(home.path().toStdString()) / "state" / "veltrane";
    const FirstRunMarker marker = FirstRunMarker::perUser(state);
    QVERIFY(marker.consume());   // this user's first start
    QVERIFY(!marker.consume());  // and never again
    writeFile(QString::fromStdString((state / "FirstRun").string()));
    QVERIFY(marker.consume());  // unless the marker is put back
    QVERIFY(!FirstRunMarker().consume());
}

void FrameStartupTest::lockKeysReadTheirLights() {
    QTemporaryDir leds;
    QDir folder(leds.path());
    for (const char* led : {"input3::capslock", "input3::numlock", "input5::scrolllock"}) {
        QVERIFY(folder.mkdir(led));
    }
    writeFile(folder.filePath("input3::capslock/brightness"), "1\n");
    writeFile(folder.filePath("input3::numlock/brightness"), "0\n");
    const LockKeys keys = readLockKeys(leds.path().toStdString());
    QVERIFY(keys.caps && !keys.num && !keys.scroll);  // scroll: no brightness to read
    const LockKeys none = readLockKeys(folder.filePath("absent").toStdString());
    QVERIFY(!none.caps && !none.num && !none.scroll);
}

}  // namespace veltrane::shell::test

QTEST_MAIN(veltrane::shell::test::FrameStartupTest)
#include "FrameStartupTest.moc"
