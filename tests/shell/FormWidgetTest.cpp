// The main benchmark form as a window: its boxes, list, buttons and the
// requests they make of the main frame.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QProgressBar>

#include "FrameTestSupport.h"
#include "RecordingFrame.h"
#include "shell/BenchmarkForm.h"
#include "shell/BenchmarkFormArt.h"
#include "shell/BenchmarkFormPicture.h"

namespace veltrane::shell::test {

namespace {

using Log = std::vector<std::string>;

FormFacts dualAthlon() {
    FormFacts facts;
    facts.vendor = "AuthenticAMD";
    facts.family = 6;
    facts.processorCount = 2;
    facts.processorName = "Athlon XP / MP";
    facts.clockMHz = 2000.0f;
    platform::MemoryFacts memory;
    memory.status = {41, 2047ull << 20, 1200ull << 20, 4096ull << 20, 1024ull << 20};
    memory.totalVirtual = 3072ull << 20;
    memory.availVirtual = 2048ull << 20;
    facts.memory = ident::MemoryInfo(memory);
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
    auto* widget = form.findChild<QAbstractButton*>(button);
    QVERIFY2(widget != nullptr, button);
    widget->click();
}

}  // namespace

class FormWidgetTest : public QObject {
    Q_OBJECT

private slots:
    // No test may wait on a modal window.
    void init() {
        formRunStarted() = false;
        dialogs_.emplace();
    }
    void cleanup() { dialogs_.reset(); }

    void runSendsTheSuiteAndTheMaskOfTheTickedBoxes() {
        const struct {
            const char* ticked;  // the seven boxes
            int suite;           // -1: the processor's default
            const char* request;
        } cases[] = {{"1111111", -1, "post 1030 1 255"},
                     {"0001000", 3, "post 1030 3 136"},
                     {"0000000", 3, "post 1030 3 128"}};
        for (const auto& [ticked, suite, request] : cases) {
            init();  // fresh for each case
            RecordingFrame frame;
            BenchmarkForm form(frame, pentium4());
            for (int box = 0; box < kFormTestCount; ++box) {
                form.testBox(box).setChecked(ticked[box] == '1');
            }
            if (suite >= 0) {
                form.optimizations().setCurrentIndex(suite);
            }
            click(form, "runButton");
            QCOMPARE(frame.log, (Log{"post command 57602", request}));
            QVERIFY(formRunStarted());
            QVERIFY(dialogs_->messages.empty());
        }
    }

    void secondRunAsksAndCancelLeavesEverythingAsItWas() {
        RecordingFrame frame;
        BenchmarkForm form(frame, pentium4());
        form.testBox(0).setChecked(false);
        formRunStarted() = true;
        dialogs_->messageAnswers = {MessageAnswer::Cancel, MessageAnswer::Ok};
        click(form, "runButton");
        QCOMPARE(dialogs_->messages.size(), std::size_t{1});
        const ShownMessage& asked = dialogs_->messages.front();
        QCOMPARE(asked.text, "This will clear your previous result: Continue?");
        QCOMPARE(asked.title, "Veltrane Warning");
        QCOMPARE(asked.icon, MessageIcon::Exclamation);
        QCOMPARE(asked.buttons, MessageButtons::OkCancel);
        QVERIFY(frame.log.empty());
        QVERIFY(formRunStarted());
        QVERIFY(!form.testBox(0).isChecked() && form.testBox(1).isChecked());
        QCOMPARE(form.optimizations().currentIndex(), 1);

        click(form, "runButton");
        QCOMPARE(frame.log, (Log{"post command 57602", "post 1030 1 254"}));
    }

    void dualAthlonSelectsSmpAndFollowsListChanges() {
        RecordingFrame frame;
        BenchmarkForm form(frame, dualAthlon());
        QCOMPARE(form.optimizations().count(), 5);
        QCOMPARE(form.optimizations().currentIndex(), 4);
        QCOMPARE(form.logoName(), "AthlonLogo2");
        QCOMPARE(form.fieldText("CPU Name:"), "2xAthlon XP / MP Processor");
        QCOMPARE(form.fieldText("SW Data prefetch:"), "Disabled");
        form.optimizations().setCurrentIndex(2);
        QCOMPARE(form.fieldText("Loop Unrolling:"), "Enabled");
        form.optimizations().setCurrentIndex(4);  // leaves the switches alone
        QCOMPARE(form.logoName(), QString());
        QCOMPARE(form.fieldText("Loop Unrolling:"), "Enabled");
        form.optimizations().setCurrentIndex(1);
        QCOMPARE(form.logoName(), "P4Logo2");
        // The memory bars as the model fills them.
        QCOMPARE(form.memoryBar(1).maximum(), 4096);
        QCOMPARE(form.memoryBar(1).value(), 3072);
        QCOMPARE(form.memoryBar(2).text(), "33 %");
    }

    void menuCommandsAndButtonsReachTheFrame() {
        RecordingFrame frame;
        BenchmarkForm form(frame, pentium4());
        QVERIFY(form.handleCommand(cmd::GraphOverall));
        QCOMPARE(dialogs_->messages.size(), std::size_t{1});
        QCOMPARE(dialogs_->messages[0].text, "Please run at least a benchmark!");
        QVERIFY(frame.log.empty());

        QVERIFY(form.handleCommand(cmd::RunRamOnly));
        QVERIFY(formRunStarted());
        QVERIFY(form.handleCommand(cmd::GraphMipsMflops));
        QVERIFY(!form.handleCommand(cmd::BenchSmp));
        QCOMPARE(frame.log, (Log{"send command 57602", "send 1030 3 96", "send 1036 5 0"}));

        frame.log.clear();
        for (const char* button : {"advancedButton", "cacheButton", "loopButton", "closeButton"}) {
            click(form, button);
        }
        QCOMPARE(frame.log, (Log{"send 1046 0 0", "send 1046 1 0", "send 1042 0 0",
                                 "send command 57602", "send command 57602"}));
        QVERIFY(!form.findChild<QAbstractButton*>("editButton")->isEnabled());
    }

    void selectAllAndHelp() {
        RecordingFrame frame;
        BenchmarkForm form(frame, pentium4());
        for (int box = 0; box < kFormTestCount; ++box) {
            form.testBox(box).setChecked(false);
        }
        click(form, "selectAllButton");
        for (int box = 0; box < kFormTestCount; ++box) {
            QVERIFY(form.testBox(box).isChecked());
        }
        // The help page ships beside the programs.
        click(form, "helpButton");
        QCOMPARE(dialogs_->openedUrls.size(), 1);
        QVERIFY(dialogs_->openedUrls[0].isLocalFile());
        QCOMPARE(dialogs_->openedUrls[0].fileName(), "index.htm");
    }

    void resultFieldShowsTheFirstLineOfTempdata() {
        RecordingFrame frame;
        QTemporaryDir folder;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder.path()));
        writeFile("tempdata", QByteArray("2211  CPUMarks\0\0\0\0\0\0", 20));
        BenchmarkForm form(frame, pentium4());
        QDir::setCurrent(previous);
        QCOMPARE(form.resultText(), "2211  CPUMarks");
    }

    void rendersAReadablePicture() {
        RecordingFrame frame;
        QTemporaryDir folder;
        const QString path = folder.filePath("form.png");
        QVERIFY(writeBenchmarkFormPng(path, frame, dualAthlon()));
        const QImage picture(path);
        QVERIFY(picture.width() >= 640 && picture.height() >= 400);
        QVERIFY(!logoPixmap("P4Logo2", 64).isNull());
        QVERIFY(logoPixmap("", 64).isNull());
    }

private:
    std::optional<RecordingDialogs> dialogs_;
};

}  // namespace veltrane::shell::test

QTEST_MAIN(veltrane::shell::test::FormWidgetTest)
#include "FormWidgetTest.moc"
