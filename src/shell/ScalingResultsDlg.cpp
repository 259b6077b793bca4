#include "shell/ScalingResultsDlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "shell/Controls.h"
#include "shell/ResultChart.h"
#include "shellcore/ScalingResults.h"

namespace veltrane::shell {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

QTableWidget* makeTable(const ScalingTable& model) {
    auto* table = new QTableWidget(static_cast<int>(model.rows.size()),
                                   static_cast<int>(model.columns.size()));
    table->setObjectName(QStringLiteral("scalingTable"));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QStringList headers;
    for (const std::string& column : model.columns) {
        headers << qs(column);
    }
    table->setHorizontalHeaderLabels(headers);
    for (std::size_t r = 0; r < model.rows.size(); ++r) {
        const auto& cells = model.rows[r];
        table->setVerticalHeaderItem(static_cast<int>(r), new QTableWidgetItem(qs(cells.front())));
        for (std::size_t c = 1; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(qs(cells[c]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(static_cast<int>(r), static_cast<int>(c - 1), item);
        }
    }
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    return table;
}

QWidget* makePage(const ScalingTable& model) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* score = new QLabel(qs(model.score), page);
    score->setObjectName(QStringLiteral("score"));
    QFont bold = score->font();
    bold.setBold(true);
    score->setFont(bold);
    layout->addWidget(makeTable(model));
    layout->addWidget(score);
    return page;
}

}  // namespace

ScalingResultsDlg::ScalingResultsDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ScalingResultsDlg"));
    setWindowTitle(QStringLiteral("Multi-core Benchmark results"));
    auto* layout = new QVBoxLayout(this);
    overview_ = new QLabel(this);
    overview_->setObjectName(QStringLiteral("overview"));
    overview_->setWordWrap(true);
    layout->addWidget(overview_);
    tables_ = new QTabWidget(this);
    tables_->setObjectName(QStringLiteral("tables"));
    layout->addWidget(tables_, 3);
    chart_ = new ResultChart(this);
    chart_->setObjectName(QStringLiteral("scalingChart"));
    chart_->setMinimumSize(760, 380);
    layout->addWidget(chart_, 4);
    auto* close = namedButton(QStringLiteral("Close"), QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(900, 920);  // the sums, the efficiencies and six threads above the chart
}

void ScalingResultsDlg::showOutcome(const suites::ScalingOutcome& outcome, const QString& kept) {
    const QString overview = qs(scalingOverview(outcome));
    overview_->setText(kept.isEmpty() ? overview : overview + QLatin1Char('\n') + kept);
    while (tables_->count() > 0) {
        QWidget* page = tables_->widget(0);
        tables_->removeTab(0);
        delete page;
    }
    for (const ScalingTable& model : scalingTables(outcome)) {
        tables_->addTab(makePage(model), qs(model.heading));
    }
    // The most threads first: the one-thread table is the baseline.
    tables_->setCurrentIndex(tables_->count() - 1);
    chart_->setData(scalingChart(outcome));
}

QTableWidget* ScalingResultsDlg::table(int index) const {
    QWidget* page = tables_->widget(index);
    return page != nullptr ? page->findChild<QTableWidget*>() : nullptr;
}

}  // namespace veltrane::shell
