#include "shell/InfoFields.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "shell/Fonts.h"

namespace veltrane::shell {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

QLabel* infoHeading(const std::string& text, int pixelSize) {
    auto* label = new QLabel(qs(text));
    label->setObjectName(QStringLiteral("heading"));
    label->setFont(headingFont(pixelSize));
    return label;
}

void writeFields(QWidget& scope, const Rows& rows) {
    for (const auto& row : rows) {
        if (auto* value = scope.findChild<QLabel*>(qs(row.label))) {
            value->setText(row.enabled ? qs(row.value) : QString());
            value->setEnabled(row.enabled);
        }
    }
}

QWidget* fieldGrid(const Rows& rows, int columns, const QFont* font) {
    auto* grid = new QWidget;
    auto* layout = new QGridLayout(grid);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setVerticalSpacing(3);
    const int count = static_cast<int>(rows.size());
    const int perColumn = std::max(1, (count + columns - 1) / columns);
    for (int i = 0; i < count; ++i) {
        const auto& row = rows[static_cast<std::size_t>(i)];
        auto* label = new QLabel(qs(row.label), grid);
        auto* value = new QLabel(grid);
        value->setObjectName(qs(row.label));
        value->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setEnabled(row.enabled);
        if (font != nullptr) {
            label->setFont(*font);
            value->setFont(*font);
        }
        const int column = i / perColumn * 2;
        layout->addWidget(label, i % perColumn, column);
        layout->addWidget(value, i % perColumn, column + 1);
        layout->setColumnStretch(column + 1, 1);
    }
    writeFields(*grid, rows);
    return grid;
}

QGroupBox* fieldGroup(const std::string& title, const Rows& rows) {
    auto* box = new QGroupBox(qs(title));
    box->setObjectName(qs(title));
    (new QVBoxLayout(box))->addWidget(fieldGrid(rows, 1));
    box->setEnabled(std::any_of(rows.begin(), rows.end(), [](const auto& r) { return r.enabled; }));
    return box;
}

}  // namespace veltrane::shell
