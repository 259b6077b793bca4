#include "shell/ProgressParts.h"

#include <QLabel>

#include "shell/Fonts.h"

namespace veltrane::shell {

QLabel* makePleaseWaitLabel(QWidget* parent, int weight) {
    auto* label = new QLabel(QStringLiteral("Benchmarking, please wait..."), parent);
    label->setObjectName(QStringLiteral("pleaseWait"));
    label->setFont(pleaseWaitFont(weight));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLabel* makeKeepStillNotice(QWidget* parent) {
    auto* notice = new QLabel(
        QStringLiteral(
            "Please do NOT move the mouse or press any key to get a  correct performance index "),
        parent);
    notice->setAlignment(Qt::AlignCenter);
    return notice;
}

}  // namespace veltrane::shell
