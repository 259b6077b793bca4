// Project documents: numbered titles, zero-byte files, files that cannot be
// opened or written, and a form closing its own document.
#include <QAbstractButton>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>

#include "FormFakeFrame.h"
#include "FormRecordingDialogs.h"
#include "shell/BenchmarkForm.h"
#include "shell/ProjectDocuments.h"

using veltrane::shell::BenchmarkForm;
using veltrane::shell::FormFacts;
using veltrane::shell::ProjectDocuments;
using veltrane::test::FormFakeFrame;
using veltrane::test::FormRecordingDialogs;

namespace {

// A frame that closes the active document when asked, as the real one does.
class ClosingFrame final : public veltrane::shell::FrameRequests {
public:
    void sendRequest(int, std::intptr_t, std::intptr_t) override {}
    void postRequest(int, std::intptr_t, std::intptr_t) override {}
    void sendCommand(int command) override {
        if (command == veltrane::shell::cmd::CloseDocument) {
            documents->closeActiveDocument();
        }
    }
    void postCommand(int) override {}
    int processorCount() const override { return 1; }
    ProjectDocuments* documents = nullptr;
};

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

}  // namespace

class DocumentTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        area_ = std::make_unique<QMdiArea>();
        area_->show();
        frame_.log.clear();
        documents_ = std::make_unique<ProjectDocuments>(*area_, frame_);
        documents_->setFactsSource([] { return FormFacts(); });
    }
    void cleanup() {
        documents_.reset();
        area_.reset();
    }

    void newDocumentsAreNumberedAndHoldTheForm() {
        QMdiSubWindow* first = documents_->newDocument();
        QMdiSubWindow* second = documents_->newDocument();
        QCOMPARE(ProjectDocuments::documentTitle(*first), QStringLiteral("Custom Benchmark1"));
        QCOMPARE(ProjectDocuments::documentTitle(*second), QStringLiteral("Custom Benchmark2"));
        QVERIFY(second->windowTitle().contains("Benchmark settings"));
        QVERIFY(qobject_cast<BenchmarkForm*>(second->widget()) != nullptr);
        QCOMPARE(documents_->activeForm(), second->widget());
        QCOMPARE(frame_.log.back(), std::string("post command 57650"));
    }

    void saveWritesZeroBytesAndAsksForANameOnce() {
        FormRecordingDialogs dialogs;
        QTemporaryDir folder;
        const QString path = folder.filePath("bench.vlt");
        writeFile(path, "an older file");
        documents_->newDocument();
        dialogs.fileNames = {path};
        QVERIFY(documents_->saveActiveDocument());
        QCOMPARE(dialogs.choosers, QStringList{"Save As: Custom Benchmark1"});
        QCOMPARE(contentOf(path), QByteArray());
        QCOMPARE(ProjectDocuments::documentTitle(*area_->currentSubWindow()),
                 QStringLiteral("bench.vlt"));

        writeFile(path, "changed meanwhile");
        QVERIFY(documents_->saveActiveDocument());
        QCOMPARE(dialogs.choosers.size(), 1);
        QCOMPARE(contentOf(path), QByteArray());
        QVERIFY(dialogs.messages.empty());
    }

    void openMakesAFreshDocumentAndNeverTouchesTheFile() {
        FormRecordingDialogs dialogs;
        QTemporaryDir folder;
        const QString other = folder.filePath("notes.txt");
        writeFile(other, "somebody's notes");
        dialogs.fileNames = {other};
        QVERIFY(documents_->openDocument());
        QCOMPARE(ProjectDocuments::documentTitle(*area_->currentSubWindow()),
                 QStringLiteral("notes.txt"));
        QCOMPARE(contentOf(other), QByteArray("somebody's notes"));

        // Saving never empties a file that held something: it asks for a name.
        QVERIFY(!documents_->saveActiveDocument());
        QCOMPARE(dialogs.choosers, (QStringList{"Open", "Save As: notes.txt"}));
        QCOMPARE(contentOf(other), QByteArray("somebody's notes"));

        // While a document is open, Open does nothing.
        QVERIFY(!documents_->openDocument());
        QCOMPARE(dialogs.choosers.size(), 2);
    }

    void anEmptyProjectFileIsSavedBackWithoutAsking() {
        FormRecordingDialogs dialogs;
        QTemporaryDir folder;
        const QString project = folder.filePath("empty.vlt");
        writeFile(project, "");
        dialogs.fileNames = {project};
        QVERIFY(documents_->openDocument());
        QVERIFY(documents_->saveActiveDocument());
        QCOMPARE(dialogs.choosers, QStringList{"Open"});
        QCOMPARE(contentOf(project), QByteArray());
    }

    void filesThatCannotBeWrittenOrOpenedAreReported() {
        FormRecordingDialogs dialogs;
        QTemporaryDir folder;
        documents_->newDocument();
        const QString unwritable = folder.filePath("no/such/folder/bench.vlt");
        dialogs.fileNames = {unwritable, folder.path()};
        QVERIFY(!documents_->saveActiveDocument());
        QVERIFY(!documents_->saveActiveDocument());
        QCOMPARE(dialogs.messages.size(), std::size_t{2});
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("Veltrane Error"));
        QVERIFY(dialogs.messages[0].text.contains(unwritable));
        QVERIFY(dialogs.messages[1].text.contains("folder"));
        QCOMPARE(ProjectDocuments::documentTitle(*area_->currentSubWindow()),
                 QStringLiteral("Custom Benchmark1"));

        documents_->closeActiveDocument();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        dialogs.fileNames = {folder.filePath("missing.vlt")};
        QVERIFY(!documents_->openDocument());
        QCOMPARE(dialogs.messages.size(), std::size_t{3});
        QVERIFY(area_->subWindowList().isEmpty());
    }

    void aFormClosesItsOwnDocumentSafely() {
        ClosingFrame frame;
        ProjectDocuments documents(*area_, frame);
        documents.setFactsSource([] { return FormFacts(); });
        frame.documents = &documents;
        QMdiSubWindow* window = documents.newDocument();
        QPointer<QMdiSubWindow> watched(window);
        window->widget()->findChild<QAbstractButton*>("closeButton")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(watched.isNull());
        QVERIFY(area_->subWindowList().isEmpty());
    }

private:
    std::unique_ptr<QMdiArea> area_;
    FormFakeFrame frame_;
    std::unique_ptr<ProjectDocuments> documents_;
};

QTEST_MAIN(DocumentTest)
#include "DocumentTest.moc"
