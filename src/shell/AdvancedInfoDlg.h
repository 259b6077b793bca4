#pragma once

#include <QDialog>

#include "ident/MachineFacts.h"

namespace veltrane::shell {

class CAdvInfoPropSheet;

// "Advanced informations": the property sheet of one machine's facts.
class AdvancedInfoDlg final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPageCount = 5;

    AdvancedInfoDlg(QWidget* parent, ident::MachineFacts machine);

    // Shows the window centred with page `index` active, its clock read again.
    void showPage(int index);
    int currentPage() const;
    CAdvInfoPropSheet& sheet() { return *sheet_; }

protected:
    // A memory ladder still running stops when the window closes.
    void hideEvent(QHideEvent* event) override;

private:
    ident::MachineFacts machine_;
    CAdvInfoPropSheet* sheet_ = nullptr;
};

}  // namespace veltrane::shell
