#pragma once

#include <QDialog>
#include <QString>
#include <vector>

#include "engine/ProgressModel.h"
#include "engine/RunRequest.h"

class QGridLayout;
class QLabel;
class QProgressBar;
class QTreeWidget;
class QWidget;

namespace veltrane::shell {

// A progress window. Its run cannot be stopped, so while it goes the window
// can be neither closed (title bar, Alt+F4, Esc) nor maximised: a run must
// not go on unseen behind a frame that says "Ready".
class RunWindow : public QDialog {
    Q_OBJECT

public:
    virtual bool running() const = 0;

protected:
    explicit RunWindow(QWidget* parent);
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void changeEvent(QEvent* event) override;
};

// The controls that show one benchmark thread in a progress window.
struct ThreadPanel {
    QLabel* counter = nullptr;  // between "Now processing thread" and "of 7 "
    QLabel* name = nullptr;
    QLabel* unit = nullptr;
    QLabel* description = nullptr;
    QProgressBar* current = nullptr;  // "Current thread state"
    QLabel* currentPercent = nullptr;
    QProgressBar* overall = nullptr;  // "Overall Process"
    QLabel* overallPercent = nullptr;

    // Builds the controls into `parent`; object names start with `prefix`.
    QWidget* build(QWidget* parent, const QString& prefix);
    // Shows what the model says about the thread.
    void show(const engine::ThreadProgress& view);
};

// "CPU and System Information" with its columns "Item" and "Description".
QTreeWidget* makeInfoList(QWidget* parent, int itemWidth, int descriptionWidth);
void fillInfoList(QTreeWidget& list, const std::vector<engine::InfoRow>& rows);

// "Benchmarking, please wait..." in its large italic face.
QLabel* makePleaseWaitLabel(QWidget* parent, int weight);

// The request to keep still during the run, centred under the bars.
QLabel* makeKeepStillNotice(QWidget* parent);

}  // namespace veltrane::shell
