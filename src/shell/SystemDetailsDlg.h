#pragma once

#include <QDialog>

#include "engine/ReferenceDatabase.h"

class QTreeWidget;

namespace veltrane::shell {

// "System Details": the seventeen values of one reference entry.
class SystemDetailsDlg final : public QDialog {
    Q_OBJECT

public:
    explicit SystemDetailsDlg(QWidget* parent);

    // The entry at `position` of the list of suite `list`, shown centred;
    // false, and nothing shown, for an entry that is not there.
    bool showEntry(const engine::ReferenceDatabase& references, int position, int list);

    QTreeWidget& list() const { return *list_; }

private:
    QTreeWidget* list_ = nullptr;
};

}  // namespace veltrane::shell
