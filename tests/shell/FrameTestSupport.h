#pragma once

#include <QDialog>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <deque>
#include <functional>
#include <memory>

#include "FakeScaling.h"
#include "burnin/LoopFakes.h"
#include "ident/Clock.h"
#include "ident/ProcessorFacts.h"
#include "platform/CpuidDump.h"
#include "shell/Dialogs.h"
#include "shell/FrameEnvironment.h"
#include "shell/MainFrame.h"

namespace veltrane::shell::test {

// In place of the desktop's windows for its lifetime, so no test waits for a
// person: records what would be shown and answers as told. A modal window is
// never shown: a callback by title answers it (and may click its buttons).
class RecordingDialogs final : public Dialogs {
public:
    RecordingDialogs() { setDialogs(this); }
    ~RecordingDialogs() override { setDialogs(nullptr); }

    // Used in order; then message boxes answer Ok, choosers cancel, modals Rejected.
    std::deque<MessageAnswer> messageAnswers;
    std::deque<QString> fileNames;
    std::deque<QColor> colors;  // the colour chooser's answers; then it cancels
    std::deque<QString> texts;  // the text questions' answers; then they cancel
    QMap<QString, std::function<int(QDialog&)>> modalAnswers;  // by window title
    bool viewerOpens = true;                                   // false: openUrl fails

    QStringList messages;                                       // "title: text"
    std::vector<std::pair<MessageIcon, MessageButtons>> kinds;  // of each message
    QStringList modalTitles;
    QStringList shown;      // messages ("title: text") and modal windows ("<title>") in order
    QStringList choosers;   // "Open", "Save As: <default name>"
    QStringList questions;  // "title: label [initial text]"
    QList<QUrl> openedUrls;

    MessageAnswer message(QWidget*, const QString& text, const QString& title, MessageIcon icon,
                          MessageButtons buttons) override {
        messages << title + ": " + text;
        shown << messages.back();
        kinds.emplace_back(icon, buttons);
        return take(messageAnswers, MessageAnswer::Ok);
    }
    QString saveFileName(QWidget*, const QString& caption, const QString& defaultName,
                         const QString&) override {
        choosers << caption + ": " + defaultName;
        return take(fileNames, QString());
    }
    QString openFileName(QWidget*, const QString& caption, const QString&) override {
        choosers << caption;
        return take(fileNames, QString());
    }
    std::optional<QColor> chooseColor(QWidget*, const QColor& initial) override {
        choosers << "Color from " + initial.name();
        if (colors.empty()) {
            return std::nullopt;
        }
        return take(colors, QColor());
    }
    std::optional<QString> textInput(QWidget*, const QString& title, const QString& label,
                                     const QString& initial) override {
        questions << title + ": " + label + " [" + initial + "]";
        shown << questions.back();
        if (texts.empty()) {
            return std::nullopt;
        }
        return take(texts, QString());
    }
    int execModal(QDialog& dialog) override {
        modalTitles << dialog.windowTitle();
        shown << "<" + dialog.windowTitle() + ">";
        const auto answer = modalAnswers.find(dialog.windowTitle());
        return answer != modalAnswers.end() ? (*answer)(dialog) : int(QDialog::Rejected);
    }
    bool openUrl(const QUrl& url) override {
        openedUrls << url;
        return viewerOpens;
    }

private:
    template <typename T>
    static T take(std::deque<T>& answers, T answer) {
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        return answer;
    }
};

// Thread procedures: the real suites, small; runs that end at once; runs that
// end only after releaseHeldRuns(), held from the call on.
suites::SuiteProcedures smallSuiteThreads();
suites::SuiteProcedures instantSuiteThreads();
suites::SuiteProcedures heldSuiteThreads();
void releaseHeldRuns();

struct FakeProcessor {
    int processors = 1;
    bool simd = true;  // SSE, SSE2 and 3DNow!
};

// What a frame under test takes from outside, kept in a temporary folder:
// the messages it shows, a recorded processor, a clock already measured,
// the same reference list for every suite (empty unless set), no PCI scan,
// its own "tempdata", "FirstRun" and results history.
class FrameBench {
public:
    explicit FrameBench(FakeProcessor processor = {},
                        suites::SuiteProcedures threads = instantSuiteThreads());

    FrameEnvironment environment();
    // A frame after create(); nullptr when creation failed.
    std::unique_ptr<CMainFrame> createFrame();
    // A frame shown as the program shows it, whose start-up step has run
    // (the chooser answered as set up, and its record cleared).
    std::unique_ptr<CMainFrame> startedFrame();

    QString path(const QString& name) const { return dir.filePath(name); }
    // The frame's results history, in the temporary folder.
    QString historyPath() const { return path(QStringLiteral("results.sqlite")); }

    // What the display server says of the lock keys; nullopt: it cannot tell.
    std::optional<LockKeys> lockKeys = LockKeys{};
    std::string references;           // the text of every reference file
    ident::RunConditions conditions;  // of every run: a quiet machine unless set
    // The loop windows' clock, unit result hook and time-critical answer.
    burnin::test::FakeLoopClock loopClock{burnin::test::clockAt(10, 0)};
    burnin::LoopRunner::ResultHook loopHook;
    platform::PriorityGrant loopGrant = platform::PriorityGrant::Granted;
    // The multi-core run's threads and the processors it may use.
    suites::ScalingWorkerFactory scalingWorkers = fakeScalingWorkers();
    std::vector<int> processors{0, 1, 2, 3};

    RecordingDialogs dialogs;
    QTemporaryDir dir;
    ident::ProcessorFacts facts;
    ident::ClockState clock;
    platform::RecordedCpuProbe probe;
    suites::SuiteProcedures threads;
};

// Whole files; an unreadable one reads as "<unreadable>", not as empty.
void writeFile(const QString& path, const QByteArray& content = {});
QByteArray readFile(const QString& path);

// A reference file of `count` made-up systems "Reference system A" to "E"
// (chipsets "Chipset A" ...), their figures rising by the letter; the first
// has the shipped lists' picture, the others one the program does not know.
std::string sampleReferences(int count);

// Serves events until the run has ended and the results window is up.
bool waitForResults(const CMainFrame& frame, int timeoutMs = 30000);

// A recorded frame's log, for comparing with QStringLists.
QStringList logLines(const std::vector<std::string>& log);

}  // namespace veltrane::shell::test
