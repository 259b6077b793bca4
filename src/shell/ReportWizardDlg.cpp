#include "shell/ReportWizardDlg.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "engine/Messages.h"
#include "shell/Banner.h"
#include "shell/Controls.h"
#include "shell/WindowPlacement.h"
#include "shellcore/FrameRequests.h"

namespace veltrane::shell {

namespace {

constexpr int kTesterBox = 1096;

// The banner's emblem: a page with a navy title bar and text lines.
void drawReportPage(QPainter& p) {
    QPainterPath page;
    page.moveTo(16, 6);
    page.lineTo(48, 6);
    page.lineTo(58, 16);
    page.lineTo(58, 58);
    page.lineTo(16, 58);
    page.closeSubpath();
    p.setPen(QPen(QColor(0x9a, 0xa8, 0xc8), 1.5));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x00, 0x00, 0x80));
    p.drawRect(QRectF(21, 18, 32, 7));
    p.setBrush(QColor(0xb0, 0xb8, 0xd0));
    for (int line = 0; line < 5; ++line) {
        p.drawRect(QRectF(21, 30 + line * 5.5, line % 2 == 0 ? 32 : 24, 2.5));
    }
    p.setBrush(QColor(0xff, 0xe8, 0x8a));
    p.drawPolygon(QPolygonF({QPointF(48, 6), QPointF(58, 16), QPointF(48, 16)}));
}

QRadioButton* radio(const QString& text, bool checked, bool enabled) {
    auto* button = new QRadioButton(text);
    button->setChecked(checked);
    button->setEnabled(enabled);
    return button;
}

// A group of two exclusive choices, the first one taken.
QGroupBox* choiceGroup(const QString& title, QRadioButton* first, QRadioButton* second) {
    auto* group = new QGroupBox(title);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(first);
    layout->addWidget(second);
    return group;
}

}  // namespace

ReportWizardDlg::ReportWizardDlg(QWidget* parent, FrameRequests& frame,
                                 reports::ReportTester& tester, reports::ReportSections& sections)
    : QDialog(parent), frame_(frame), tester_(tester), sections_(sections) {
    setObjectName(QStringLiteral("ReportWizardDlg"));
    setWindowTitle(QStringLiteral("Veltrane Report generation Wizard"));

    create_ = namedButton(QStringLiteral("Create!"), QStringLiteral("createButton"));
    cancel_ = namedButton(QStringLiteral("Cancel"), QStringLiteral("cancelButton"));
    // Return belongs to the comments field, so no button takes it.
    create_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    connect(create_, &QPushButton::clicked, this, &ReportWizardDlg::createReport);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::hide);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(create_);
    buttons->addWidget(cancel_);

    auto* general = buildGeneral();
    auto* columns = new QHBoxLayout;
    columns->addWidget(buildSections());
    columns->addWidget(buildChoices());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bannerLabel(QStringLiteral("Veltrane Report"), drawReportPage));
    layout->addWidget(general);
    layout->addLayout(columns);
    layout->addLayout(buttons);
    // The tester's texts are kept when the box is cleared, only greyed.
    QCheckBox* testerBox = box(kTesterBox);
    const auto enableFields = [this](bool on) {
        for (QWidget* field :
             {static_cast<QWidget*>(testerName_), static_cast<QWidget*>(systemName_),
              static_cast<QWidget*>(comments_)}) {
            field->setEnabled(on);
        }
    };
    connect(testerBox, &QCheckBox::toggled, this, enableFields);
    enableFields(testerBox->isChecked());
}

QWidget* ReportWizardDlg::buildGeneral() {
    auto* group = new QGroupBox(QStringLiteral("General infos"));
    testerName_ = new QLineEdit(QString::fromStdString(tester_.testerName));
    testerName_->setObjectName(QStringLiteral("testerName"));
    systemName_ = new QLineEdit(QString::fromStdString(tester_.systemName));
    systemName_->setObjectName(QStringLiteral("systemName"));
    comments_ = new QPlainTextEdit(QString::fromStdString(tester_.comments));
    comments_->setObjectName(QStringLiteral("comments"));
    comments_->setTabChangesFocus(true);
    comments_->setFixedHeight(72);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Tester name:"), testerName_);
    form->addRow(QStringLiteral("System Name:"), systemName_);
    auto* layout = new QVBoxLayout(group);
    layout->addLayout(form);
    layout->addWidget(
        new QLabel(QStringLiteral("Comments ( System details, cooling system etc):")));
    layout->addWidget(comments_);
    return group;
}

QWidget* ReportWizardDlg::buildSections() {
    auto* group = new QGroupBox(QStringLiteral("Informations"));
    auto* layout = new QVBoxLayout(group);
    const ReportBoxStates ticked = boxesFromSections(sections_);
    for (std::size_t i = 0; i < kReportBoxes.size(); ++i) {
        auto* check = new QCheckBox(QString::fromLatin1(kReportBoxes[i].text));
        check->setObjectName(QStringLiteral("box%1").arg(kReportBoxes[i].id));
        check->setChecked(ticked[i]);
        layout->addWidget(check);
        boxes_[i] = check;
    }
    // Shown as the form always had them; they write nothing.
    for (const char* text : {"Include MotherBoard informations", "Include Cache informations"}) {
        auto* check = new QCheckBox(QString::fromLatin1(text));
        check->setEnabled(false);
        layout->addWidget(check);
    }
    return group;
}

QWidget* ReportWizardDlg::buildChoices() {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    // The page is always English HTML: the other choices are shown, not offered.
    layout->addWidget(choiceGroup(QStringLiteral("File format"),
                                  radio(QStringLiteral("HTML File format"), true, true),
                                  radio(QStringLiteral("Text (ASCII) File format"), false, false)));
    layout->addWidget(choiceGroup(QStringLiteral("Report Language"),
                                  radio(QStringLiteral("English"), true, true),
                                  radio(QStringLiteral("Italian"), false, false)));
    layout->addStretch();
    return column;
}

QCheckBox* ReportWizardDlg::box(int id) const {
    for (std::size_t i = 0; i < kReportBoxes.size(); ++i) {
        if (kReportBoxes[i].id == id) {
            return boxes_[i];
        }
    }
    return nullptr;
}

void ReportWizardDlg::createReport() {
    // The texts are read as they stand, greyed or not.
    tester_ = {testerName_->text().toStdString(), systemName_->text().toStdString(),
               comments_->toPlainText().toStdString()};
    ReportBoxStates ticked{};
    for (std::size_t i = 0; i < kReportBoxes.size(); ++i) {
        ticked[i] = boxes_[i]->isChecked();
    }
    sections_ = sectionsFromBoxes(ticked);
    frame_.sendRequest(engine::WM_WRITE_REPORT);
    hide();
}

}  // namespace veltrane::shell
