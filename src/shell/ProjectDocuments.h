#pragma once

#include <QString>
#include <functional>

#include "shellcore/BenchmarkFormModel.h"

class QMdiArea;
class QMdiSubWindow;

namespace veltrane::shell {

class BenchmarkForm;
class FrameRequests;

// The benchmark projects: each document is a child window holding the main
// benchmark form. A project file carries nothing: saving writes zero bytes
// and opening reads none, so a document is never modified.
class ProjectDocuments {
public:
    ProjectDocuments(QMdiArea& area, FrameRequests& frame);

    // "Custom Benchmark1", "Custom Benchmark2", ...
    QMdiSubWindow* newDocument();
    // Only while no child window is active; the chosen file names the document.
    bool openDocument();
    // Asks for a name the first time; the file is left with zero bytes.
    bool saveActiveDocument();
    void closeActiveDocument();

    // The active document's form, which gets the menu commands first.
    BenchmarkForm* activeForm() const;
    static QString documentTitle(const QMdiSubWindow& window);
    static QString documentPath(const QMdiSubWindow& window);

    // Where new forms take their facts from: the frame's, with the memory
    // figures of the moment, unless a test supplies recorded ones.
    void setFactsSource(std::function<ident::MachineFacts()> source);

private:
    QMdiSubWindow* addDocument(const QString& title, const QString& path);
    bool writeEmptyProject(const QString& path);
    void showFileError(const QString& text, const QString& path, const QString& reason);

    QMdiArea& area_;
    FrameRequests& frame_;
    std::function<ident::MachineFacts()> factsSource_;
    int untitledCount_ = 0;
};

}  // namespace veltrane::shell
