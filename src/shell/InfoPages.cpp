#include "shell/InfoPages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "ident/CachePage.h"
#include "ident/ExtendedCpuPage.h"
#include "ident/MotherboardPage.h"
#include "ident/OsPage.h"
#include "ident/PageBlocks.h"
#include "shell/Fonts.h"
#include "shell/InfoFields.h"
#include "shell/InfoList.h"
#include "shell/ProcessorTodayPage.h"
#include "shell/ReferencePictures.h"

namespace veltrane::shell {

namespace {

constexpr int kLogoSize = 72;

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

QTreeWidget* itemList(const std::vector<ident::FeatureRow>& rows, int itemWidth,
                      int descriptionWidth) {
    auto* list = makeInfoList(nullptr, itemWidth, descriptionWidth);
    std::vector<engine::InfoRow> lines;
    lines.reserve(rows.size());
    for (const auto& row : rows) {
        lines.push_back({row.item, row.description});
    }
    fillInfoList(*list, lines, false);
    return list;
}

QFont upperBlockFont() {
    return chartFont(19);
}

}  // namespace

AdvCPUInfoDlg::AdvCPUInfoDlg(const ident::MachineFacts& machine, QWidget* parent)
    : QWidget(parent), machine_(machine) {
    const auto& id = machine.identity;
    const auto blocks = ident::extendedCpuBlocks(ident::extendedCpuValues(
        id, {machine.definition, machine.traceCacheText, machine.clockMHz()}));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(infoHeading("Extended CPU Informations", 25), 1, Qt::AlignTop);
    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("logo"));
    logo->setPixmap(
        referencePicture(ident::cpuLogoName(id.vendor, id.family, id.model, id.l2KB), kLogoSize));
    top->addWidget(logo);
    layout->addLayout(top);
    const QFont upper = upperBlockFont();
    layout->addWidget(fieldGrid(blocks.upper, 1, &upper));
    layout->addSpacing(6);
    layout->addWidget(fieldGrid(blocks.fields, 3));
    auto* features = itemList(
        ident::featureRows(machine.features.standard, machine.features.extended), 300, 220);
    features->setObjectName(QStringLiteral("featureList"));
    layout->addWidget(features, 1);
}

void AdvCPUInfoDlg::refresh() {
    const ident::ExtendedCpuInputs inputs{machine_.definition, machine_.traceCacheText,
                                          machine_.clockMHz()};
    writeFields(*this, ident::extendedCpuValues(machine_.identity, inputs));
}

void AdvCPUInfoDlg::showEvent(QShowEvent* event) {
    refresh();
    QWidget::showEvent(event);
}

CCacheInfoPage::CCacheInfoPage(const ident::MachineFacts& machine, QWidget* parent)
    : QWidget(parent) {
    const ident::CachePage& page = machine.caches;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(infoHeading(page.heading, 23));
    auto* groups = new QGridLayout;
    // Side by side: the two page sizes of a TLB, the data and instruction caches.
    for (std::size_t i = 0; i < page.groups.size(); ++i) {
        const auto& group = page.groups[i];
        groups->addWidget(fieldGroup(group.title, group.fields), static_cast<int>(i / 2),
                          static_cast<int>(i % 2));
    }
    layout->addLayout(groups);
    layout->addStretch(1);
}

CMBInfoPage::CMBInfoPage(const ident::MachineFacts& machine, QWidget* parent) : QWidget(parent) {
    const ident::MotherboardPage page = ident::motherboardPage(machine.pciDevices);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(infoHeading(page.heading, 25));
    auto* groups = new QHBoxLayout;
    groups->addWidget(fieldGroup(page.chipsetTitle, page.chipset), 1);
    groups->addWidget(fieldGroup(page.motherboardSpecificTitle, page.motherboardSpecific), 1);
    layout->addLayout(groups);
    auto* others = new QGroupBox(qs(page.otherDevicesTitle));
    others->setObjectName(qs(page.otherDevicesTitle));
    const auto& columns = page.otherDevicesColumns;
    auto* list = itemList(page.otherDevices, columns.at(0).widthPixels, columns.at(1).widthPixels);
    list->setObjectName(QStringLiteral("deviceList"));
    list->setHeaderLabels({qs(columns[0].title), qs(columns[1].title)});
    (new QVBoxLayout(others))->addWidget(list);
    layout->addWidget(others, 1);
}

COSInfoPage::COSInfoPage(const ident::MachineFacts& machine, QWidget* parent) : QWidget(parent) {
    const auto blocks = ident::osPageBlocks(machine.os, machine.memory);
    const auto bars = ident::memoryBars(machine.memory);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(infoHeading(ident::kOsPageHeading, 25));
    const QFont upper = upperBlockFont();
    layout->addWidget(fieldGrid(blocks.upper, 1, &upper));
    layout->addSpacing(6);
    layout->addWidget(fieldGrid(blocks.fields, 2));
    // Percentages on a fixed range: a machine without swap reads 0 %, not busy.
    auto* gauges = new QGridLayout;
    const std::array<ident::MemoryBar, 3> levels{bars.memoryLoad, bars.pageFile,
                                                 bars.userResources};
    for (std::size_t i = 0; i < std::min(levels.size(), blocks.gauges.size()); ++i) {
        const auto& row = blocks.gauges[i];
        auto* gauge = new QProgressBar(this);
        gauge->setObjectName(qs(row.label));
        gauge->setRange(0, 100);
        gauge->setValue(static_cast<int>(std::min(levels[i].percent, 100u)));
        gauge->setFormat(qs(row.value));
        gauges->addWidget(new QLabel(qs(row.label), this), static_cast<int>(i), 0);
        gauges->addWidget(gauge, static_cast<int>(i), 1);
    }
    layout->addLayout(gauges);
    layout->addStretch(1);
}

CAdvInfoPropSheet::CAdvInfoPropSheet(const ident::MachineFacts& machine, QWidget* parent)
    : QTabWidget(parent) {
    setObjectName(QStringLiteral("CAdvInfoPropSheet"));
    // Every tab's title whole: the sheet is as wide as its tabs.
    setUsesScrollButtons(false);
    addTab(new AdvCPUInfoDlg(machine), QStringLiteral("Extended  CPU informations"));
    addTab(new CCacheInfoPage(machine), QString::fromLatin1(ident::kCachePageTitle));
    addTab(new CMBInfoPage(machine), QStringLiteral("Motherboard, chipset and BIOS informations"));
    addTab(new COSInfoPage(machine), QStringLiteral("OS informations"));
    addTab(new CProcessorTodayPage(machine), QStringLiteral("Processor today"));
}

}  // namespace veltrane::shell
