// Project documents: numbered titles, zero-byte files, files that cannot be
// opened or written, and a form closing its own document.
#include <QAbstractButton>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "FrameTestSupport.h"
#include "RecordingFrame.h"
#include "shell/BenchmarkForm.h"
#include "shell/ProjectDocuments.h"

namespace veltrane::shell::test {

class DocumentTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dialogs_.emplace();
        folder_.emplace();
        area_ = std::make_unique<QMdiArea>();
        area_->show();
        frame_.log.clear();
        documents_ = std::make_unique<ProjectDocuments>(*area_, frame_);
        documents_->setFactsSource([] { return FormFacts(); });
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

    void newDocumentsAreNumberedAndHoldTheForm() {
        documents_->newDocument();
        QMdiSubWindow* second = documents_->newDocument();
        QCOMPARE(ProjectDocuments::documentTitle(*second), "Custom Benchmark2");
        QVERIFY(second->windowTitle().contains("Benchmark settings"));
        QCOMPARE(documents_->activeForm(), qobject_cast<BenchmarkForm*>(second->widget()));
        QCOMPARE(frame_.log.back(), "post command 57650");
    }

    void saveWritesZeroBytesAndAsksForANameOnce() {
        const QString path = folder_->filePath("bench.vlt");
        writeFile(path, "an older file");
        documents_->newDocument();
        dialogs_->fileNames = {path};
        QVERIFY(documents_->saveActiveDocument());
        QCOMPARE(readFile(path), QByteArray());
        QCOMPARE(activeTitle(), "bench.vlt");
        writeFile(path, "changed meanwhile");
        QVERIFY(documents_->saveActiveDocument());
        QCOMPARE(dialogs_->choosers, QStringList{"Save As: Custom Benchmark1"});
        QCOMPARE(readFile(path), QByteArray());
        QVERIFY(dialogs_->messages.empty());
    }

    void openNeverTouchesTheFileAndSavesOnlyAnEmptyOneBack() {
        const QString notes = folder_->filePath("notes.txt");
        const QString empty = folder_->filePath("empty.vlt");
        writeFile(notes, "somebody's notes");
        writeFile(empty);
        dialogs_->fileNames = {notes};
        QVERIFY(documents_->openDocument());
        QCOMPARE(activeTitle(), "notes.txt");
        // Saving never empties a file that held something: it asks for a name.
        QVERIFY(!documents_->saveActiveDocument());
        QVERIFY(!documents_->openDocument());  // not while a document is open
        QCOMPARE(dialogs_->choosers, QStringList({"Open", "Save As: notes.txt"}));
        QCOMPARE(readFile(notes), QByteArray("somebody's notes"));

        closeActive();
        dialogs_->fileNames = {empty};
        QVERIFY(documents_->openDocument());
        QVERIFY(documents_->saveActiveDocument());
        QCOMPARE(dialogs_->choosers.size(), 3);
        QCOMPARE(readFile(empty), QByteArray());
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
        window->widget()->findChild<QAbstractButton*>("closeButton")->click();
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
    std::unique_ptr<QMdiArea> area_;
    RecordingFrame frame_;
    std::unique_ptr<ProjectDocuments> documents_;
};

}  // namespace veltrane::shell::test

QTEST_MAIN(veltrane::shell::test::DocumentTest)
#include "DocumentTest.moc"
