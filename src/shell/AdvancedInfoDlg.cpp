#include "shell/AdvancedInfoDlg.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>
#include <utility>

#include "shell/InfoPages.h"
#include "shell/ProcessorTodayPage.h"
#include "shell/WindowPlacement.h"

namespace veltrane::shell {

AdvancedInfoDlg::AdvancedInfoDlg(QWidget* parent, ident::MachineFacts machine)
    : QDialog(parent), machine_(std::move(machine)) {
    setObjectName(QStringLiteral("AdvancedInfoDlg"));
    setWindowTitle(QStringLiteral("Advanced informations"));
    auto* layout = new QVBoxLayout(this);
    sheet_ = new CAdvInfoPropSheet(machine_, this);
    layout->addWidget(sheet_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void AdvancedInfoDlg::showPage(int index) {
    if (index >= 0 && index < sheet_->count()) {
        sheet_->setCurrentIndex(index);
    }
    // The clock may have been measured since the window was last shown.
    if (auto* cpu = qobject_cast<AdvCPUInfoDlg*>(sheet_->widget(0))) {
        cpu->refresh();
    }
    showCentred(*this);
}

void AdvancedInfoDlg::hideEvent(QHideEvent* event) {
    if (auto* today = sheet_->findChild<CProcessorTodayPage*>()) {
        today->cancelLadder();
    }
    QDialog::hideEvent(event);
}

int AdvancedInfoDlg::currentPage() const {
    return sheet_->currentIndex();
}

}  // namespace veltrane::shell
