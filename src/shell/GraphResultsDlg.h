#pragma once

#include <QDialog>
#include <vector>

#include "engine/BenchResult.h"
#include "engine/ReferenceDatabase.h"

class QTabWidget;
class QTreeWidget;
class QPushButton;

namespace veltrane::shell {

class ChartPage;
class DatabasePage;
class FrameRequests;
class ResultChart;
class SystemDetailsDlg;

// "Graph of results": five chart pages and the database page of a result,
// and its "Benchmarks Details" list beside them, shown by "Show Details >>".
class GraphResultsDlg final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kCollapsedWidth = 552;
    static constexpr int kExpandedWidth = 860;
    static constexpr int kPageCount = 6;

    GraphResultsDlg(QWidget* parent, FrameRequests& frame,
                    const engine::ReferenceDatabase& references);

    // Hands the result's values to every page, opens page `page` and shows
    // the window collapsed and centred; `expanded` opens the details too.
    void showResult(const engine::BenchResult& result, int page, bool expanded = false);
    void toggleDetails();
    bool detailsShown() const;
    // "System Details" of the entry at `position` of the list of suite
    // `list`; an entry that is not there shows nothing.
    void showReferenceDetails(int position, int list);
    SystemDetailsDlg& systemDetails() const { return *systemDetails_; }
    // "Save this result" is enabled when `refusal` is empty, else greyed out
    // with `refusal` as its tip.
    void setSaveRefusal(const QString& refusal);
    // The reference lists changed: every page shows them afresh.
    void refreshReferences();

    int currentPage() const;
    // The page of chart number 1-5, or null.
    ChartPage* chartPage(int chartNumber) const;
    ResultChart* chart(int chartNumber) const;
    // Repaints the whole page of chart number 1-5.
    void repaintChartPage(int chartNumber);

    QTabWidget& sheet() const { return *sheet_; }
    QTreeWidget& details() const { return *details_; }
    DatabasePage& database() const { return *database_; }

signals:
    void saveRequested();
    // "Remove" on the database page, for the user's entry `userEntryId`.
    void removeRequested(qint64 userEntryId);

private:
    QWidget* buildButtons();

    FrameRequests& frame_;
    const engine::ReferenceDatabase& references_;
    engine::BenchResult shownResult_;
    SystemDetailsDlg* systemDetails_ = nullptr;
    QTabWidget* sheet_ = nullptr;
    QWidget* detailsPane_ = nullptr;
    QTreeWidget* details_ = nullptr;
    DatabasePage* database_ = nullptr;
    QPushButton* save_ = nullptr;
    std::vector<ChartPage*> chartPages_;
};

}  // namespace veltrane::shell
