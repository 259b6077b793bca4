#pragma once

#include <QWidget>
#include <cstdint>

#include "engine/ReferenceDatabase.h"

class QComboBox;
class QPushButton;
class QTreeWidget;

namespace veltrane::shell {

// The "Database" page: every entry of the chosen reference list with its
// figures, one row each; the user's own entries can be removed.
class DatabasePage final : public QWidget {
    Q_OBJECT

public:
    DatabasePage(const engine::ReferenceDatabase& references, QWidget* parent = nullptr);

    // Shows the list of suite `list`, the run's own at each show.
    void load(int list);
    // The same list afresh, after the user's entries changed.
    void refresh();

    QComboBox& comparisonList() const { return *comparison_; }
    QTreeWidget& table() const { return *table_; }

signals:
    void removeRequested(qint64 userEntryId);

private:
    void showList(int list);
    // The user's id of the selected row's entry; 0 for a shipped one or none.
    std::int64_t selectedUserEntry() const;

    const engine::ReferenceDatabase& references_;
    QComboBox* comparison_ = nullptr;
    QTreeWidget* table_ = nullptr;
    QPushButton* remove_ = nullptr;
};

}  // namespace veltrane::shell
