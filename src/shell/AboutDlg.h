#pragma once

#include <QDialog>

namespace veltrane::shell {

// The About box: the product, its version and what it does.
class AboutDlg final : public QDialog {
    Q_OBJECT

public:
    AboutDlg(QWidget* parent, const QString& versionText);
};

}  // namespace veltrane::shell
