// The main benchmark form as a window, and the project documents that hold
// it: the form shows what its model computes, its boxes, list and buttons
// make their requests of the main frame, and documents are numbered, saved
// as zero-byte files and never overwrite a file that held something.
#include "WindowTest.h"
#include "shell/BenchmarkForm.h"
#include "shell/ProjectDocuments.h"

namespace veltrane::shell::test {

namespace {

// A recorded processor at 2 GHz with a page file of `pageFileMB`.
ident::MachineFacts formFacts(const char* dump, std::uint64_t pageFileMB = 4096) {
    auto facts = veltrane::test::machineOfDump(dump, 2000.0f);
    platform::MemoryFacts memory;
    memory.status = {41, 2047ull << 20, 1200ull << 20, pageFileMB << 20,
                     std::min<std::uint64_t>(pageFileMB, 1024) << 20};
    memory.totalVirtual = 3072ull << 20;
    memory.availVirtual = 2048ull << 20;
    facts.memory = ident::MemoryInfo(memory);
    return facts;
}

const auto kDualAthlon = formFacts("athlonmp-thoroughbred-dual");
const auto kPentium4 = formFacts("pentium4-northwood");
const auto kNoSwap = formFacts("pentium3-coppermine", 0);

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
        documents_.reset();
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

    // The run sends the suite and the mask of the ticked boxes; once a run
    // has started it asks first, and Cancel leaves everything as it was.
    void runSendsTheSuiteAndTheMaskOfTheTickedBoxes() {
        BenchmarkForm form(frame_, kPentium4);
        const std::tuple<const char*, int, const char*> cases[] = {
            {"1111111", -1, "post 1030 1 255"},  // the processor's default suite
            {"0001000", 3, "post 1030 3 136"},
            {"0000000", 0, "post 1030 0 128"},
            {"1000001", 3, "post 1030 3 193"}};
        for (const auto& [ticked, suite, request] : cases) {
            formRunStarted() = false;
            frame_.log.clear();
            for (int box = 0; box < kFormTestCount; ++box) {
                form.testBox(box).setChecked(ticked[box] == '1');
            }
            if (suite >= 0) {
                form.optimizations().setCurrentIndex(suite);
            }
            click(form, "runButton");
            QCOMPARE(logLines(frame_.log), QStringList({"post command 57602", request}));
            QVERIFY(formRunStarted());
        }
        frame_.log.clear();
        dialogs_->messageAnswers = {MessageAnswer::Cancel, MessageAnswer::Ok};
        click(form, "runButton");
        QCOMPARE(dialogs_->messages,
                 QStringList{"Veltrane Warning: This will clear your previous result: Continue?"});
        QVERIFY(dialogs_->kinds[0] ==
                std::pair(MessageIcon::Exclamation, MessageButtons::OkCancel));
        QVERIFY(frame_.log.empty());
        click(form, "runButton");
        QCOMPARE(logLines(frame_.log), QStringList({"post command 57602", "post 1030 3 193"}));
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
        // The gauges, never Qt's busy animation: without swap the page file's is empty.
        for (const ident::MachineFacts* facts : {&kDualAthlon, &kNoSwap}) {
            BenchmarkForm gauges(frame_, *facts);
            const auto bars = formTexts(*facts).bars;
            for (int i = 0; i < int(bars.size()); ++i) {
                const QProgressBar& bar = gauges.memoryBar(i);
                const FormBar& model = bars[std::size_t(i)];
                QVERIFY(bar.minimum() == 0 && bar.maximum() > 0);
                const FormBar shown{model.label, model.maximum > 0 ? bar.maximum() : 0, bar.value(),
                                    bar.text().toStdString()};
                QVERIFY2(shown == model, model.label.c_str());
            }
        }
        QCOMPARE(formTexts(kNoSwap).bars[1].text, "0 %");
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

    // Its commands and buttons reach the frame; its result field is the
    // first line of "tempdata"; its help page ships beside the programs.
    void commandsAndButtonsReachTheFrame() {
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder_->path()));
        writeFile("tempdata", QByteArray("2211  CPUMarks\0\0\0\0\0\0", 20));
        BenchmarkForm form(frame_, kPentium4);
        QDir::setCurrent(previous);
        QCOMPARE(form.resultText(), "2211  CPUMarks");
        QVERIFY(form.handleCommand(cmd::GraphOverall));
        QCOMPARE(dialogs_->messages,
                 QStringList{"Veltrane Warning: Please run at least a benchmark!"});
        QVERIFY(form.handleCommand(cmd::RunRamOnly));
        QVERIFY(formRunStarted());
        QVERIFY(form.handleCommand(cmd::GraphMipsMflops));
        QVERIFY(!form.handleCommand(cmd::BenchSmp));
        for (int box = 0; box < kFormTestCount; ++box) {
            form.testBox(box).setChecked(box == 3);
        }
        for (const char* button : {"advancedButton", "cacheButton", "loopButton", "closeButton",
                                   "selectAllButton", "helpButton"}) {
            click(form, button);
        }
        QCOMPARE(logLines(frame_.log),
                 QStringList({"send command 57602", "send 1030 3 96", "send 1036 5 0",
                              "send 1046 0 0", "send 1046 1 0", "send 1042 0 0",
                              "send command 57602", "send command 57602"}));
        for (int box = 0; box < kFormTestCount; ++box) {
            QVERIFY(form.testBox(box).isChecked());
        }
        QCOMPARE(dialogs_->openedUrls.size(), 1);
        QVERIFY(dialogs_->openedUrls[0].isLocalFile());
        QCOMPARE(dialogs_->openedUrls[0].fileName(), "index.htm");
        QVERIFY(!form.findChild<QAbstractButton*>("editButton")->isEnabled());
    }

    // Numbered, holding the form, which may close its own document.
    void newDocumentsAreNumberedAndHoldTheForm() {
        documents_->newDocument();
        QPointer<QMdiSubWindow> second(documents_->newDocument());
        QCOMPARE(ProjectDocuments::documentTitle(*second), "Custom Benchmark2");
        QVERIFY(second->windowTitle().contains("Benchmark settings"));
        QCOMPARE(documents_->activeForm(), qobject_cast<BenchmarkForm*>(second->widget()));
        QCOMPARE(frame_.log.back(), "post command 57650");
        click(*second->widget(), "closeButton");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(second.isNull());
        QCOMPARE(area_->subWindowList().size(), 1);
    }

    // A window smaller than the form scrolls to every control; at the form's
    // own size it shows them all without scroll bars.
    void smallWindowsScrollToEveryControl() {
        area_->resize(1200, 900);
        QMdiSubWindow* window = documents_->newDocument();
        auto* scroll = window->findChild<QScrollArea*>();
        window->resize(window->sizeHint());
        QTest::qWait(0);
        QVERIFY(!scroll->verticalScrollBar()->isVisible() &&
                !scroll->horizontalScrollBar()->isVisible());
        window->resize(500, 350);
        QTest::qWait(0);
        QCOMPARE(window->size(), QSize(500, 350));
        const QWidget* viewport = scroll->viewport();
        for (const char* name : {"runButton", "closeButton", "userResourcesBar"}) {
            auto* control = window->findChild<QWidget*>(name);
            scroll->ensureWidgetVisible(control);
            const QRect shown(control->mapTo(viewport, QPoint()), control->size());
            QVERIFY2(viewport->rect().contains(shown), name);
        }
    }

    // Saving writes zero bytes, asks for a name once, and never empties an
    // opened file that held something; opening reads nothing; failures say so.
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

        // Files that cannot be written or opened are reported.
        closeActive();
        documents_->newDocument();
        const QString unwritable = folder_->filePath("no/such/folder/bench.vlt");
        dialogs_->fileNames = {unwritable, folder_->path()};
        QVERIFY(!documents_->saveActiveDocument());
        QVERIFY(!documents_->saveActiveDocument());
        QVERIFY(dialogs_->messages.value(0).startsWith("Veltrane Error: "));
        QVERIFY(dialogs_->messages.value(0).contains(unwritable) &&
                dialogs_->messages.value(1).contains("folder"));
        QCOMPARE(activeTitle(), "Custom Benchmark1");
        closeActive();
        dialogs_->fileNames = {folder_->filePath("missing.vlt")};
        QVERIFY(!documents_->openDocument());
        QCOMPARE(dialogs_->messages.size(), 3);
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
