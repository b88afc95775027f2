#include "platform/KeyboardSignals.h"

#include <windows.h>

namespace tarwick {

void KeyboardSignals::setScrollLockLight(bool on) {
    BYTE keys[256];
    if (!GetKeyboardState(keys))
        return;
    const bool lit = (keys[VK_SCROLL] & 1) != 0;
    if (lit == on)
        return;
    // Pressing and releasing Scroll Lock toggles its lamp.
    keybd_event(VK_SCROLL, 0x45, KEYEVENTF_EXTENDEDKEY, 0);
    keybd_event(VK_SCROLL, 0x45, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
}

void KeyboardSignals::beep(int frequencyHz, int durationMs) {
    Beep(static_cast<DWORD>(frequencyHz), static_cast<DWORD>(durationMs));
}

} // namespace tarwick
