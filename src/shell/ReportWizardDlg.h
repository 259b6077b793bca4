#pragma once

#include <QDialog>
#include <array>

#include "reports/ReportInputs.h"
#include "shellcore/ReportWizardModel.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace veltrane::shell {

class FrameRequests;

// "Veltrane Report generation Wizard": the tester's texts and the section
// boxes. It lives as long as the frame, so what was typed stays for the next
// report. "Create!" hands the texts and boxes to the frame's report choices
// and asks the frame to write.
class ReportWizardDlg final : public QDialog {
    Q_OBJECT

public:
    ReportWizardDlg(QWidget* parent, FrameRequests& frame, reports::ReportTester& tester,
                    reports::ReportSections& sections);

    // For the tests: a section box by control id, the fields and buttons.
    QCheckBox* box(int id) const;
    QLineEdit* testerNameField() const { return testerName_; }
    QLineEdit* systemNameField() const { return systemName_; }
    QPlainTextEdit* commentsField() const { return comments_; }
    QPushButton* createButton() const { return create_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    QWidget* buildGeneral();
    QWidget* buildSections();
    QWidget* buildChoices();
    void createReport();

    FrameRequests& frame_;
    reports::ReportTester& tester_;
    reports::ReportSections& sections_;
    QLineEdit* testerName_ = nullptr;
    QLineEdit* systemName_ = nullptr;
    QPlainTextEdit* comments_ = nullptr;
    QPushButton* create_ = nullptr;
    QPushButton* cancel_ = nullptr;
    std::array<QCheckBox*, kReportBoxes.size()> boxes_{};
};

}  // namespace veltrane::shell
