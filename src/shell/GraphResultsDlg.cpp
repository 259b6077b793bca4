#include "shell/GraphResultsDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "engine/DetailsRows.h"
#include "engine/Messages.h"
#include "engine/ReferenceDetails.h"
#include "shell/ChartPage.h"
#include "shell/Controls.h"
#include "shell/DatabasePage.h"
#include "shell/InfoList.h"
#include "shell/ResultChart.h"
#include "shell/SystemDetailsDlg.h"
#include "shell/WindowPlacement.h"
#include "shellcore/FrameRequests.h"

namespace veltrane::shell {

namespace {

constexpr int kDatabasePage = 4;
constexpr int kSheetWidth = GraphResultsDlg::kCollapsedWidth - 12;

const char* const kTabTitles[GraphResultsDlg::kPageCount] = {
    "Overall results",       "ALU/FPU results", "FPU Single/Double Precision Results",
    "RAM - ALU/FPU Results", "Database",        "MIPS/MFLOPS Result"};

}  // namespace

GraphResultsDlg::GraphResultsDlg(QWidget* parent, FrameRequests& frame,
                                 const engine::ReferenceDatabase& references)
    : QDialog(parent), frame_(frame), references_(references) {
    setObjectName(QStringLiteral("GraphResultsDlg"));
    setWindowTitle(QStringLiteral("Graph of results"));
    sheet_ = new QTabWidget;
    sheet_->setObjectName(QStringLiteral("GraphPropSheet"));
    sheet_->setUsesScrollButtons(true);
    for (int page = 0; page < kPageCount; ++page) {
        QWidget* widget = nullptr;
        if (page == kDatabasePage) {
            database_ = new DatabasePage(references);
            connect(database_, &DatabasePage::removeRequested, this,
                    &GraphResultsDlg::removeRequested);
            widget = database_;
        } else {
            chartPages_.push_back(new ChartPage(page, frame, references));
            widget = chartPages_.back();
        }
        sheet_->addTab(widget, QString::fromLatin1(kTabTitles[page]));
    }
    auto* left = new QWidget;
    left->setFixedWidth(kSheetWidth);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(sheet_, 1);
    leftLayout->addWidget(buildButtons());

    detailsPane_ = new QWidget;
    auto* detailsLayout = new QVBoxLayout(detailsPane_);
    detailsLayout->setContentsMargins(0, 0, 0, 0);
    detailsLayout->addWidget(new QLabel(QStringLiteral("Benchmarks Details")));
    details_ = makeInfoList(detailsPane_, 200, 200);
    details_->setObjectName(QStringLiteral("benchmarksDetails"));
    details_->setMinimumWidth(kExpandedWidth - kCollapsedWidth - 12);
    detailsLayout->addWidget(details_, 1);
    detailsPane_->hide();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(left);
    layout->addWidget(detailsPane_, 1);
    setFixedWidth(kCollapsedWidth);
    resize(kCollapsedWidth, 640);
    systemDetails_ = new SystemDetailsDlg(this);
}

void GraphResultsDlg::showReferenceDetails(int position, int list) {
    systemDetails_->showEntry(references_, position, list);
}

QWidget* GraphResultsDlg::buildButtons() {
    auto* ok = namedButton(QStringLiteral("OK"), QStringLiteral("okButton"));
    auto* cancel = namedButton(QStringLiteral("Cancel"), QStringLiteral("cancelButton"));
    auto* report =
        namedButton(QStringLiteral("Create a report..."), QStringLiteral("reportButton"));
    auto* more = namedButton(QStringLiteral("Show Details >>"), QStringLiteral("detailsButton"));
    // Enabled by the frame once it has kept a run that may be saved.
    auto* save = namedButton(QStringLiteral("Save this result"), QStringLiteral("saveButton"));
    save->setEnabled(false);
    save_ = save;
    connect(ok, &QPushButton::clicked, this, &QDialog::hide);
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
    connect(report, &QPushButton::clicked, this,
            [this] { frame_.sendRequest(engine::WM_SHOW_REPORT_WIZARD, 0, 0); });
    connect(more, &QPushButton::clicked, this, &GraphResultsDlg::toggleDetails);
    connect(save, &QPushButton::clicked, this, &GraphResultsDlg::saveRequested);
    auto* row = new QWidget;
    auto* layout = new QGridLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ok, 0, 0);
    layout->addWidget(cancel, 0, 1);
    layout->addWidget(report, 0, 2);
    layout->addWidget(more, 1, 0, 1, 2);
    layout->addWidget(save, 1, 2);
    return row;
}

void GraphResultsDlg::setSaveRefusal(const QString& refusal) {
    save_->setEnabled(refusal.isEmpty());
    save_->setToolTip(refusal);
}

void GraphResultsDlg::refreshReferences() {
    for (ChartPage* chartPage : chartPages_) {
        chartPage->refresh();
    }
    database_->refresh();
}

void GraphResultsDlg::showResult(const engine::BenchResult& result, int page, bool expanded) {
    shownResult_ = result;
    if (detailsShown()) {
        toggleDetails();
    }
    const engine::ChartPageValues values = engine::chartPageValues(shownResult_);
    for (ChartPage* chartPage : chartPages_) {
        chartPage->load(values);
    }
    database_->load(values.suite);
    fillInfoList(*details_, engine::benchmarkDetailsRows(shownResult_), false);
    sheet_->setCurrentIndex(page);
    showCentred(*this);
    if (expanded) {
        toggleDetails();
    }
}

bool GraphResultsDlg::detailsShown() const {
    return width() > kCollapsedWidth;
}

void GraphResultsDlg::toggleDetails() {
    const bool expand = !detailsShown();
    detailsPane_->setVisible(expand);
    setFixedWidth(expand ? kExpandedWidth : kCollapsedWidth);
    if (isVisible()) {
        showCentred(*this);
    }
}

int GraphResultsDlg::currentPage() const {
    return sheet_->currentIndex();
}

ChartPage* GraphResultsDlg::chartPage(int chartNumber) const {
    for (ChartPage* page : chartPages_) {
        if (page->chartNumber() == chartNumber) {
            return page;
        }
    }
    return nullptr;
}

ResultChart* GraphResultsDlg::chart(int chartNumber) const {
    ChartPage* page = chartPage(chartNumber);
    return page != nullptr ? &page->chart() : nullptr;
}

void GraphResultsDlg::repaintChartPage(int chartNumber) {
    if (ChartPage* page = chartPage(chartNumber)) {
        page->update();
        page->chart().update();
    }
}

}  // namespace veltrane::shell
