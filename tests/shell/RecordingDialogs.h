#pragma once

#include <QDialog>
#include <QList>
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

// Installed for its lifetime in place of the desktop's windows: records
// every message box, chooser, modal window and opened address, and answers
// as told. A modal window is never shown: its answer is a callback (which
// may click its buttons) or, without one, Rejected.
class RecordingDialogs final : public Dialogs {
public:
    using ModalAnswer = std::function<int(QDialog&)>;

    RecordingDialogs() { setDialogs(this); }
    ~RecordingDialogs() override { setDialogs(nullptr); }
    RecordingDialogs(const RecordingDialogs&) = delete;
    RecordingDialogs& operator=(const RecordingDialogs&) = delete;

    // Answers, used in order; when none is left, message boxes answer Ok,
    // choosers cancel.
    std::deque<MessageAnswer> messageAnswers;
    std::deque<QString> fileNames;
    std::deque<std::optional<QColor>> colors;
    // By window title.
    QMap<QString, ModalAnswer> modalAnswers;

    std::vector<ShownMessage> messages;
    QStringList modalTitles;
    QStringList chooserCaptions;
    QList<QUrl> openedUrls;

    MessageAnswer message(QWidget*, const QString& text, const QString& title, MessageIcon icon,
                          MessageButtons buttons) override {
        messages.push_back({text, title, icon, buttons});
        return next(messageAnswers, MessageAnswer::Ok);
    }
    QString saveFileName(QWidget*, const QString& caption, const QString&,
                         const QString&) override {
        chooserCaptions.append(caption);
        return next(fileNames, QString());
    }
    QString openFileName(QWidget*, const QString& caption, const QString&) override {
        chooserCaptions.append(caption);
        return next(fileNames, QString());
    }
    std::optional<QColor> chooseColor(QWidget*, const QColor&) override {
        return next(colors, std::optional<QColor>());
    }
    int execModal(QDialog& dialog) override {
        modalTitles.append(dialog.windowTitle());
        const auto answer = modalAnswers.find(dialog.windowTitle());
        return answer != modalAnswers.end() ? (*answer)(dialog) : int(QDialog::Rejected);
    }
    bool openUrl(const QUrl& url) override {
        openedUrls.append(url);
        return true;
    }

    QStringList messageTexts() const {
        QStringList texts;
        for (const auto& shown : messages) {
            texts.append(shown.text);
        }
        return texts;
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
