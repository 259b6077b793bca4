#include "shell/Dialogs.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <memory>

#include "platform/DataFiles.h"
#include "shell/FrameConfig.h"

namespace veltrane::shell {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Error:
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::Warning:
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Information:
            break;
    }
    return QMessageBox::Information;
}

QMessageBox::StandardButtons boxButtons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

MessageAnswer answerOf(int button) {
    switch (button) {
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        default:
            return MessageAnswer::Cancel;
    }
}

// The desktop's own windows, each run modally.
class QtDialogs final : public Dialogs {
public:
    MessageAnswer message(QWidget* parent, const QString& text, const QString& title,
                          MessageIcon icon, MessageButtons buttons) override {
        QMessageBox box(boxIcon(icon), title, text, boxButtons(buttons), parent);
        return answerOf(box.exec());
    }

    QString saveFileName(QWidget* parent, const QString& caption, const QString& defaultName,
                         const QString& filter) override {
        return QFileDialog::getSaveFileName(parent, caption, defaultName, filter);
    }

    QString openFileName(QWidget* parent, const QString& caption, const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
    }

    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override {
        const QColor color = QColorDialog::getColor(initial, parent);
        if (!color.isValid()) {
            return std::nullopt;
        }
        return color;
    }

    std::optional<QString> textInput(QWidget* parent, const QString& title, const QString& label,
                                     const QString& initial) override {
        std::unique_ptr<QInputDialog> question(makeTextQuestion(parent, title, label, initial));
        if (question->exec() != QDialog::Accepted) {
            return std::nullopt;
        }
        return question->textValue();
    }

    int execModal(QDialog& dialog) override { return dialog.exec(); }

    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

QtDialogs& qtDialogs() {
    static QtDialogs instance;
    return instance;
}

Dialogs* installed = nullptr;

bool sayUnopened(QWidget* owner, const QString& what, const QString& target) {
    dialogs().message(owner, QStringLiteral("The %1 %2 could not be opened.").arg(what, target),
                      QLatin1String(kErrorTitle), MessageIcon::Stop, MessageButtons::Ok);
    return false;
}

}  // namespace

QInputDialog* makeTextQuestion(QWidget* parent, const QString& title, const QString& label,
                               const QString& initial) {
    auto* question = new QInputDialog(parent);
    question->setWindowTitle(title);
    question->setLabelText(label);
    question->setTextValue(initial);
    question->setMinimumWidth(360);
    return question;
}

bool openOrSay(QWidget* owner, const QUrl& url, const QString& what) {
    if (dialogs().openUrl(url)) {
        return true;
    }
    return sayUnopened(owner, what, url.isLocalFile() ? url.toLocalFile() : url.toString());
}

bool openHelpPage(QWidget* owner) {
    const QString page = QStringLiteral("help page");
    const auto path = platform::findDataFile(kHelpFile);
    if (!path) {
        return sayUnopened(owner, page, QLatin1String(kHelpFile));
    }
    return openOrSay(
        owner, QUrl::fromLocalFile(QFileInfo(QString::fromStdString(*path)).absoluteFilePath()),
        page);
}

Dialogs& dialogs() {
    return installed != nullptr ? *installed : qtDialogs();
}

void setDialogs(Dialogs* replacement) {
    installed = replacement;
}

}  // namespace veltrane::shell
