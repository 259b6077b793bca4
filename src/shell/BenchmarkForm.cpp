#include "shell/BenchmarkForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "ident/Clock.h"
#include "shell/BenchmarkFormArt.h"
#include "shell/Dialogs.h"
#include "shellcore/FrameRequests.h"
#include "shellcore/RepeatRequest.h"

namespace veltrane::shell {

namespace {

constexpr int kLogoSize = 64;
constexpr int kClockPollMs = 500;
constexpr const char* kCodeSwitchLabels[] = {"SW Data prefetch:", "Loop Unrolling:"};

QString qtext(const std::string& text) {
    return QString::fromStdString(text);
}

QLabel* valueLabel(const std::string& text) {
    auto* label = new QLabel(qtext(text));
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumWidth(150);
    return label;
}

QFont resultFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(18);
    font.setWeight(QFont::Medium);
    font.setItalic(true);
    return font;
}

QProgressBar* makeMemoryBar(const FormBar& bar) {
    auto* progress = new QProgressBar;
    // An empty range is Qt's busy animation; no swap reads as an empty gauge.
    progress->setRange(0, std::max(bar.maximum, 1));
    progress->setValue(bar.position);
    // The text is the form's own integer percentage, not Qt's rounded one.
    progress->setFormat(qtext(bar.text));
    progress->setTextVisible(true);
    progress->setAlignment(Qt::AlignCenter);
    progress->setStyleSheet(QStringLiteral(
        "QProgressBar { border: 1px solid #8d9299; border-radius: 3px; background: #f4f5f7; }"
        "QProgressBar::chunk { background: qlineargradient(x1:0, y1:0, x2:1, y2:0,"
        " stop:0 #3fae5a, stop:0.6 #e0c341, stop:1 #d9503f); }"));
    return progress;
}

}  // namespace

BenchmarkForm::BenchmarkForm(FrameRequests& frame, QWidget* parent)
    : BenchmarkForm(frame, withMemoryNow(frame.machineFacts()), parent) {}

BenchmarkForm::BenchmarkForm(FrameRequests& frame, ident::MachineFacts facts, QWidget* parent)
    : QWidget(parent), frame_(frame), facts_(std::move(facts)), texts_(formTexts(facts_)) {
    initFormResources();
    setWindowTitle(QStringLiteral("Benchmark settings"));
    auto* content = new QWidget;
    auto* columns = new QHBoxLayout(content);
    columns->addWidget(buildLeftColumn());
    columns->addWidget(buildRightColumn(), 1);
    // A window smaller than the form scrolls to every control, "Run Benchmark!" too.
    scroll_ = new QScrollArea;
    scroll_->setObjectName(QStringLiteral("formScrollArea"));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    scroll_->setWidget(content);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll_);
    fillOptimizations();
    selectAll();
    result_->setText(qtext(readResultField()));
    // The clock thread may still be measuring when the form opens.
    connect(&clockPoll_, &QTimer::timeout, this, &BenchmarkForm::refreshFrequency);
    if (!facts_.clock().measured()) {
        clockPoll_.start(kClockPollMs);
    }
}

// The whole form, not the few lines a scroll area asks for.
QSize BenchmarkForm::sizeHint() const {
    return scroll_->widget()->sizeHint();
}

QWidget* BenchmarkForm::buildLeftColumn() {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildTestGroup());
    layout->addWidget(buildOptimizationGroup());
    layout->addWidget(buildProjectGroup());
    layout->addWidget(buildActionButtons());
    layout->addStretch();
    return column;
}

QWidget* BenchmarkForm::buildRightColumn() {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildProcessorGroup());
    layout->addWidget(buildFeatureGroup());
    layout->addWidget(buildSystemGroup());
    layout->addStretch();
    return column;
}

QGroupBox* BenchmarkForm::buildTestGroup() {
    auto* group = new QGroupBox(QStringLiteral("Benchmarks"));
    auto* layout = new QVBoxLayout(group);
    for (int test = 0; test < kFormTestCount; ++test) {
        auto* box =
            new QCheckBox(QString::fromLatin1(kTestBoxTexts[static_cast<std::size_t>(test)]));
        box->setObjectName(QStringLiteral("testBox%1").arg(test + 1));
        testBoxes_[static_cast<std::size_t>(test)] = box;
        layout->addWidget(box);
    }
    auto* select = addButton(":/form/select.svg", QStringLiteral("Select All"), "selectAllButton");
    connect(select, &QAbstractButton::clicked, this, &BenchmarkForm::selectAll);
    layout->addWidget(select, 0, Qt::AlignRight);
    return group;
}

QGroupBox* BenchmarkForm::buildOptimizationGroup() {
    auto* group = new QGroupBox(QStringLiteral("Optimizations"));
    auto* layout = new QGridLayout(group);
    optimizations_ = new QComboBox;
    optimizations_->setObjectName(QStringLiteral("optimizations"));
    layout->addWidget(optimizations_, 0, 0, 1, 2);
    for (int row = 0; row < 2; ++row) {
        layout->addWidget(new QLabel(QString::fromLatin1(kCodeSwitchLabels[row])), row + 1, 0);
        layout->addWidget(addValue(kCodeSwitchLabels[row], ""), row + 1, 1);
    }
    logo_ = new QLabel;
    logo_->setObjectName(QStringLiteral("logo"));
    logo_->setFixedSize(kLogoSize, kLogoSize);
    layout->addWidget(logo_, 0, 2, 3, 1, Qt::AlignCenter);
    return group;
}

QGroupBox* BenchmarkForm::buildProjectGroup() {
    auto* group = new QGroupBox(QStringLiteral("Project"));
    auto* layout = new QGridLayout(group);
    layout->addWidget(new QLabel(QStringLiteral("Name:")), 0, 0);
    projectName_ = valueLabel("");
    projectName_->setObjectName(QStringLiteral("projectName"));
    layout->addWidget(projectName_, 0, 1);
    // Nothing about a project is stored, so there is nothing to edit yet.
    auto* edit = addButton(":/form/edit.svg", QStringLiteral("Edit..."), "editButton");
    edit->setEnabled(false);
    edit->setToolTip(QStringLiteral("Projects keep no name or details of their own"));
    layout->addWidget(edit, 1, 1, Qt::AlignRight);
    layout->addWidget(new QLabel(QStringLiteral("Result:")), 2, 0);
    result_ = new QLineEdit;
    result_->setObjectName(QStringLiteral("resultField"));
    result_->setReadOnly(true);
    result_->setFont(resultFont());
    layout->addWidget(result_, 2, 1);
    return group;
}

QWidget* BenchmarkForm::buildActionButtons() {
    auto* panel = new QWidget;
    auto* layout = new QGridLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* run = new PictureButton(QStringLiteral(":/form/run.svg"),
                                  QStringLiteral("Run Benchmark!"), ButtonTint::Green);
    run->setObjectName(QStringLiteral("runButton"));
    connect(run, &QAbstractButton::clicked, this, &BenchmarkForm::runBenchmark);
    auto* runCell = new QHBoxLayout;
    runCell->addWidget(run, 1);
    runCell->addLayout(buildRepeatField());
    auto* loop = addButton(":/form/loop.svg", QStringLiteral("Looping mode..."), "loopButton");
    connect(loop, &QAbstractButton::clicked, this,
            [this] { handleCommand(cmd::ConfigureLooping); });
    auto* help = addButton(":/form/help.svg", QStringLiteral("Help System"), "helpButton");
    connect(help, &QAbstractButton::clicked, this, [this] { handleCommand(cmd::HelpSystem); });
    auto* close = addButton(":/form/close.svg", QStringLiteral("close this window"), "closeButton");
    connect(close, &QAbstractButton::clicked, this,
            [this] { applySteps({{FrameStep::Kind::CloseDocument}}, frame_); });
    layout->addLayout(runCell, 0, 0);
    layout->addWidget(loop, 0, 1);
    layout->addWidget(help, 1, 0);
    layout->addWidget(close, 1, 1);
    return panel;
}

QGroupBox* BenchmarkForm::buildProcessorGroup() {
    auto* group = new QGroupBox(QStringLiteral("Processor"));
    auto* layout = new QVBoxLayout(group);
    auto* fields = new QFormLayout;
    for (const FormField& field : texts_.processor) {
        fields->addRow(qtext(field.label), addValue(field.label, field.text));
    }
    layout->addLayout(fields);
    auto* buttons = new QHBoxLayout;
    auto* advanced =
        addButton(":/form/adv.svg", QStringLiteral("Advanced i&nformation..."), "advancedButton");
    connect(advanced, &QAbstractButton::clicked, this, [this] { handleCommand(cmd::CpuInfo); });
    auto* cache =
        addButton(":/form/cache.svg", QStringLiteral("Cache &Information..."), "cacheButton");
    connect(cache, &QAbstractButton::clicked, this, [this] { handleCommand(cmd::CacheInfo); });
    buttons->addWidget(advanced);
    buttons->addWidget(cache);
    buttons->addStretch();
    layout->addLayout(buttons);
    return group;
}

QGroupBox* BenchmarkForm::buildFeatureGroup() {
    auto* group = new QGroupBox(QStringLiteral("Features"));
    auto* layout = new QGridLayout(group);
    const int half = static_cast<int>(texts_.features.size() + 1) / 2;
    for (int i = 0; i < static_cast<int>(texts_.features.size()); ++i) {
        const FormField& field = texts_.features[static_cast<std::size_t>(i)];
        const int column = i < half ? 0 : 2;
        const int row = i < half ? i : i - half;
        layout->addWidget(new QLabel(qtext(field.label)), row, column);
        layout->addWidget(addValue(field.label, field.text), row, column + 1);
    }
    return group;
}

QGroupBox* BenchmarkForm::buildSystemGroup() {
    auto* group = new QGroupBox(QStringLiteral("System"));
    auto* layout = new QFormLayout(group);
    for (const auto* part : {&texts_.system, &texts_.memory}) {
        for (const FormField& field : *part) {
            layout->addRow(qtext(field.label), addValue(field.label, field.text));
        }
    }
    const char* names[] = {"memLoadedBar", "pageFileBar", "userResourcesBar"};
    for (std::size_t i = 0; i < bars_.size(); ++i) {
        bars_[i] = makeMemoryBar(texts_.bars[i]);
        bars_[i]->setObjectName(QString::fromLatin1(names[i]));
        layout->addRow(qtext(texts_.bars[i].label), bars_[i]);
    }
    return group;
}

QLabel* BenchmarkForm::addValue(const std::string& label, const std::string& text) {
    QLabel* value = valueLabel(text);
    values_.insert(qtext(label), value);
    return value;
}

// How many runs in a row the Run button starts; more than one shows the medians.
QLayout* BenchmarkForm::buildRepeatField() {
    repeat_ = new QSpinBox;
    repeat_->setObjectName(QStringLiteral("repeatBox"));
    repeat_->setRange(1, engine::kMaxRepeatRuns);
    repeat_->setToolTip(QStringLiteral("Runs in a row; the results show each figure's median"));
    auto* label = new QLabel(QStringLiteral("R&epeat"));
    label->setBuddy(repeat_);
    auto* field = new QVBoxLayout;
    field->addStretch();
    field->addWidget(label);
    field->addWidget(repeat_);
    field->addStretch();
    return field;
}

PictureButton* BenchmarkForm::addButton(const char* picture, const QString& caption,
                                        const char* name) {
    auto* button = new PictureButton(QString::fromLatin1(picture), caption, ButtonTint::Blue);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

void BenchmarkForm::fillOptimizations() {
    // The two-thread suite is offered only where it may run: on two processors
    // this program is allowed to use, not merely two online.
    const OptimizationList list = optimizationList(facts_.identity.vendor, facts_.identity.family,
                                                   facts_.layout.allowed.count);
    for (const std::string& entry : list.entries) {
        optimizations_->addItem(qtext(entry));
    }
    optimizations_->setCurrentIndex(list.selected);
    showLogo(list.logo);
    for (const char* label : kCodeSwitchLabels) {
        values_.value(QString::fromLatin1(label))->setText(qtext(list.codeSwitches));
    }
    connect(optimizations_, &QComboBox::currentIndexChanged, this,
            &BenchmarkForm::showOptimization);
}

void BenchmarkForm::showOptimization(int index) {
    const OptimizationEffect effect = optimizationEffect(index);
    showLogo(effect.logo);
    if (effect.codeSwitches) {
        for (const char* label : kCodeSwitchLabels) {
            values_.value(QString::fromLatin1(label))->setText(qtext(*effect.codeSwitches));
        }
    }
}

void BenchmarkForm::showLogo(const std::string& name) {
    logoName_ = qtext(name);
    logo_->setPixmap(logoPixmap(name, kLogoSize));
    logo_->setToolTip(logoName_);
}

bool BenchmarkForm::handleCommand(int command) {
    const FormCommand action = formCommand(command);
    if (!action.handled) {
        return false;
    }
    perform(action);
    return true;
}

void BenchmarkForm::perform(const FormCommand& action) {
    if (action.needsFormRun && !formRunStarted()) {
        dialogs().message(this, QString::fromLatin1(kRunFirstWarning),
                          QString::fromLatin1(kWarningTitle), MessageIcon::Exclamation,
                          MessageButtons::Ok);
        return;
    }
    if (action.opensHelp) {
        openHelpPage(this);
    }
    applySteps(action.steps, frame_);
    if (action.marksFormRun) {
        formRunStarted() = true;
    }
}

void BenchmarkForm::runBenchmark() {
    if (formRunStarted() &&
        dialogs().message(this, QString::fromLatin1(kClearResultQuestion),
                          QString::fromLatin1(kWarningTitle), MessageIcon::Exclamation,
                          MessageButtons::OkCancel) != MessageAnswer::Ok) {
        return;
    }
    std::array<bool, kFormTestCount> ticked{};
    for (std::size_t test = 0; test < ticked.size(); ++test) {
        ticked[test] = testBoxes_[test]->isChecked();
    }
    applySteps(runSteps(optimizations_->currentIndex(), runMask(ticked), repeat_->value()), frame_);
    formRunStarted() = true;
}

void BenchmarkForm::selectAll() {
    for (QCheckBox* box : testBoxes_) {
        box->setChecked(true);
    }
}

void BenchmarkForm::setProjectName(const QString& name) {
    projectName_->setText(name);
}

void BenchmarkForm::refreshFrequency() {
    if (!facts_.clock().measured()) {
        return;
    }
    clockPoll_.stop();
    values_.value(QStringLiteral("CPU Frequency:"))->setText(qtext(frequencyText(facts_)));
}

QString BenchmarkForm::fieldText(const QString& label) const {
    const QLabel* value = values_.value(label);
    return value ? value->text() : QString();
}

QString BenchmarkForm::logoName() const {
    return logoName_;
}

QString BenchmarkForm::resultText() const {
    return result_->text();
}

}  // namespace veltrane::shell
