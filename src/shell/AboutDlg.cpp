#include "shell/AboutDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "shell/FrameConfig.h"
#include "shell/Pictures.h"

namespace veltrane::shell {

AboutDlg::AboutDlg(QWidget* parent, const QString& versionText) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutDlg"));
    setWindowTitle(QStringLiteral("About %1").arg(QLatin1String(kProductName)));
    auto* icon = new QLabel(this);
    icon->setPixmap(picture(QStringLiteral("FirstIcon"), QSize(64, 64)));
    icon->setAlignment(Qt::AlignTop);
    // The release is the one veltrane --version and veltrane-cli --version give.
    auto* text = new QLabel(QStringLiteral("<p><b>%1</b></p><p>%2</p><p>Release %3</p>"
                                           "<p>Processor benchmark and system information.</p>")
                                .arg(QLatin1String(kProductName), versionText.toHtmlEscaped(),
                                     QLatin1String(VELTRANE_VERSION)),
                            this);
    text->setObjectName(QStringLiteral("aboutText"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}

}  // namespace veltrane::shell
