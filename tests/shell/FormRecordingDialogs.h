#pragma once

#include <QDialog>
#include <QStringList>
#include <deque>

#include "shell/Dialogs.h"

namespace veltrane::test {

// Answers every modal window as a test told it to and records what was
// shown, so no test ever waits for a person. Installed for its lifetime.
class FormRecordingDialogs final : public shell::Dialogs {
public:
    struct Message {
        QString text;
        QString title;
        shell::MessageIcon icon;
        shell::MessageButtons buttons;
    };

    FormRecordingDialogs() { shell::setDialogs(this); }
    ~FormRecordingDialogs() override { shell::setDialogs(nullptr); }
    FormRecordingDialogs(const FormRecordingDialogs&) = delete;
    FormRecordingDialogs& operator=(const FormRecordingDialogs&) = delete;

    shell::MessageAnswer message(QWidget*, const QString& text, const QString& title,
                                 shell::MessageIcon icon, shell::MessageButtons buttons) override {
        messages.push_back({text, title, icon, buttons});
        return next(answers, shell::MessageAnswer::Ok);
    }
    QString saveFileName(QWidget*, const QString& caption, const QString& defaultName,
                         const QString&) override {
        choosers << caption + QStringLiteral(": ") + defaultName;
        return next(fileNames, QString());
    }
    QString openFileName(QWidget*, const QString& caption, const QString&) override {
        choosers << caption;
        return next(fileNames, QString());
    }
    std::optional<QColor> chooseColor(QWidget*, const QColor&) override { return std::nullopt; }
    int execModal(QDialog&) override { return QDialog::Rejected; }
    bool openUrl(const QUrl& url) override {
        openedUrls.push_back(url);
        return true;
    }

    // Answers in the order they will be asked; an empty queue answers OK or
    // cancels the chooser.
    std::deque<shell::MessageAnswer> answers;
    std::deque<QString> fileNames;

    std::vector<Message> messages;
    QStringList choosers;
    std::vector<QUrl> openedUrls;

private:
    template <typename T>
    static T next(std::deque<T>& queue, T fallback) {
        if (queue.empty()) {
            return fallback;
        }
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

}  // namespace veltrane::test
