// The main benchmark form as a window, and the project documents that hold
// it: the form shows what its model computes, its boxes, list and buttons
// make their requests of the main frame, and documents are numbered, saved
// as zero-byte files and never overwrite a file that held something.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>

#include "FrameTestSupport.h"
#include "RecordingFrame.h"
#include "shell/BenchmarkForm.h"
#include "shell/ProjectDocuments.h"

namespace veltrane::shell::test {

namespace {

FormFacts formFacts(const char* vendor, int family, int processors) {
    FormFacts facts;
    facts.vendor = vendor;
    facts.family = family;
    facts.processorCount = processors;
    facts.processorName = "Athlon XP / MP";
    facts.clockMHz = 2000.0f;
    platform::MemoryFacts memory;
    memory.status = {41, 2047ull << 20, 1200ull << 20, 4096ull << 20, 1024ull << 20};
    memory.totalVirtual = 3072ull << 20;
    memory.availVirtual = 2048ull << 20;
    facts.memory = ident::MemoryInfo(memory);
    return facts;
}

const FormFacts kDualAthlon = formFacts("AuthenticAMD", 6, 2);
const FormFacts kPentium4 = formFacts("GenuineIntel", 15, 1);

void click(QWidget& form, const char* button) {
    auto* widget = form.findChild<QAbstractButton*>(button);
    QVERIFY2(widget != nullptr, button);
    widget->click();
}

QString qtext(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

class FormWindowTest : public QObject {
    Q_OBJECT

private slots:
    // Every test starts with no form run, its own recorder and an empty area.
    void init() {
        formRunStarted() = false;
        dialogs_.emplace();
        folder_.emplace();
        frame_.log.clear();
        area_ = std::make_unique<QMdiArea>();
        area_->show();
        documents_ = std::make_unique<ProjectDocuments>(*area_, frame_);
        documents_->setFactsSource([] { return kPentium4; });
        // Like the real frame, a sent close closes the active document.
        frame_.onCommand = [this](int command) {
            if (command == cmd::CloseDocument) {
                documents_->closeActiveDocument();
            }
        };
    }
    void cleanup() {
        documents_.reset();
        area_.reset();
        dialogs_.reset();
    }

    void runSendsTheSuiteAndTheMaskOfTheTickedBoxes_data() {
        QTest::addColumn<QString>("ticked");  // the seven boxes
        QTest::addColumn<int>("suite");       // -1: the processor's default
        QTest::addColumn<QString>("request");
        QTest::newRow("all, default") << "1111111" << -1 << "post 1030 1 255";
        QTest::newRow("MIPS, standard") << "0001000" << 3 << "post 1030 3 136";
        QTest::newRow("none, SSE") << "0000000" << 0 << "post 1030 0 128";
    }

    void runSendsTheSuiteAndTheMaskOfTheTickedBoxes() {
        QFETCH(QString, ticked);
        QFETCH(int, suite);
        QFETCH(QString, request);
        BenchmarkForm form(frame_, kPentium4);
        for (int box = 0; box < kFormTestCount; ++box) {
            form.testBox(box).setChecked(ticked[box] == '1');
        }
        if (suite >= 0) {
            form.optimizations().setCurrentIndex(suite);
        }
        click(form, "runButton");
        QCOMPARE(logLines(frame_.log), QStringList({"post command 57602", request}));
        QVERIFY(formRunStarted() && dialogs_->messages.empty());
    }

    void secondRunAsksAndCancelLeavesEverythingAsItWas() {
        BenchmarkForm form(frame_, kPentium4);
        form.testBox(0).setChecked(false);
        formRunStarted() = true;
        dialogs_->messageAnswers = {MessageAnswer::Cancel, MessageAnswer::Ok};
        click(form, "runButton");
        QCOMPARE(dialogs_->shown(),
                 QStringList{"Veltrane Warning: This will clear your previous result: Continue?"});
        QCOMPARE(dialogs_->messages[0].icon, MessageIcon::Exclamation);
        QCOMPARE(dialogs_->messages[0].buttons, MessageButtons::OkCancel);
        QVERIFY(frame_.log.empty());
        click(form, "runButton");
        QCOMPARE(logLines(frame_.log), QStringList({"post command 57602", "post 1030 1 254"}));
    }

    // The fields, bars, list, logo and code switches are the model's.
    void showsWhatTheModelComputes() {
        BenchmarkForm form(frame_, kDualAthlon);
        const FormTexts texts = formTexts(kDualAthlon);
        for (const auto* part : {&texts.processor, &texts.features, &texts.system, &texts.memory}) {
            for (const FormField& field : *part) {
                QCOMPARE(form.fieldText(qtext(field.label)), qtext(field.text));
            }
        }
        int i = 0;
        for (const FormBar& model : texts.bars) {
            const QProgressBar& bar = form.memoryBar(i++);
            QCOMPARE(bar.maximum(), model.maximum);
            QCOMPARE(bar.value(), model.position);
            QCOMPARE(bar.text(), qtext(model.text));
        }
        const OptimizationList list = optimizationList("AuthenticAMD", 6, 2);
        QCOMPARE(form.optimizations().count(), int(list.entries.size()));
        QCOMPARE(form.optimizations().currentIndex(), list.selected);
        QCOMPARE(form.logoName(), qtext(list.logo));
        std::string switches = list.codeSwitches;
        for (const int index : {2, 4, 3, 0}) {
            QCOMPARE(form.fieldText("SW Data prefetch:"), qtext(switches));
            form.optimizations().setCurrentIndex(index);
            switches = optimizationEffect(index).codeSwitches.value_or(switches);
            QCOMPARE(form.logoName(), qtext(optimizationEffect(index).logo));
            QCOMPARE(form.fieldText("Loop Unrolling:"), qtext(switches));
        }
    }

    void menuCommandsAndButtonsReachTheFrame() {
        BenchmarkForm form(frame_, kPentium4);
        QVERIFY(form.handleCommand(cmd::GraphOverall));
        QCOMPARE(dialogs_->shown(),
                 QStringList{"Veltrane Warning: Please run at least a benchmark!"});
        QVERIFY(form.handleCommand(cmd::RunRamOnly));
        QVERIFY(formRunStarted());
        QVERIFY(form.handleCommand(cmd::GraphMipsMflops));
        QVERIFY(!form.handleCommand(cmd::BenchSmp));
        for (const char* button : {"advancedButton", "cacheButton", "loopButton", "closeButton"}) {
            click(form, button);
        }
        QCOMPARE(logLines(frame_.log),
                 QStringList({"send command 57602", "send 1030 3 96", "send 1036 5 0",
                              "send 1046 0 0", "send 1046 1 0", "send 1042 0 0",
                              "send command 57602", "send command 57602"}));
        QVERIFY(!form.findChild<QAbstractButton*>("editButton")->isEnabled());
    }

    void selectAllHelpAndTheResultField() {
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder_->path()));
        writeFile("tempdata", QByteArray("2211  CPUMarks\0\0\0\0\0\0", 20));
        BenchmarkForm form(frame_, kPentium4);
        QDir::setCurrent(previous);
        QCOMPARE(form.resultText(), "2211  CPUMarks");
        for (int box = 0; box < kFormTestCount; ++box) {
            form.testBox(box).setChecked(box == 3);
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

    void newDocumentsAreNumberedAndHoldTheForm() {
        documents_->newDocument();
        QMdiSubWindow* second = documents_->newDocument();
        QCOMPARE(ProjectDocuments::documentTitle(*second), "Custom Benchmark2");
        QVERIFY(second->windowTitle().contains("Benchmark settings"));
        QCOMPARE(documents_->activeForm(), qobject_cast<BenchmarkForm*>(second->widget()));
        QCOMPARE(frame_.log.back(), "post command 57650");
    }

    // Saving writes zero bytes, asks for a name once, and never empties an
    // opened file that held something; opening reads nothing.
    void saveWritesZeroBytesAndNeverOverAnOpenedFile() {
        const QString notes = folder_->filePath("notes.txt");
        const QString saved = folder_->filePath("bench.vlt");
        writeFile(notes, "somebody's notes");
        writeFile(saved, "an older file");
        dialogs_->fileNames = {notes, saved};
        QVERIFY(documents_->openDocument());
        QCOMPARE(activeTitle(), "notes.txt");
        QVERIFY(!documents_->openDocument());  // not while a document is open
        QVERIFY(documents_->saveActiveDocument());
        writeFile(saved, "changed meanwhile");
        QVERIFY(documents_->saveActiveDocument());
        QCOMPARE(dialogs_->choosers, QStringList({"Open", "Save As: notes.txt"}));
        QCOMPARE(activeTitle(), "bench.vlt");
        QCOMPARE(readFile(notes), QByteArray("somebody's notes"));
        QCOMPARE(readFile(saved), QByteArray());

        closeActive();
        dialogs_->fileNames = {saved};
        QVERIFY(documents_->openDocument());
        QVERIFY(documents_->saveActiveDocument());
        QCOMPARE(dialogs_->choosers.size(), 3);
        QVERIFY(dialogs_->messages.empty());
    }

    void filesThatCannotBeWrittenOrOpenedAreReported() {
        documents_->newDocument();
        const QString unwritable = folder_->filePath("no/such/folder/bench.vlt");
        dialogs_->fileNames = {unwritable, folder_->path()};
        QVERIFY(!documents_->saveActiveDocument());
        QVERIFY(!documents_->saveActiveDocument());
        QCOMPARE(dialogs_->messages.size(), std::size_t{2});
        QCOMPARE(dialogs_->messages[0].title, "Veltrane Error");
        QVERIFY(dialogs_->messages[0].text.contains(unwritable));
        QVERIFY(dialogs_->messages[1].text.contains("folder"));
        QCOMPARE(activeTitle(), "Custom Benchmark1");

        closeActive();
        dialogs_->fileNames = {folder_->filePath("missing.vlt")};
        QVERIFY(!documents_->openDocument());
        QCOMPARE(dialogs_->messages.size(), std::size_t{3});
        QVERIFY(area_->subWindowList().isEmpty());
    }

    void aFormClosesItsOwnDocumentSafely() {
        QPointer<QMdiSubWindow> window(documents_->newDocument());
        click(*window->widget(), "closeButton");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.isNull());
        QVERIFY(area_->subWindowList().isEmpty());
    }

private:
    QString activeTitle() const {
        return ProjectDocuments::documentTitle(*area_->currentSubWindow());
    }
    void closeActive() {
        documents_->closeActiveDocument();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    std::optional<RecordingDialogs> dialogs_;
    std::optional<QTemporaryDir> folder_;
    RecordingFrame frame_;
    std::unique_ptr<QMdiArea> area_;
    std::unique_ptr<ProjectDocuments> documents_;
};

}  // namespace veltrane::shell::test

QTEST_MAIN(veltrane::shell::test::FormWindowTest)
#include "FormWindowTest.moc"
