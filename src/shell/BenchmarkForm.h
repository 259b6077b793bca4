#pragma once

#include <QHash>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>

#include "ident/MachineFacts.h"
#include "shellcore/BenchmarkFormModel.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QLayout;
class QScrollArea;
class QSpinBox;

namespace veltrane::shell {

class FrameRequests;
class PictureButton;

// The main benchmark form: the tests and code path of a custom run, the
// basic processor and system facts, and the buttons that start a run or
// open the other windows. Everything it asks of the program goes to the
// main frame; every text it shows comes from BenchmarkFormModel.
class BenchmarkForm : public QWidget {
    Q_OBJECT
public:
    // The form of the running system.
    explicit BenchmarkForm(FrameRequests& frame, QWidget* parent = nullptr);
    BenchmarkForm(FrameRequests& frame, ident::MachineFacts facts, QWidget* parent = nullptr);

    // A menu command while this form is active; false when it is not the
    // form's and the main frame should handle it.
    bool handleCommand(int command);

    QSize sizeHint() const override;

    void runBenchmark();
    void selectAll();
    void setProjectName(const QString& name);

    // The text beside a label ("CPU Name:", "SW Data prefetch:", ...), empty
    // for a label the form does not have.
    QString fieldText(const QString& label) const;
    // The logo's name ("PIIILogo2", ...), empty when none is shown.
    QString logoName() const;
    QString resultText() const;
    QComboBox& optimizations() const { return *optimizations_; }
    QSpinBox& repeatBox() const { return *repeat_; }
    QCheckBox& testBox(int index) const { return *testBoxes_.at(static_cast<std::size_t>(index)); }
    QProgressBar& memoryBar(int index) const { return *bars_.at(static_cast<std::size_t>(index)); }

private:
    QWidget* buildLeftColumn();
    QWidget* buildRightColumn();
    QGroupBox* buildTestGroup();
    QGroupBox* buildOptimizationGroup();
    QGroupBox* buildProjectGroup();
    QWidget* buildActionButtons();
    QLayout* buildRepeatField();
    QGroupBox* buildProcessorGroup();
    QGroupBox* buildFeatureGroup();
    QGroupBox* buildSystemGroup();
    QLabel* addValue(const std::string& label, const std::string& text);
    PictureButton* addButton(const char* picture, const QString& caption, const char* name);

    void fillOptimizations();
    void showOptimization(int index);
    void showLogo(const std::string& name);
    void perform(const FormCommand& command);
    void refreshFrequency();

    FrameRequests& frame_;
    ident::MachineFacts facts_;
    FormTexts texts_;
    QHash<QString, QLabel*> values_;
    std::array<QCheckBox*, kFormTestCount> testBoxes_{};
    std::array<QProgressBar*, 3> bars_{};
    QComboBox* optimizations_ = nullptr;
    QSpinBox* repeat_ = nullptr;
    QLabel* logo_ = nullptr;
    QString logoName_;
    QLabel* projectName_ = nullptr;
    QLineEdit* result_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QTimer clockPoll_;
};

}  // namespace veltrane::shell
