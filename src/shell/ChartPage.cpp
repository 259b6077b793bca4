#include "shell/ChartPage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <ctime>

#include "engine/Messages.h"
#include "reports/ComparisonChart.h"
#include "shell/Controls.h"
#include "shell/ReferencePictures.h"
#include "shell/ResultChart.h"
#include "shellcore/FrameRequests.h"

namespace veltrane::shell {

namespace {

constexpr int kPictureSize = 32;
constexpr int kStreamPage = 3;  // names its systems by chipset and shows no pictures

std::tm utcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    return parts;
}

}  // namespace

ChartPage::ChartPage(int pageIndex, FrameRequests& frame,
                     const engine::ReferenceDatabase& references, QWidget* parent)
    : QWidget(parent), pageIndex_(pageIndex), frame_(frame), references_(references) {
    chart_ = new ResultChart(this);
    chart_->setObjectName(QStringLiteral("chart"));
    chart_->setMinimumSize(400, 300);
    reports::ChartData look = reports::chartPageDefaults();
    look.chartNumber = chartNumber();
    chart_->setData(look);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(chart_, 1);
    layout->addWidget(buildControls());
}

int ChartPage::chartNumber() const {
    return reports::chartNumberOfPage(pageIndex_);
}

QComboBox& ChartPage::referenceList(int group) const {
    return *lists_.at(static_cast<std::size_t>(group - 1));
}

const std::string& ChartPage::pictureName(int group) const {
    return pictureNames_.at(static_cast<std::size_t>(group - 1));
}

QWidget* ChartPage::buildControls() {
    auto* controls = new QWidget;
    auto* grid = new QGridLayout(controls);
    grid->setContentsMargins(0, 0, 0, 0);
    comparison_ = new QComboBox;
    comparison_->setObjectName(QStringLiteral("comparisonList"));
    for (int list = 0; list < engine::kReferenceListCount; ++list) {
        comparison_->addItem(QString::fromLatin1(reports::comparisonListName(list)));
    }
    connect(comparison_, &QComboBox::currentIndexChanged, this, [this](int list) {
        if (!filling_ && list >= 0) {
            fill(list);
        }
    });
    auto* you = new QLabel;
    you->setPixmap(yourSystemPicture(kPictureSize));
    auto* advanced = namedButton(QStringLiteral("Advanced informations..."), "advancedButton");
    connect(advanced, &QPushButton::clicked, this,
            [this] { frame_.sendRequest(engine::WM_SHOW_SYSINFO, 0, 0); });
    auto* setup = namedButton(QStringLiteral("Graph Setup..."), "setupButton");
    connect(setup, &QPushButton::clicked, this,
            [this] { frame_.sendRequest(engine::WM_CONFIGURE_GRAPH, chartNumber(), 0); });
    grid->addWidget(you, 0, 0);
    grid->addWidget(advanced, 0, 1);
    grid->addWidget(comparison_, 0, 2);
    grid->addWidget(setup, 0, 3);
    for (int group = 1; group <= 4; ++group) {
        grid->addWidget(buildReferenceBox(group), 1 + (group - 1) / 2, ((group - 1) % 2) * 2, 1, 2);
    }
    return controls;
}

QWidget* ChartPage::buildReferenceBox(int group) {
    const auto index = static_cast<std::size_t>(group - 1);
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* picture = new QLabel;
    picture->setFixedSize(kPictureSize, kPictureSize);
    picture->setVisible(pageIndex_ != kStreamPage);
    auto* list = new QComboBox;
    list->setObjectName(QStringLiteral("referenceList%1").arg(group));
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(12);
    connect(list, &QComboBox::currentIndexChanged, this, [this, group] {
        if (!filling_) {
            referenceChanged(group);
        }
    });
    auto* details = namedButton(QStringLiteral("Detailed informations..."),
                                QStringLiteral("detailsButton%1").arg(group));
    connect(details, &QPushButton::clicked, this, [this, list] {
        frame_.sendRequest(engine::WM_SHOW_REFERENCE, list->currentIndex(), list_);
    });
    grid->addWidget(picture, 0, 0, 2, 1);
    grid->addWidget(list, 0, 1);
    grid->addWidget(details, 1, 1);
    lists_[index] = list;
    pictures_[index] = picture;
    return box;
}

void ChartPage::load(const engine::ChartPageValues& values) {
    values_ = values;
    fill(values.suite);
}

void ChartPage::fill(int list) {
    list_ = list;
    filling_ = true;
    comparison_->setCurrentIndex(list);
    const auto& entries = references_.lists.at(static_cast<std::size_t>(list));
    for (int group = 1; group <= 4; ++group) {
        QComboBox& box = referenceList(group);
        box.clear();
        for (const auto& entry : entries) {
            box.addItem(QString::fromStdString(reports::referenceGroup(pageIndex_, entry).name));
        }
        // A shorter list leaves the later groups empty.
        box.setCurrentIndex(group - 1 < box.count() ? group - 1 : -1);
        showPicture(group, reports::referenceEntry(references_, list, group - 1));
    }
    filling_ = false;
    reports::ChartData shown = chart_->data();
    const reports::ReferenceChoice firstFour{0, 1, 2, 3};
    reports::fillComparisonChart(shown, pageIndex_, values_, references_, list, firstFour,
                                 utcNow());
    chart_->setData(std::move(shown));
}

void ChartPage::refresh() {
    std::array<int, 4> chosen{};
    for (int group = 1; group <= 4; ++group) {
        chosen[static_cast<std::size_t>(group - 1)] = referenceList(group).currentIndex();
    }
    fill(list_);
    for (int group = 1; group <= 4; ++group) {
        const int position = chosen[static_cast<std::size_t>(group - 1)];
        if (position >= 0 && position < referenceList(group).count()) {
            referenceList(group).setCurrentIndex(position);
        }
    }
}

void ChartPage::referenceChanged(int group) {
    const auto* entry =
        reports::referenceEntry(references_, list_, referenceList(group).currentIndex());
    showPicture(group, entry);
    reports::ChartData shown = chart_->data();
    reports::setReferenceGroup(shown, pageIndex_, group, entry);
    chart_->setData(std::move(shown));
}

void ChartPage::showPicture(int group, const engine::ReferenceEntry* entry) {
    const auto index = static_cast<std::size_t>(group - 1);
    pictureNames_[index] = entry != nullptr ? entry->bitmapName : std::string();
    pictures_[index]->setPixmap(entry != nullptr ? referencePicture(entry->bitmapName, kPictureSize)
                                                 : QPixmap());
}

}  // namespace veltrane::shell
