#include "shell/SystemDetailsDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "engine/ReferenceDetails.h"
#include "shell/InfoList.h"
#include "shell/WindowPlacement.h"

namespace veltrane::shell {

SystemDetailsDlg::SystemDetailsDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SystemDetailsDlg"));
    setWindowTitle(QStringLiteral("System Details"));
    auto* heading = new QLabel(QStringLiteral("System Details"));
    QFont font = heading->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.3);
    heading->setFont(font);
    list_ = makeInfoList(this, 200, 240);
    list_->setObjectName(QStringLiteral("detailsList"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::hide);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);
    resize(480, 420);
}

bool SystemDetailsDlg::showEntry(const engine::ReferenceDatabase& references, int position,
                                 int list) {
    const auto rows = engine::referenceDetailsRows(references, position, list);
    if (rows.empty()) {
        return false;
    }
    fillInfoList(*list_, rows, false);
    showCentred(*this);
    return true;
}

}  // namespace veltrane::shell
