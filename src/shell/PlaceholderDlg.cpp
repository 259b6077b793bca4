#include "shell/PlaceholderDlg.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "shell/WindowPlacement.h"

namespace veltrane::shell {

PlaceholderDlg::PlaceholderDlg(QWidget* parent, const QString& objectName, const QString& title,
                               const QStringList& pages)
    : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    if (!pages.isEmpty()) {
        tabs_ = new QTabWidget(this);
        for (const QString& page : pages) {
            tabs_->addTab(new QWidget(tabs_), page);
        }
        layout->addWidget(tabs_);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(pages.isEmpty() ? QSize(360, 120) : QSize(760, 460));
}

void PlaceholderDlg::showPage(int index) {
    if (tabs_ != nullptr && index >= 0 && index < tabs_->count()) {
        tabs_->setCurrentIndex(index);
    }
    showCentred(*this);
}

int PlaceholderDlg::currentPage() const {
    return tabs_ != nullptr ? tabs_->currentIndex() : -1;
}

int PlaceholderDlg::pageCount() const {
    return tabs_ != nullptr ? tabs_->count() : 0;
}

}  // namespace veltrane::shell
