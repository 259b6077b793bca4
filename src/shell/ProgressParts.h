#pragma once

class QLabel;
class QWidget;

namespace veltrane::shell {

// What every progress window shows above and below its threads.
QLabel* makePleaseWaitLabel(QWidget* parent, int weight);
QLabel* makeKeepStillNotice(QWidget* parent);

}  // namespace veltrane::shell
