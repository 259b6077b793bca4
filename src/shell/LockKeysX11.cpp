// The lock keys from the X server's XKB indicators, through the display of
// Qt's xcb platform.
#include <QGuiApplication>

#include "shell/LockKeys.h"

// After Qt: Xlib defines macros such as None and Bool.
#include <X11/XKBlib.h>

namespace veltrane::shell {

namespace {

bool lit(Display* display, Atom indicator) {
    int index = 0;
    Bool on = False;
    return XkbGetNamedIndicator(display, indicator, &index, &on, nullptr, nullptr) && on;
}

}  // namespace

LockKeyReader displayLockKeys() {
    const auto* x11 = qGuiApp != nullptr
                          ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                          : nullptr;
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    int opcode = 0;
    int event = 0;
    int error = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (display == nullptr ||
        !XkbQueryExtension(display, &opcode, &event, &error, &major, &minor)) {
        return {};
    }
    // Indicators by name: which light is which is up to the keyboard map.
    const Atom caps = XInternAtom(display, "Caps Lock", False);
    const Atom num = XInternAtom(display, "Num Lock", False);
    const Atom scroll = XInternAtom(display, "Scroll Lock", False);
    return [display, caps, num, scroll]() -> std::optional<LockKeys> {
        return LockKeys{lit(display, caps), lit(display, num), lit(display, scroll)};
    };
}

}  // namespace veltrane::shell
