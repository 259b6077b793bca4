#pragma once

#include <QDialog>

class QLabel;

namespace veltrane::shell {

class FrameRequests;

// "Veltrane  results window": the score and the total time of the last run.
class ResultsDlg final : public QDialog {
    Q_OBJECT

public:
    ResultsDlg(QWidget* parent, FrameRequests& frame);

    void setScoreText(const QString& text);  // control 1174
    void setTimeText(const QString& text);   // control 1190
    QString scoreText() const;
    QString timeText() const;

private:
    QLabel* score_ = nullptr;
    QLabel* time_ = nullptr;
};

}  // namespace veltrane::shell
