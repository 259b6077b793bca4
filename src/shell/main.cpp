#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "shell/FrameConfig.h"
#include "shell/MainFrame.h"
#include "shell/Pictures.h"
#include "shellcore/TerminalAnswer.h"

int main(int argc, char** argv) {
    using namespace veltrane::shell;
    // Answered in the terminal, before any window or display is needed.
    if (const auto answer =
            terminalAnswer(std::vector<std::string>(argv + 1, argv + argc), VELTRANE_VERSION)) {
        std::fputs(answer->c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QLatin1String(kProductName));
    QApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QApplication::setWindowIcon(programIcon());

    CMainFrame frame;
    if (!frame.create()) {
        return frame.exitStatus();
    }
    frame.showMaximized();
    frame.setVersionText(QLatin1String(kVersionText));
    return QApplication::exec();
}
