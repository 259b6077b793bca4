#pragma once

#include <QDialog>
#include <QStringList>

class QTabWidget;

namespace veltrane::shell {

// A window whose contents arrive later: its title and, for a window of
// pages, the pages' tabs, so requests for a page already land on it.
class PlaceholderDlg final : public QDialog {
    Q_OBJECT

public:
    PlaceholderDlg(QWidget* parent, const QString& objectName, const QString& title,
                   const QStringList& pages = {});

    // Shows the window centred with page `index` active (ignored without pages).
    void showPage(int index);
    int currentPage() const;
    int pageCount() const;

private:
    QTabWidget* tabs_ = nullptr;
};

}  // namespace veltrane::shell
