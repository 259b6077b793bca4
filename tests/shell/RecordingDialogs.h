#pragma once

#include <QDialog>
#include <QMap>
#include <QStringList>
#include <QUrl>
#include <deque>
#include <functional>
#include <vector>

#include "shell/Dialogs.h"

namespace veltrane::shell::test {

struct ShownMessage {
    QString text;
    QString title;
    MessageIcon icon;
    MessageButtons buttons;
};

// Installed for its lifetime in place of the desktop's windows, so no test
// ever waits for a person: records every message box, chooser, modal window
// and opened address, and answers as told. A modal window is never shown: its
// answer is a callback (which may click its buttons) or, without one, Rejected.
class RecordingDialogs final : public Dialogs {
public:
    using ModalAnswer = std::function<int(QDialog&)>;

    RecordingDialogs() { setDialogs(this); }
    ~RecordingDialogs() override { setDialogs(nullptr); }
    RecordingDialogs(const RecordingDialogs&) = delete;
    RecordingDialogs& operator=(const RecordingDialogs&) = delete;

    // Answers, used in order; when none is left, message boxes answer Ok and
    // choosers cancel.
    std::deque<MessageAnswer> messageAnswers;
    std::deque<QString> fileNames;
    QMap<QString, ModalAnswer> modalAnswers;  // by window title

    std::vector<ShownMessage> messages;
    QStringList modalTitles;
    QStringList choosers;  // "Open", "Save As: <default name>"
    QList<QUrl> openedUrls;

    MessageAnswer message(QWidget*, const QString& text, const QString& title, MessageIcon icon,
                          MessageButtons buttons) override {
        messages.push_back({text, title, icon, buttons});
        return next(messageAnswers, MessageAnswer::Ok);
    }
    QString saveFileName(QWidget*, const QString& caption, const QString& defaultName,
                         const QString&) override {
        choosers.append(caption + QStringLiteral(": ") + defaultName);
        return next(fileNames, QString());
    }
    QString openFileName(QWidget*, const QString& caption, const QString&) override {
        choosers.append(caption);
        return next(fileNames, QString());
    }
    std::optional<QColor> chooseColor(QWidget*, const QColor&) override { return std::nullopt; }
    int execModal(QDialog& dialog) override {
        modalTitles.append(dialog.windowTitle());
        const auto answer = modalAnswers.find(dialog.windowTitle());
        return answer != modalAnswers.end() ? (*answer)(dialog) : int(QDialog::Rejected);
    }
    bool openUrl(const QUrl& url) override {
        openedUrls.append(url);
        return true;
    }

private:
    template <typename T>
    static T next(std::deque<T>& answers, T fallback) {
        if (answers.empty()) {
            return fallback;
        }
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace veltrane::shell::test
