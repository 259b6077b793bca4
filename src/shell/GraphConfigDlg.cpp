#include "shell/GraphConfigDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "engine/Messages.h"
#include "shell/ColorSwatch.h"
#include "shell/Controls.h"
#include "shell/Dialogs.h"
#include "shell/ResultChart.h"
#include "shell/WindowPlacement.h"
#include "shellcore/FrameRequests.h"

namespace veltrane::shell {

namespace {

// The fill-mode swatch always shows the reference bars' colour.
constexpr reports::PackedColor kFillSwatchColor = 0x6363FF;

struct ColorButton {
    const char* text;
    const char* name;
};
constexpr std::array<ColorButton, 5> kColorButtons{{
    {"Title Color...", "titleColorButton"},
    {"Subtitle Color...", "subtitleColorButton"},
    {"Background Color...", "backColorButton"},
    {"Bars Font Color...", "barTextColorButton"},
    {"Grid Color...", "gridColorButton"},
}};

reports::PackedColor packed(const QColor& color) {
    return reports::packedColor(color.red(), color.green(), color.blue());
}

// A font button that has never chosen a font, and the face it would show.
QWidget* fontRow(const QString& name) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("TAHOMA")));
    layout->addWidget(namedButton(QStringLiteral("change..."), name, false));
    layout->addStretch();
    return row;
}

}  // namespace

GraphConfigDlg::GraphConfigDlg(QWidget* parent, FrameRequests& frame)
    : QDialog(parent), frame_(frame) {
    setObjectName(QStringLiteral("GraphConfigDlg"));
    setWindowTitle(QStringLiteral("Veltrane Graph configurator"));
    auto* columns = new QGridLayout;
    columns->addWidget(buildAppearance(), 0, 0);
    columns->addWidget(buildTitleGroup(QStringLiteral("Graph Title:"), title_, Title), 1, 0);
    columns->addWidget(buildTitleGroup(QStringLiteral("Graph Subtitle:"), subtitle_, Subtitle), 2,
                       0);
    columns->addWidget(buildBarsGroup(), 0, 1);
    columns->addWidget(buildGridGroup(), 1, 1);
    columns->addWidget(buildStylesGroup(), 2, 1);
    auto* ok = namedButton(QStringLiteral("OK"), QStringLiteral("okButton"));
    auto* cancel = namedButton(QStringLiteral("Cancel"), QStringLiteral("cancelButton"));
    auto* applyButton = namedButton(QStringLiteral("Apply"), QStringLiteral("applyButton"));
    connect(ok, &QPushButton::clicked, this, [this] {
        apply();
        hide();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
    connect(applyButton, &QPushButton::clicked, this, &GraphConfigDlg::apply);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(applyButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
}

QWidget* GraphConfigDlg::colorRow(ColorSlot slot) {
    const ColorButton& entry = kColorButtons[static_cast<std::size_t>(slot)];
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* choose = namedButton(QString::fromLatin1(entry.text), QString::fromLatin1(entry.name));
    connect(choose, &QPushButton::clicked, this, [this, slot] { chooseColor(slot); });
    auto* swatch = new ColorSwatch;
    swatch->setObjectName(QString::fromLatin1(entry.name).replace("Button", "Swatch"));
    swatch->setFixedSize(40, 20);
    swatches_[static_cast<std::size_t>(slot)] = swatch;
    layout->addWidget(choose);
    layout->addWidget(swatch);
    layout->addStretch();
    return row;
}

QWidget* GraphConfigDlg::buildAppearance() {
    auto* group = new QGroupBox(QStringLiteral("Apparence "));
    auto* layout = new QGridLayout(group);
    fillMode_ = new QComboBox;
    fillMode_->setObjectName(QStringLiteral("fillModeList"));
    for (const char* name : reports::kFillModeNames) {
        fillMode_->addItem(QString::fromLatin1(name));
    }
    connect(fillMode_, &QComboBox::currentIndexChanged, this, [this](int mode) {
        if (mode >= 0) {
            pending_.fillMode = static_cast<reports::FillMode>(mode);
            fillSwatch_->setMode(pending_.fillMode);
        }
    });
    fillSwatch_ = new ColorSwatch;
    fillSwatch_->setObjectName(QStringLiteral("fillSwatch"));
    fillSwatch_->setFixedSize(60, 24);
    fillSwatch_->setColor(kFillSwatchColor);
    layout->addWidget(new QLabel(QStringLiteral("Fill mode:")), 0, 0);
    layout->addWidget(fillMode_, 0, 1);
    layout->addWidget(fillSwatch_, 0, 2);
    layout->addWidget(colorRow(Back), 1, 0, 1, 3);
    return group;
}

QWidget* GraphConfigDlg::buildTitleGroup(const QString& label, QLineEdit*& field, ColorSlot slot) {
    auto* group = new QGroupBox(QStringLiteral("Title font and color"));
    auto* layout = new QGridLayout(group);
    field = new QLineEdit;
    field->setObjectName(slot == Title ? QStringLiteral("titleField")
                                       : QStringLiteral("subtitleField"));
    layout->addWidget(new QLabel(label), 0, 0);
    layout->addWidget(field, 0, 1);
    layout->addWidget(fontRow(slot == Title ? QStringLiteral("titleFontButton")
                                            : QStringLiteral("subtitleFontButton")),
                      1, 0, 1, 2);
    layout->addWidget(colorRow(slot), 2, 0, 1, 2);
    return group;
}

QWidget* GraphConfigDlg::buildBarsGroup() {
    auto* group = new QGroupBox(QStringLiteral("Bars font and color"));
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(fontRow(QStringLiteral("barFontButton")));
    layout->addWidget(colorRow(BarText));
    return group;
}

QWidget* GraphConfigDlg::buildGridGroup() {
    auto* group = new QGroupBox(QStringLiteral("Grid"));
    auto* layout = new QGridLayout(group);
    showGrid_ = new QCheckBox(QStringLiteral("Show Grid"));
    showGrid_->setObjectName(QStringLiteral("showGridBox"));
    connect(showGrid_, &QCheckBox::toggled, this,
            [this](bool checked) { pending_.showScale = checked; });
    auto* spacing = new QSlider(Qt::Horizontal);
    spacing->setObjectName(QStringLiteral("gridSpacing"));
    spacing->setRange(10, 100);
    spacing->setEnabled(false);
    layout->addWidget(showGrid_, 0, 0, 1, 3);
    layout->addWidget(colorRow(Grid), 1, 0, 1, 3);
    layout->addWidget(new QLabel(QStringLiteral("Grid Spacing (%):")), 2, 0, 1, 3);
    layout->addWidget(new QLabel(QStringLiteral("10%")), 3, 0);
    layout->addWidget(spacing, 3, 1);
    layout->addWidget(new QLabel(QStringLiteral("100%")), 3, 2);
    return group;
}

QWidget* GraphConfigDlg::buildStylesGroup() {
    auto* group = new QGroupBox(QStringLiteral("Bars Styles and foreground color"));
    auto* layout = new QGridLayout(group);
    auto* selected = new QSpinBox;
    selected->setObjectName(QStringLiteral("barSelected"));
    selected->setRange(1, 8);
    selected->setEnabled(false);
    layout->addWidget(namedButton(QStringLiteral("Bars foreground Color..."),
                                  QStringLiteral("barColorButton"), false),
                      0, 0, 1, 3);
    layout->addWidget(new QLabel(QStringLiteral("Bar Selected:")), 1, 0);
    layout->addWidget(selected, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("1 of 8")), 1, 2);
    return group;
}

reports::PackedColor& GraphConfigDlg::pendingColor(ColorSlot slot) {
    switch (slot) {
        case Title:
            return pending_.titleColor;
        case Subtitle:
            return pending_.subtitleColor;
        case Back:
            return pending_.backColor;
        case BarText:
            return pending_.barTextColor;
        default:
            return pending_.gridColor;
    }
}

void GraphConfigDlg::chooseColor(ColorSlot slot) {
    const auto chosen = dialogs().chooseColor(this, QColor(Qt::black));
    if (!chosen) {
        return;
    }
    pendingColor(slot) = packed(*chosen);
    swatches_[static_cast<std::size_t>(slot)]->setColor(pendingColor(slot));
}

void GraphConfigDlg::open(ResultChart& chart) {
    target_ = &chart;
    pending_ = chart.look();
    showPending();
    showCentred(*this);
}

void GraphConfigDlg::showPending() {
    title_->setText(QString::fromStdString(pending_.title));
    subtitle_->setText(QString::fromStdString(pending_.subtitle));
    for (int slot = 0; slot < ColorCount; ++slot) {
        swatches_[static_cast<std::size_t>(slot)]->setColor(
            pendingColor(static_cast<ColorSlot>(slot)));
    }
    showGrid_->setChecked(pending_.showScale);
    const reports::FillMode mode = pending_.fillMode;
    fillMode_->setCurrentIndex(static_cast<int>(mode));
    fillSwatch_->setMode(mode);
}

void GraphConfigDlg::apply() {
    if (target_ == nullptr) {
        return;
    }
    pending_.title = title_->text().toStdString();
    pending_.subtitle = subtitle_->text().toStdString();
    // The chart repaints what each change touches; whole repaints go through
    // the frame, as every other part of the program asks for them.
    const auto repaints = target_->applyLook(pending_);
    const int chartNumber = target_->data().chartNumber;
    for (const reports::ChartRepaint repaint : repaints) {
        if (repaint == reports::ChartRepaint::whole) {
            frame_.sendRequest(engine::WM_REPAINT_GRAPH, chartNumber, 0);
        }
    }
}

}  // namespace veltrane::shell
