#include "shell/InfoList.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>

namespace veltrane::shell {

QTreeWidget* makeInfoList(QWidget* parent, int itemWidth, int descriptionWidth) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QStringLiteral("infoList"));
    list->setRootIsDecorated(false);
    list->setColumnCount(2);
    list->setHeaderLabels({QStringLiteral("Item"), QStringLiteral("Description")});
    list->setColumnWidth(0, itemWidth);
    list->setColumnWidth(1, descriptionWidth);
    list->setMinimumWidth(itemWidth + descriptionWidth + 4);
    list->header()->setStretchLastSection(true);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    return list;
}

void fillInfoList(QTreeWidget& list, const std::vector<engine::InfoRow>& rows, bool fitHeight) {
    list.clear();
    int itemWidth = 0;
    for (const auto& row : rows) {
        const QString item = QString::fromStdString(row.item);
        new QTreeWidgetItem(&list, {item, QString::fromStdString(row.description)});
        itemWidth = std::max(itemWidth, list.fontMetrics().horizontalAdvance(item));
    }
    // The item texts whole, even where the face is wider than the one the
    // column widths were made for.
    if (itemWidth + 20 > list.columnWidth(0)) {
        list.setColumnWidth(0, itemWidth + 20);
    }
    if (fitHeight) {
        const int rowHeight = std::max(list.sizeHintForRow(0), list.fontMetrics().height());
        list.setFixedHeight(list.header()->sizeHint().height() +
                            rowHeight * static_cast<int>(rows.size()) + 2 * list.frameWidth() + 6);
    }
}

}  // namespace veltrane::shell
