#include "shell/ProjectDocuments.h"

#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVariant>

#include "shell/BenchmarkForm.h"
#include "shell/Dialogs.h"
#include "shellcore/FrameRequests.h"

namespace veltrane::shell {

namespace {

constexpr const char* kTitleProperty = "veltraneDocumentTitle";
constexpr const char* kPathProperty = "veltraneDocumentPath";
constexpr const char* kAllFiles = "All Files (*)";

void setDocument(QMdiSubWindow& window, const QString& title, const QString& path) {
    window.setProperty(kTitleProperty, title);
    window.setProperty(kPathProperty, path);
    window.setWindowTitle(title + QStringLiteral(" - Benchmark settings"));
    if (auto* form = qobject_cast<BenchmarkForm*>(window.widget())) {
        form->setProjectName(title);
    }
}

}  // namespace

ProjectDocuments::ProjectDocuments(QMdiArea& area, FrameRequests& frame)
    : area_(area),
      frame_(frame),
      factsSource_([&frame] { return withMemoryNow(frame.machineFacts()); }) {}

QMdiSubWindow* ProjectDocuments::newDocument() {
    return addDocument(QStringLiteral("Custom Benchmark%1").arg(++untitledCount_), QString());
}

bool ProjectDocuments::openDocument() {
    if (area_.currentSubWindow() != nullptr) {
        return false;
    }
    const QString path = dialogs().openFileName(area_.window(), QStringLiteral("Open"),
                                                QString::fromLatin1(kAllFiles));
    if (path.isEmpty()) {
        return false;
    }
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        showFileError(
            QStringLiteral("Cannot open the project file"), path,
            QFileInfo(path).isDir() ? QStringLiteral("it is a folder") : file.errorString());
        return false;
    }
    // Nothing is read. Only an empty file is a project that Save may write
    // back over; any other file keeps its content and Save asks for a name.
    const bool emptyFile = file.size() == 0;
    file.close();
    addDocument(QFileInfo(path).fileName(), emptyFile ? path : QString());
    return true;
}

bool ProjectDocuments::saveActiveDocument() {
    QMdiSubWindow* window = area_.currentSubWindow();
    if (window == nullptr) {
        return false;
    }
    QString path = documentPath(*window);
    if (path.isEmpty()) {
        path = dialogs().saveFileName(window, QStringLiteral("Save As"), documentTitle(*window),
                                      QString::fromLatin1(kAllFiles));
        if (path.isEmpty()) {
            return false;
        }
    }
    if (!writeEmptyProject(path)) {
        return false;
    }
    setDocument(*window, QFileInfo(path).fileName(), path);
    return true;
}

void ProjectDocuments::closeActiveDocument() {
    // Deleted later, so a form may close its own document from a handler.
    if (QMdiSubWindow* window = area_.currentSubWindow()) {
        window->close();
    }
}

BenchmarkForm* ProjectDocuments::activeForm() const {
    QMdiSubWindow* window = area_.currentSubWindow();
    return window ? qobject_cast<BenchmarkForm*>(window->widget()) : nullptr;
}

QString ProjectDocuments::documentTitle(const QMdiSubWindow& window) {
    return window.property(kTitleProperty).toString();
}

QString ProjectDocuments::documentPath(const QMdiSubWindow& window) {
    return window.property(kPathProperty).toString();
}

void ProjectDocuments::setFactsSource(std::function<ident::MachineFacts()> source) {
    factsSource_ = std::move(source);
}

QMdiSubWindow* ProjectDocuments::addDocument(const QString& title, const QString& path) {
    auto* window = new QMdiSubWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWidget(new BenchmarkForm(frame_, factsSource_()));
    area_.addSubWindow(window);
    setDocument(*window, title, path);
    window->show();
    area_.setActiveSubWindow(window);
    frame_.postCommand(cmd::WindowCascade);
    return window;
}

bool ProjectDocuments::writeEmptyProject(const QString& path) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        showFileError(
            QStringLiteral("Cannot save the project file"), path,
            QFileInfo(path).isDir() ? QStringLiteral("it is a folder") : file.errorString());
        return false;
    }
    return true;
}

void ProjectDocuments::showFileError(const QString& text, const QString& path,
                                     const QString& reason) {
    dialogs().message(area_.window(), QStringLiteral("%1 \"%2\": %3.").arg(text, path, reason),
                      QStringLiteral("Veltrane Error"), MessageIcon::Stop, MessageButtons::Ok);
}

}  // namespace veltrane::shell
