#include "platform/KeyboardSignals.h"

#include <QGuiApplication>
#include <X11/Xlib.h>

namespace tarwick {

namespace {

// The X display of the running application, or null when Qt does not run on X11.
Display* x11Display() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

constexpr int scrollLockLed = 3;

} // namespace

void KeyboardSignals::setScrollLockLight(bool on) {
    Display* display = x11Display();
    if (!display) {
        return;
    }
    XKeyboardState state;
    XGetKeyboardControl(display, &state);
    const bool lit = (state.led_mask & (1u << (scrollLockLed - 1))) != 0;
    if (lit == on) {
        return;
    }
    XKeyboardControl control;
    control.led = scrollLockLed;
    control.led_mode = on ? LedModeOn : LedModeOff;
    XChangeKeyboardControl(display, KBLed | KBLedMode, &control);
    XFlush(display);
}

void KeyboardSignals::beep(int frequencyHz, int durationMs) {
    Display* display = x11Display();
    if (!display) {
        return;
    }
    XKeyboardState previous;
    XGetKeyboardControl(display, &previous);
    XKeyboardControl control;
    control.bell_pitch = frequencyHz;
    control.bell_duration = durationMs;
    XChangeKeyboardControl(display, KBBellPitch | KBBellDuration, &control);
    XBell(display, 0);
    // The user's own bell settings come back for everything else that rings it.
    control.bell_pitch = static_cast<int>(previous.bell_pitch);
    control.bell_duration = static_cast<int>(previous.bell_duration);
    XChangeKeyboardControl(display, KBBellPitch | KBBellDuration, &control);
    XFlush(display);
}

} // namespace tarwick
