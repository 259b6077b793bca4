#include "shell/ChooserDlg.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/Messages.h"
#include "engine/RunRequest.h"
#include "engine/TestInfo.h"
#include "shellcore/FrameRequests.h"

namespace veltrane::shell {

namespace {

QWidget* defaultRunList(QWidget* parent) {
    auto* box = new QGroupBox(QStringLiteral("The default benchmark runs"), parent);
    auto* list = new QListWidget(box);
    list->setObjectName(QStringLiteral("defaultRunList"));
    list->addItems({QStringLiteral("Integer benchmark"), QStringLiteral("FPU benchmarks"),
                    QStringLiteral("SIMD benchmarks"),
                    QStringLiteral("RAM bandwidth with 32 bit data"),
                    QStringLiteral("RAM bandwidth with 64 bit data")});
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(list);
    return box;
}

}  // namespace

ChooserDlg::ChooserDlg(QWidget* parent, FrameRequests& frame) : QDialog(parent) {
    setObjectName(QStringLiteral("ChooserDlg"));
    setWindowTitle(QStringLiteral("Choose a benchmark"));
    auto* column = new QVBoxLayout;
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(defaultRunList(this));
    layout->addLayout(column);

    addButton(QStringLiteral("Run custom Benchmark..."), [&frame] {
        frame.postCommand(cmd::NewCustom);
        frame.postCommand(cmd::WindowCascade);
    });
    addButton(QStringLiteral("Run Default Benchmark..."), [&frame] {
        frame.postRequest(engine::WM_RUN_BENCH, engine::SuiteStandard, engine::kFullRunMask);
    });
    addButton(QStringLiteral("Advanced System info..."),
              [&frame] { frame.sendRequest(engine::WM_SHOW_SYSINFO, 0); });
    addButton(QStringLiteral("Burn In Mode..."),
              [&frame] { frame.sendRequest(engine::WM_SHOW_LOOP_CONFIG); });
    addButton(QStringLiteral("Batch Run..."), {}, false);
    addButton(QStringLiteral("Close"), {});
    for (QPushButton* each : buttons_) {
        column->addWidget(each);
    }
    column->addStretch();
}

void ChooserDlg::addButton(const QString& text, std::function<void()> action, bool enabled) {
    auto* each = new QPushButton(text, this);
    each->setAutoDefault(false);
    each->setEnabled(enabled);
    connect(each, &QPushButton::clicked, this, [this, action = std::move(action)] {
        if (action) {
            action();
        }
        accept();
    });
    buttons_.append(each);
}

QPushButton* ChooserDlg::button(const QString& text) const {
    for (QPushButton* each : buttons_) {
        if (each->text() == text) {
            return each;
        }
    }
    return nullptr;
}

}  // namespace veltrane::shell
