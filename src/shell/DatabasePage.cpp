#include "shell/DatabasePage.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "engine/ReferenceDetails.h"
#include "reports/ComparisonPages.h"

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
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Reference systems of the comparison:")));
    layout->addWidget(comparison_);
    layout->addWidget(table_, 1);
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
