#pragma once

#include <span>

namespace veltrane::shell {

// Which of the two menus shows a command: the one without a document, the
// one with a benchmark document open (which adds the Window menu and two
// help items), or both.
enum class MenuShown { WithoutDocument, WithDocument, Always };

struct CommandInfo {
    int id;
    const char* menu;  // the top-level menu it sits in
    const char* text;  // as the menu shows it; a key name follows a tab
    MenuShown shown;
    bool handled;          // false: shown unavailable
    bool separatorBefore;  // a separator line above it
    bool checkable;        // the bar toggles
};

// The top-level menus, left to right.
std::span<const char* const> menuTitles();

// Every command of the menus, in menu order.
std::span<const CommandInfo> commandTable();
const CommandInfo* findCommand(int id);

// The status bar's text for a command's menu item; nullptr where it has none.
const char* commandStatusTip(int id);

// The toolbar's buttons in order; id 0 is a separator. `icon` is n of the
// pictures "Icon<n>Gray" and "Icon<n>Hot".
struct ToolbarButton {
    int id;
    const char* text;
    int icon;
};
std::span<const ToolbarButton> toolbarButtons();

// Keys that act without a menu item of their own.
struct Accelerator {
    const char* keys;  // QKeySequence text
    int id;
};
std::span<const Accelerator> accelerators();

// Commands that only the frame's windows use (F6 and Shift+F6).
inline constexpr int kNextPane = 57680;
inline constexpr int kPreviousPane = 57681;

}  // namespace veltrane::shell
