#include "shell/numlock.h"

#include <QGuiApplication>

#ifdef TALLYROLL_HAVE_XKB
// Xlib's macros (None, Bool, KeyPress ...) clash with Qt's names, so they come last.
#include <X11/XKBlib.h>
#include <X11/keysym.h>

namespace {
Display* x11Display() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

unsigned numLockMask(Display* display) {
    return XkbKeysymToModifiers(display, XK_Num_Lock);
}
} // namespace

bool numLockOn() {
    Display* display = x11Display();
    if (!display)
        return false;
    XkbStateRec state;
    if (XkbGetState(display, XkbUseCoreKbd, &state) != 0)
        return false;
    const unsigned mask = numLockMask(display);
    return mask && (state.locked_mods & mask);
}

void forceNumLock() {
    Display* display = x11Display();
    if (!display)
        return;
    const unsigned mask = numLockMask(display);
    if (!mask || numLockOn())
        return;
    XkbLockModifiers(display, XkbUseCoreKbd, mask, mask);
    XFlush(display);
}
#else
bool numLockOn() {
    return false;
}
void forceNumLock() {}
#endif
