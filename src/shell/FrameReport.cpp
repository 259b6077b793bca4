// The main frame's answer to WM_WRITE_REPORT: the HTML report of the current
// result, to a file the user chooses.
#include <QFileInfo>

#include "reports/HtmlReportFile.h"
#include "shell/Dialogs.h"
#include "shell/MainFrame.h"

namespace veltrane::shell {

void CMainFrame::writeHtmlReport() {
    // The memory figures are taken before the chooser opens; the working
    // folder is the same afterwards, whatever the chooser or the write did.
    const ident::MemoryInfo memory;
    const reports::ReportWorkingDirectory keepFolder;
    const QString chosen = dialogs().saveFileName(
        this, tr("Save the report"), QString::fromUtf8(reports::kDefaultReportFileName),
        QStringLiteral("%1 (*.htm *.html)").arg(QString::fromUtf8(reports::kReportFilterName)));
    if (chosen.isEmpty()) {
        return;
    }
    const auto path = reports::withReportExtension(chosen.toStdString());
    // The chooser asked about the name as typed; the added ".htm" may name
    // another file, which must not be replaced unasked.
    if (path != chosen.toStdString() && QFileInfo::exists(QString::fromStdString(path)) &&
        dialogs().message(
            this,
            tr("%1 already exists.\nDo you want to replace it?").arg(QString::fromStdString(path)),
            tr("Save the report"), MessageIcon::Warning,
            MessageButtons::YesNo) != MessageAnswer::Yes) {
        return;
    }
    auto inputs =
        reports::collectReportInputs(reportTester_, reportSections_, machine_, currentResult_);
    inputs.machine.memory = memory;
    const auto result = reports::writeHtmlReport(path, inputs);
    if (!result.ok()) {
        dialogs().message(this, QString::fromUtf8(reports::kReportCreateError),
                          QString::fromUtf8(reports::kReportErrorTitle), MessageIcon::Error,
                          MessageButtons::Ok);
    }
}

}  // namespace veltrane::shell
