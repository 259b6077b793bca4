// The main benchmark form as a window: its boxes, list, buttons and the
// requests they make of the main frame.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>

#include "FormFakeFrame.h"
#include "FormRecordingDialogs.h"
#include "shell/BenchmarkForm.h"
#include "shell/BenchmarkFormArt.h"
#include "shell/BenchmarkFormPicture.h"

using veltrane::shell::BenchmarkForm;
using veltrane::shell::FormFacts;
using veltrane::shell::MessageAnswer;
using veltrane::shell::MessageButtons;
using veltrane::shell::MessageIcon;
using veltrane::test::FormFakeFrame;
using veltrane::test::FormRecordingDialogs;
namespace cmd = veltrane::shell::cmd;
using Log = std::vector<std::string>;

namespace {

FormFacts dualAthlon() {
    FormFacts facts;
    facts.vendor = "AuthenticAMD";
    facts.family = 6;
    facts.model = 8;
    facts.stepping = 1;
    facts.l1DataKB = 64;
    facts.l1CodeKB = 64;
    facts.l2KB = 256;
    facts.processorCount = 2;
    facts.processorName = "Athlon XP / MP";
    facts.platform = "Socket A (462)";
    facts.busType = "266 MHz EV6";
    facts.traceCacheText = "Absent";
    facts.clockMHz = 2000.0f;
    facts.features = {true, true, true, true, true, false, false};
    veltrane::platform::MemoryFacts memory;
    memory.status = {41, 2047ull << 20, 1200ull << 20, 4096ull << 20, 1024ull << 20};
    memory.totalVirtual = 3072ull << 20;
    memory.availVirtual = 2048ull << 20;
    facts.memory = veltrane::ident::MemoryInfo(memory);
    facts.os.osName = "Debian GNU/Linux 12 (bookworm)";
    facts.os.kernelName = "Linux";
    facts.os.majorVersion = 6;
    facts.os.minorVersion = 1;
    return facts;
}

FormFacts pentium4() {
    FormFacts facts = dualAthlon();
    facts.vendor = "GenuineIntel";
    facts.family = 15;
    facts.processorCount = 1;
    return facts;
}

void click(BenchmarkForm& form, const char* button) {
    auto* widget = form.findChild<QAbstractButton*>(QString::fromLatin1(button));
    QVERIFY2(widget != nullptr, button);
    widget->click();
}

}  // namespace

class FormWidgetTest : public QObject {
    Q_OBJECT

private slots:
    void init() { veltrane::shell::formRunStarted() = false; }

    void runSendsTheSuiteAndTheMaskOfTheTickedBoxes() {
        FormRecordingDialogs dialogs;
        FormFakeFrame frame;
        BenchmarkForm form(frame, pentium4());
        QCOMPARE(form.optimizations().currentIndex(), 1);
        click(form, "runButton");
        QCOMPARE(frame.log, (Log{"post command 57602", "post 1030 1 255"}));
        QVERIFY(veltrane::shell::formRunStarted());
        QVERIFY(dialogs.messages.empty());

        veltrane::shell::formRunStarted() = false;
        frame.log.clear();
        for (int box = 0; box < 7; ++box) {
            form.testBox(box).setChecked(box == 3);
        }
        form.optimizations().setCurrentIndex(3);
        click(form, "runButton");
        QCOMPARE(frame.log, (Log{"post command 57602", "post 1030 3 136"}));

        frame.log.clear();
        form.testBox(3).setChecked(false);
        veltrane::shell::formRunStarted() = false;
        click(form, "runButton");
        QCOMPARE(frame.log.back(), std::string("post 1030 3 128"));
    }

    void secondRunAsksAndCancelLeavesEverythingAsItWas() {
        FormRecordingDialogs dialogs;
        FormFakeFrame frame;
        BenchmarkForm form(frame, pentium4());
        form.testBox(0).setChecked(false);
        veltrane::shell::formRunStarted() = true;
        dialogs.answers = {MessageAnswer::Cancel};
        click(form, "runButton");
        QCOMPARE(dialogs.messages.size(), std::size_t{1});
        const auto& asked = dialogs.messages.front();
        QCOMPARE(asked.text, QStringLiteral("This will clear your previous result: Continue?"));
        QCOMPARE(asked.title, QStringLiteral("Veltrane Warning"));
        QVERIFY(asked.icon == MessageIcon::Exclamation);
        QVERIFY(asked.buttons == MessageButtons::OkCancel);
        QVERIFY(frame.log.empty());
        QVERIFY(veltrane::shell::formRunStarted());
        QVERIFY(!form.testBox(0).isChecked());
        QVERIFY(form.testBox(1).isChecked());
        QCOMPARE(form.optimizations().currentIndex(), 1);

        dialogs.answers = {MessageAnswer::Ok};
        click(form, "runButton");
        QCOMPARE(frame.log, (Log{"post command 57602", "post 1030 1 254"}));
    }

    void dualAthlonSelectsSmpAndFollowsListChanges() {
        FormRecordingDialogs dialogs;
        FormFakeFrame frame;
        BenchmarkForm form(frame, dualAthlon());
        QCOMPARE(form.optimizations().count(), 5);
        QCOMPARE(form.optimizations().currentIndex(), 4);
        QCOMPARE(form.optimizations().currentText(), QStringLiteral("MultiThreaded SMP Code"));
        QCOMPARE(form.logoName(), QStringLiteral("AthlonLogo2"));
        QCOMPARE(form.fieldText("CPU Name:"), QStringLiteral("2xAthlon XP / MP Processor"));
        QCOMPARE(form.fieldText("SW Data prefetch:"), QStringLiteral("Disabled"));

        form.optimizations().setCurrentIndex(2);
        QCOMPARE(form.logoName(), QStringLiteral("AthlonLogo2"));
        QCOMPARE(form.fieldText("Loop Unrolling:"), QStringLiteral("Enabled"));
        form.optimizations().setCurrentIndex(4);
        QCOMPARE(form.logoName(), QString());
        QCOMPARE(form.fieldText("Loop Unrolling:"), QStringLiteral("Enabled"));
        form.optimizations().setCurrentIndex(3);
        QCOMPARE(form.fieldText("SW Data prefetch:"), QStringLiteral("Disabled"));
        form.optimizations().setCurrentIndex(1);
        QCOMPARE(form.logoName(), QStringLiteral("P4Logo2"));
    }

    void fieldsAndBarsShowTheFacts() {
        FormRecordingDialogs dialogs;
        FormFakeFrame frame;
        BenchmarkForm form(frame, dualAthlon());
        QCOMPARE(form.fieldText("OS Revision:"), QStringLiteral("Linux version 6.1.0"));
        QCOMPARE(form.fieldText("System RAM:"), QStringLiteral("2048 MByte"));
        QCOMPARE(form.fieldText("CPU Frequency:"), QStringLiteral("2.00 GHz  (2000.0 MHz)"));
        QCOMPARE(form.fieldText("SSE2 Support:"), QStringLiteral("Not detected"));
        QCOMPARE(form.memoryBar(0).value(), 41);
        QCOMPARE(form.memoryBar(1).maximum(), 4096);
        QCOMPARE(form.memoryBar(1).value(), 3072);
        QCOMPARE(form.memoryBar(1).text(), QStringLiteral("75 %"));
        QCOMPARE(form.memoryBar(2).text(), QStringLiteral("33 %"));
    }

    void menuCommandsAndButtonsReachTheFrame() {
        FormRecordingDialogs dialogs;
        FormFakeFrame frame;
        BenchmarkForm form(frame, pentium4());
        QVERIFY(form.handleCommand(cmd::GraphOverall));
        QCOMPARE(dialogs.messages.size(), std::size_t{1});
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("Please run at least a benchmark!"));
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("Veltrane Warning"));
        QVERIFY(frame.log.empty());

        QVERIFY(form.handleCommand(cmd::RunRamOnly));
        QVERIFY(veltrane::shell::formRunStarted());
        QVERIFY(form.handleCommand(cmd::GraphMipsMflops));
        QVERIFY(!form.handleCommand(cmd::BenchSmp));
        QCOMPARE(frame.log, (Log{"send command 57602", "send 1030 3 96", "send 1036 5 0"}));

        frame.log.clear();
        click(form, "advancedButton");
        click(form, "cacheButton");
        click(form, "loopButton");
        click(form, "closeButton");
        QCOMPARE(frame.log, (Log{"send 1046 0 0", "send 1046 1 0", "send 1042 0 0",
                                 "send command 57602", "send command 57602"}));
        QVERIFY(!form.findChild<QAbstractButton*>("editButton")->isEnabled());
    }

    void selectAllAndHelp() {
        FormRecordingDialogs dialogs;
        FormFakeFrame frame;
        BenchmarkForm form(frame, pentium4());
        for (int box = 0; box < 7; ++box) {
            QVERIFY(form.testBox(box).isChecked());
            form.testBox(box).setChecked(false);
        }
        click(form, "selectAllButton");
        for (int box = 0; box < 7; ++box) {
            QVERIFY(form.testBox(box).isChecked());
        }
        // The help page ships beside the programs.
        click(form, "helpButton");
        QCOMPARE(dialogs.openedUrls.size(), std::size_t{1});
        QVERIFY(dialogs.openedUrls[0].isLocalFile());
        QVERIFY(dialogs.openedUrls[0].toLocalFile().endsWith("/index.htm"));
        QVERIFY(dialogs.messages.empty());
    }

    void resultFieldShowsTheFirstLineOfTempdata() {
        FormRecordingDialogs dialogs;
        FormFakeFrame frame;
        QTemporaryDir folder;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder.path()));
        QFile file("tempdata");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("2211  CPUMarks\0\0\0\0\0\0", 20));
        file.close();
        BenchmarkForm form(frame, pentium4());
        QDir::setCurrent(previous);
        QCOMPARE(form.resultText(), QStringLiteral("2211  CPUMarks"));
        const QFont font = form.findChild<QLineEdit*>("resultField")->font();
        QCOMPARE(font.pixelSize(), 18);
        QCOMPARE(font.weight(), QFont::Medium);
        QVERIFY(font.italic());
    }

    void rendersAReadablePicture() {
        FormRecordingDialogs dialogs;
        FormFakeFrame frame;
        QTemporaryDir folder;
        const QString path = qEnvironmentVariableIsSet("VELTRANE_FORM_PICTURE")
                                 ? qEnvironmentVariable("VELTRANE_FORM_PICTURE")
                                 : folder.filePath("form.png");
        QVERIFY(veltrane::shell::writeBenchmarkFormPng(path, frame, dualAthlon()));
        const QImage picture(path);
        QVERIFY(picture.width() >= 640);
        QVERIFY(picture.height() >= 400);
        QVERIFY(!veltrane::shell::logoPixmap("P4Logo2", 64).isNull());
        QVERIFY(veltrane::shell::logoPixmap("", 64).isNull());
    }
};

QTEST_MAIN(FormWidgetTest)
#include "FormWidgetTest.moc"
