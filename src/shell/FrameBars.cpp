// The main frame's bars: menus, toolbar and status bar, all made from the
// command table.
#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>

#include "platform/Threads.h"
#include "shell/LockKeys.h"
#include "shell/MainFrame.h"
#include "shell/Pictures.h"
#include "shellcore/CommandTable.h"

namespace veltrane::shell {

namespace {

constexpr int kLockKeyPollMs = 500;

QLabel* indicator(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(text + QStringLiteral("Indicator"));
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setEnabled(false);
    return label;
}

}  // namespace

void CMainFrame::createMenus() {
    std::map<QString, QMenu*> menus;
    for (const char* title : menuTitles()) {
        menus[QString::fromLatin1(title)] = menuBar()->addMenu(QString::fromLatin1(title));
    }
    for (const CommandInfo& command : commandTable()) {
        QMenu* menu = menus.at(QString::fromLatin1(command.menu));
        if (command.separatorBefore) {
            menu->addSeparator();
        }
        QAction* action = menu->addAction(QString::fromLatin1(command.text));
        action->setEnabled(command.handled);
        action->setCheckable(command.checkable);
        action->setChecked(command.checkable);
        if (const char* tip = commandStatusTip(command.id)) {
            action->setStatusTip(QString::fromLatin1(tip));
        }
        const int id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { handleCommand(id); });
        menuActions_[id] = action;
    }
    for (const Accelerator& accelerator : accelerators()) {
        auto* action = new QAction(this);
        action->setShortcut(QKeySequence(QString::fromLatin1(accelerator.keys)));
        action->setShortcutContext(Qt::WindowShortcut);
        const int id = accelerator.id;
        connect(action, &QAction::triggered, this, [this, id] { handleCommand(id); });
        addAction(action);
    }
    updateMenus();
}

void CMainFrame::createToolbar() {
    toolbar_ = addToolBar(QStringLiteral("Toolbar"));
    toolbar_->setObjectName(QStringLiteral("toolbar"));
    toolbar_->setMovable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setIconSize(QSize(24, 24));
    for (const ToolbarButton& button : toolbarButtons()) {
        if (button.id == 0) {
            toolbar_->addSeparator();
            continue;
        }
        QAction* action = toolbar_->addAction(toolbarIcon(button.icon, toolbar_->iconSize()),
                                              QString::fromLatin1(button.text));
        action->setToolTip(QString::fromLatin1(button.text));
        const int id = button.id;
        connect(action, &QAction::triggered, this, [this, id] { handleCommand(id); });
        toolbarActions_.emplace_back(id, action);
    }
}

void CMainFrame::createStatusBar() {
    readyMessage_ = new QLabel(QStringLiteral("Ready"), statusBar());
    readyMessage_->setObjectName(QStringLiteral("readyMessage"));
    statusBar()->addWidget(readyMessage_, 1);
    priorityLabel_ = new QLabel(statusBar());
    priorityLabel_->setObjectName(QStringLiteral("priorityNotice"));
    priorityLabel_->hide();
    statusBar()->addPermanentWidget(priorityLabel_);
    capIndicator_ = indicator(statusBar(), QStringLiteral("CAP"));
    numIndicator_ = indicator(statusBar(), QStringLiteral("NUM"));
    scrollIndicator_ = indicator(statusBar(), QStringLiteral("SCRL"));
    for (QLabel* each : {capIndicator_, numIndicator_, scrollIndicator_}) {
        statusBar()->addPermanentWidget(each);
    }
    lockKeys_ = env_.lockKeys ? *env_.lockKeys : displayLockKeys();
    if (lockKeys_) {
        connect(&lockKeyTimer_, &QTimer::timeout, this, &CMainFrame::updateLockIndicators);
        lockKeyTimer_.start(kLockKeyPollMs);
    }
    updateLockIndicators();
}

// Indicators that cannot be read are not shown at all: dark ones would say "off".
void CMainFrame::updateLockIndicators() {
    const std::optional<LockKeys> keys = lockKeys_ ? lockKeys_() : std::nullopt;
    for (QLabel* each : {capIndicator_, numIndicator_, scrollIndicator_}) {
        each->setVisible(keys.has_value());
    }
    if (keys) {
        capIndicator_->setEnabled(keys->caps);
        numIndicator_->setEnabled(keys->num);
        scrollIndicator_->setEnabled(keys->scroll);
    }
}

// Once, after the first run: whether the benchmark threads got their priority.
void CMainFrame::showPriorityNotice() {
    const auto grant = platform::timeCriticalGrant();
    if (priorityNoticeShown_ || grant == platform::PriorityGrant::NotAsked) {
        return;
    }
    priorityNoticeShown_ = true;
    priorityLabel_->setText(QString::fromLatin1(platform::timeCriticalGrantText(grant)));
    priorityLabel_->show();
}

void CMainFrame::updateMenus() {
    if (closing_) {
        return;
    }
    const bool document = hasDocument();
    for (const CommandInfo& command : commandTable()) {
        QAction* action = menuActions_.at(command.id);
        action->setVisible(command.shown == MenuShown::Always ||
                           (command.shown == MenuShown::WithDocument) == document);
    }
    // Saving needs a document to save.
    menuActions_.at(cmd::SaveProject)->setEnabled(document);
    menuActions_.at(cmd::SaveProjectMenu)->setEnabled(document);
    for (auto& [id, action] : toolbarActions_) {
        if (id == cmd::SaveProjectMenu) {
            action->setEnabled(document);
        }
    }
    // A menu with nothing to show goes too: the Window menu without a document.
    for (QAction* menu : menuBar()->actions()) {
        const auto items = menu->menu()->actions();
        menu->setVisible(std::any_of(items.begin(), items.end(), [](const QAction* item) {
            return item->isVisible() && !item->isSeparator();
        }));
    }
}

QAction* CMainFrame::menuAction(int command) const {
    const auto found = menuActions_.find(command);
    return found != menuActions_.end() ? found->second : nullptr;
}

QAction* CMainFrame::toolbarAction(const QString& text) const {
    for (const auto& [id, action] : toolbarActions_) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

}  // namespace veltrane::shell
