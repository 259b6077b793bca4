// Start-up: construction, creation, the first tick, the first-run notes and
// the chooser; a missing reference file ends the program.
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "FrameTestSupport.h"
#include "engine/Messages.h"
#include "shell/ChooserDlg.h"
#include "shell/FrameRequests.h"
#include "shell/LockKeys.h"
#include "shell/PlaceholderDlg.h"
#include "shell/ProgressDlg.h"
#include "shell/ResultsDlg.h"
#include "shell/SmpProgressDlg.h"
#include "shell/SplashWindow.h"

namespace veltrane::shell::test {

namespace {

// Records what the chooser asks of the frame.
class FakeFrame final : public FrameRequests {
public:
    QStringList calls;
    void sendRequest(int request, std::intptr_t wParam, std::intptr_t lParam) override {
        calls.append(QStringLiteral("send %1 %2 %3").arg(request).arg(wParam).arg(lParam));
    }
    void postRequest(int request, std::intptr_t wParam, std::intptr_t lParam) override {
        calls.append(QStringLiteral("post %1 %2 %3").arg(request).arg(wParam).arg(lParam));
    }
    void sendCommand(int command) override { calls.append(QStringLiteral("send %1").arg(command)); }
    void postCommand(int command) override { calls.append(QStringLiteral("post %1").arg(command)); }
    int processorCount() const override { return 1; }
};

void touch(const QString& path, const QByteArray& content = {}) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

}  // namespace

class FrameStartupTest : public QObject {
    Q_OBJECT

private slots:
    void startsInOrderAndShowsNotesOnce();
    void startsWithoutNotesWhenNoMarker();
    void missingReferenceFileEndsTheProgram();
    void chooserButtonsDoTheirActionAndClose_data();
    void chooserButtonsDoTheirActionAndClose();
    void perUserMarkerShowsNotesOncePerUser();
    void lockKeysReadTheirLights();
};

void FrameStartupTest::startsInOrderAndShowsNotesOnce() {
    FrameBench bench;
    touch(bench.path(QStringLiteral("FirstRun")));
    touch(bench.path(QStringLiteral("tempdata")), "an old score");
    int ticksSeen = 0;
    bench.dialogs.modalAnswers[QStringLiteral("Choose a benchmark")] = [&](QDialog&) {
        // The chooser may stay open for long; the timer must not come back.
        QTest::qWait(200);
        ++ticksSeen;
        return int(QDialog::Rejected);
    };

    auto frame = bench.createFrame();
    QVERIFY(frame != nullptr);
    // After creation: the long-lived windows exist hidden, the splash is up,
    // "tempdata" is replaced, the tick has not come yet.
    QVERIFY(!frame->startupDone());
    QVERIFY(frame->splashWindow() != nullptr && frame->splashWindow()->isVisible());
    QCOMPARE(bench.readFile(QStringLiteral("tempdata")), QByteArray("Bench not run yet"));
    for (QWidget* window : {static_cast<QWidget*>(&frame->progressWindow()),
                            static_cast<QWidget*>(&frame->smpProgressWindow()),
                            static_cast<QWidget*>(&frame->resultsWindow()),
                            static_cast<QWidget*>(&frame->chooser())}) {
        QVERIFY(!window->isVisible());
    }
    const QStringList placeholders{QStringLiteral("GraphResultsDlg"),
                                   QStringLiteral("ReportWizardDlg"), QStringLiteral("LoopDlg"),
                                   QStringLiteral("GraphConfigDlg"),
                                   QStringLiteral("SystemDetailsDlg")};
    for (const QString& name : placeholders) {
        QVERIFY2(frame->placeholder(name) != nullptr && !frame->placeholder(name)->isVisible(),
                 qPrintable(name));
    }
    QVERIFY(frame->placeholder(QStringLiteral("AdvancedInfoDlg")) == nullptr);
    QVERIFY(bench.dialogs.modalTitles.isEmpty());

    QTRY_VERIFY(frame->startupDone());
    QCOMPARE(bench.dialogs.modalTitles, QStringList({QStringLiteral("Important notes"),
                                                     QStringLiteral("Choose a benchmark")}));
    QCOMPARE(ticksSeen, 1);
    QVERIFY(frame->splashWindow() == nullptr);
    QVERIFY(!QFile::exists(bench.path(QStringLiteral("FirstRun"))));
    PlaceholderDlg* info = frame->placeholder(QStringLiteral("AdvancedInfoDlg"));
    QVERIFY(info != nullptr && !info->isVisible());
    QCOMPARE(info->windowTitle(), QStringLiteral("Advanced informations"));
    QCOMPARE(info->pageCount(), 4);
    QVERIFY(bench.dialogs.messages.empty());
}

void FrameStartupTest::startsWithoutNotesWhenNoMarker() {
    FrameBench bench;
    auto frame = bench.startedFrame();
    QVERIFY(frame != nullptr);
    QCOMPARE(bench.dialogs.modalTitles, QStringList{QStringLiteral("Choose a benchmark")});
}

void FrameStartupTest::missingReferenceFileEndsTheProgram() {
    FrameBench bench;
    FrameEnvironment environment = bench.environment();
    environment.referenceFiles = [](const std::string& name) -> std::optional<std::string> {
        if (name == "database4.dat") {
            return std::nullopt;
        }
        return std::string();
    };
    CMainFrame frame(environment);
    QVERIFY(!frame.create());
    QCOMPARE(frame.exitStatus(), -1);
    QCOMPARE(bench.dialogs.messages.size(), std::size_t{1});
    QCOMPARE(bench.dialogs.messages[0].text,
             QStringLiteral("Critical error: cannot find file database.dat"));
    QCOMPARE(bench.dialogs.messages[0].title, QStringLiteral("Veltrane error"));
    QCOMPARE(bench.dialogs.messages[0].icon, MessageIcon::Stop);
    QVERIFY(!QFile::exists(bench.path(QStringLiteral("tempdata"))));
    QTest::qWait(100);
    QVERIFY(bench.dialogs.modalTitles.isEmpty());
}

void FrameStartupTest::chooserButtonsDoTheirActionAndClose_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("custom") << QStringLiteral("Run custom Benchmark...")
                            << QStringList{QStringLiteral("post 57600"),
                                           QStringLiteral("post 57650")};
    QTest::newRow("default") << QStringLiteral("Run Default Benchmark...")
                             << QStringList{QStringLiteral("post 1030 3 255")};
    QTest::newRow("system info") << QStringLiteral("Advanced System info...")
                                 << QStringList{QStringLiteral("send 1046 0 0")};
    QTest::newRow("burn in") << QStringLiteral("Burn In Mode...")
                             << QStringList{QStringLiteral("send 1042 0 0")};
    QTest::newRow("close") << QStringLiteral("Close") << QStringList();
}

void FrameStartupTest::chooserButtonsDoTheirActionAndClose() {
    QFETCH(QString, button);
    QFETCH(QStringList, calls);
    FakeFrame frame;
    ChooserDlg chooser(nullptr, frame);
    QCOMPARE(chooser.windowTitle(), QStringLiteral("Choose a benchmark"));
    QVERIFY(chooser.button(QStringLiteral("Batch Run...")) != nullptr);
    QVERIFY(!chooser.button(QStringLiteral("Batch Run..."))->isEnabled());
    chooser.show();
    QPushButton* pressed = chooser.button(button);
    QVERIFY(pressed != nullptr);
    pressed->click();
    QCOMPARE(frame.calls, calls);
    QVERIFY(!chooser.isVisible());
}

void FrameStartupTest::perUserMarkerShowsNotesOncePerUser() {
    QTemporaryDir home;
    const auto state = std::filesystem::path(home.path().toStdString()) / "state" / "veltrane";
    const FirstRunMarker marker = FirstRunMarker::perUser(state);
    QVERIFY(marker.consume());   // this user's first start
    QVERIFY(!marker.consume());  // and never again
    touch(QString::fromStdString((state / "FirstRun").string()));
    QVERIFY(marker.consume());  // unless the marker is put back
    QVERIFY(!marker.consume());
    QVERIFY(!FirstRunMarker().consume());
}

void FrameStartupTest::lockKeysReadTheirLights() {
    QTemporaryDir leds;
    QDir folder(leds.path());
    for (const char* led : {"input3::capslock", "input3::numlock", "input5::scrolllock"}) {
        QVERIFY(folder.mkdir(QString::fromLatin1(led)));
    }
    touch(folder.filePath(QStringLiteral("input3::capslock/brightness")), "1\n");
    touch(folder.filePath(QStringLiteral("input3::numlock/brightness")), "0\n");
    const LockKeys keys = readLockKeys(leds.path().toStdString());
    QVERIFY(keys.caps);
    QVERIFY(!keys.num);
    QVERIFY(!keys.scroll);  // no brightness to read
    const LockKeys none = readLockKeys(folder.filePath(QStringLiteral("absent")).toStdString());
    QVERIFY(!none.caps && !none.num && !none.scroll);
}

}  // namespace veltrane::shell::test

QTEST_MAIN(veltrane::shell::test::FrameStartupTest)
#include "FrameStartupTest.moc"
