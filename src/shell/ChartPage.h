#pragma once

#include <QWidget>
#include <array>
#include <string>

#include "engine/ReferenceDatabase.h"
#include "engine/ReferenceDetails.h"

class QComboBox;
class QLabel;

namespace veltrane::shell {

class FrameRequests;
class ResultChart;

// One chart page of "Graph of results": your system against the entries
// chosen in four reference lists of the comparison chosen in list 1267.
class ChartPage final : public QWidget {
    Q_OBJECT

public:
    ChartPage(int pageIndex, FrameRequests& frame, const engine::ReferenceDatabase& references,
              QWidget* parent = nullptr);

    // The shown result's values; the comparison is the run's own suite.
    void load(const engine::ChartPageValues& values);
    // The same list afresh after the user's entries changed, keeping each
    // group's choice while the list still has it.
    void refresh();

    int pageIndex() const { return pageIndex_; }
    int chartNumber() const;
    ResultChart& chart() const { return *chart_; }
    QComboBox& comparisonList() const { return *comparison_; }
    QComboBox& referenceList(int group) const;  // 1-4
    // The picture name shown beside reference list `group`, empty when none.
    const std::string& pictureName(int group) const;

private:
    void fill(int list);
    void referenceChanged(int group);
    void showPicture(int group, const engine::ReferenceEntry* entry);
    QWidget* buildControls();
    QWidget* buildReferenceBox(int group);

    int pageIndex_;
    FrameRequests& frame_;
    const engine::ReferenceDatabase& references_;
    engine::ChartPageValues values_;
    int list_ = 3;
    bool filling_ = false;
    ResultChart* chart_ = nullptr;
    QComboBox* comparison_ = nullptr;
    std::array<QComboBox*, 4> lists_{};
    std::array<QLabel*, 4> pictures_{};
    std::array<std::string, 4> pictureNames_;
};

}  // namespace veltrane::shell
