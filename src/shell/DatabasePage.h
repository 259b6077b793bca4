#pragma once

#include <QWidget>

#include "engine/ReferenceDatabase.h"

class QComboBox;
class QTreeWidget;

namespace veltrane::shell {

// The "Database" page: every entry of the chosen reference list with its
// figures, one row each.
class DatabasePage final : public QWidget {
    Q_OBJECT

public:
    DatabasePage(const engine::ReferenceDatabase& references, QWidget* parent = nullptr);

    // Shows the list of suite `list`, the run's own at each show.
    void load(int list);

    QComboBox& comparisonList() const { return *comparison_; }
    QTreeWidget& table() const { return *table_; }

private:
    void showList(int list);

    const engine::ReferenceDatabase& references_;
    QComboBox* comparison_ = nullptr;
    QTreeWidget* table_ = nullptr;
};

}  // namespace veltrane::shell
