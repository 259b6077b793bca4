#pragma once

#include <QDialog>

class QLabel;

namespace veltrane::shell {

class FrameRequests;

// "Veltrane  results window": the score, the total time and the suite of the
// last run.
class ResultsDlg final : public QDialog {
    Q_OBJECT

public:
    ResultsDlg(QWidget* parent, FrameRequests& frame);

    void setScoreText(const QString& text);  // control 1174
    void setTimeText(const QString& text);   // control 1190
    // The suite that ran: scores of different suites do not compare.
    void setSuiteText(const QString& text);
    // A repeated run's spread and any throttling, under the score; empty hides it.
    void setSpreadText(const QString& text);
    QString scoreText() const;
    QString timeText() const;
    QString suiteText() const;
    QString spreadText() const;

private:
    QLabel* score_ = nullptr;
    QLabel* time_ = nullptr;
    QLabel* suite_ = nullptr;
    QLabel* spread_ = nullptr;
};

}  // namespace veltrane::shell
