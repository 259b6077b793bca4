#include <QApplication>

#include "shell/FrameConfig.h"
#include "shell/MainFrame.h"
#include "shell/Pictures.h"

int main(int argc, char** argv) {
    using namespace veltrane::shell;
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
