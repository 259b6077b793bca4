#include "shell/DatabasePage.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "engine/ReferenceDetails.h"
#include "reports/ComparisonPages.h"
#include "shell/Controls.h"

namespace veltrane::shell {

DatabasePage::DatabasePage(const engine::ReferenceDatabase& references, QWidget* parent)
    : QWidget(parent), references_(references) {
    comparison_ = new QComboBox;
    comparison_->setObjectName(QStringLiteral("comparisonList"));
    for (int list = 0; list < engine::kReferenceListCount; ++list) {
        comparison_->addItem(QString::fromLatin1(reports::comparisonListName(list)));
    }
    connect(comparison_, &QComboBox::currentIndexChanged, this, &DatabasePage::showList);
    table_ = new QTreeWidget;
    table_->setObjectName(QStringLiteral("databaseList"));
    table_->setRootIsDecorated(false);
    table_->setAlternatingRowColors(true);
    QStringList headings;
    for (const auto& column : engine::databaseColumns()) {
        headings << QString::fromStdString(column);
    }
    table_->setHeaderLabels(headings);
    remove_ = namedButton(QStringLiteral("Remove"), QStringLiteral("removeButton"), false);
    remove_->setToolTip(QStringLiteral("Removes the selected entry of your own"));
    connect(table_, &QTreeWidget::itemSelectionChanged, this,
            [this] { remove_->setEnabled(selectedUserEntry() != 0); });
    connect(remove_, &QPushButton::clicked, this, [this] {
        if (const std::int64_t id = selectedUserEntry()) {
            emit removeRequested(id);
        }
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Reference systems of the comparison:")));
    layout->addWidget(comparison_);
    layout->addWidget(table_, 1);
    layout->addWidget(remove_, 0, Qt::AlignRight);
}

void DatabasePage::refresh() {
    showList(comparison_->currentIndex());
}

std::int64_t DatabasePage::selectedUserEntry() const {
    const int list = comparison_->currentIndex();
    QTreeWidgetItem* item = table_->currentItem();
    if (list < 0 || list >= engine::kReferenceListCount || item == nullptr || !item->isSelected()) {
        return 0;
    }
    const auto& entries = references_.lists[static_cast<std::size_t>(list)];
    const auto row = static_cast<std::size_t>(table_->indexOfTopLevelItem(item));
    return row < entries.size() ? entries[row].userEntryId : 0;
}

void DatabasePage::load(int list) {
    if (comparison_->currentIndex() == list) {
        showList(list);
        return;
    }
    comparison_->setCurrentIndex(list);
}

void DatabasePage::showList(int list) {
    table_->clear();
    remove_->setEnabled(false);
    for (const auto& row : engine::databaseRows(references_, list)) {
        QStringList cells;
        for (const auto& cell : row) {
            cells << QString::fromStdString(cell);
        }
        auto* item = new QTreeWidgetItem(table_, cells);
        for (int column = 2; column < cells.size() - 1; ++column) {
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    table_->header()->resizeSections(QHeaderView::ResizeToContents);
}

}  // namespace veltrane::shell
