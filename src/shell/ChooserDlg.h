#pragma once

#include <QDialog>
#include <functional>

class QPushButton;

namespace veltrane::shell {

class FrameRequests;

// "Choose a benchmark", shown once at start-up. Each button does its action
// and closes the chooser.
class ChooserDlg final : public QDialog {
    Q_OBJECT

public:
    ChooserDlg(QWidget* parent, FrameRequests& frame);

    // The button with this text, or nullptr.
    QPushButton* button(const QString& text) const;

private:
    void addButton(const QString& text, std::function<void()> action, bool enabled = true);

    QList<QPushButton*> buttons_;
};

}  // namespace veltrane::shell
