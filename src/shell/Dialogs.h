#pragma once

#include <QColor>
#include <QString>
#include <QUrl>
#include <optional>

class QDialog;
class QInputDialog;
class QWidget;

namespace veltrane::shell {

enum class MessageIcon { Error, Stop, Warning, Exclamation, Information, Question };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// Every modal interaction of the program goes through here: message boxes,
// file and colour choosers, modal dialogs and opening documents. The program
// uses the Qt implementation; tests install a recorder that answers as told,
// so no test ever blocks on a modal window.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual MessageAnswer message(QWidget* parent, const QString& text, const QString& title,
                                  MessageIcon icon, MessageButtons buttons) = 0;
    // An empty name means the user cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& caption,
                                 const QString& defaultName, const QString& filter) = 0;
    virtual QString openFileName(QWidget* parent, const QString& caption,
                                 const QString& filter) = 0;
    virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) = 0;
    // A line of text asked for under `label`, `initial` filled in; nothing
    // when the user cancelled.
    virtual std::optional<QString> textInput(QWidget* parent, const QString& title,
                                             const QString& label, const QString& initial) = 0;
    // Runs a dialog modally and returns its result code.
    virtual int execModal(QDialog& dialog) = 0;
    // Opens a document or web address in the desktop's viewer.
    virtual bool openUrl(const QUrl& url) = 0;
};

// The window textInput shows, not yet shown (the screenshots render it too).
QInputDialog* makeTextQuestion(QWidget* parent, const QString& title, const QString& label,
                               const QString& initial);

// Opens `url` in the desktop's viewer; when nothing opens it, says so in the
// program's error box, naming it as `what` ("web site"). False then.
bool openOrSay(QWidget* owner, const QUrl& url, const QString& what);
// The help page "index.htm" from the data files, or the same box.
bool openHelpPage(QWidget* owner);

// The installed implementation (the Qt one unless a test replaced it).
Dialogs& dialogs();
// Installs `replacement` (not owned); nullptr restores the Qt implementation.
void setDialogs(Dialogs* replacement);

}  // namespace veltrane::shell
