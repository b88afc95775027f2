#pragma once

namespace tarwick {

// The keyboard's Scroll Lock lamp and the system beep, where the platform offers them; on a
// display without them (offscreen, VNC, Wayland) both do nothing.
class KeyboardSignals {
public:
    // Does nothing when the lamp already shows the wanted state.
    void setScrollLockLight(bool on);
    void beep(int frequencyHz, int durationMs);
};

} // namespace tarwick
