// ViewKey: which key of the view's key table a key press stands for. The table means keys
// as they lie on the keyboard: Shift does not change them, and the digit row and the key
// left of 1 are the same keys under every layout.
#pragma once

class QKeyEvent;

// What a platform's native key codes say about the physical key.
enum class NativeKeyCodes {
    None,             // nothing: only Qt's key code is known
    XKeycodes,        // X and Wayland: the native scan code is the evdev code + 8
    WindowsScanCodes, // Windows: the native scan code is the keyboard's set-1 scan code
};

// The native key codes of the platform the application runs on.
NativeKeyCodes PlatformKeyCodes();

// The Qt key the view's table matches for `event`, or 0 when the view leaves the key alone:
// keys pressed with Alt or Ctrl belong to the accelerator table, and keypad digits are
// keys of their own.
int ViewKey(const QKeyEvent& event, NativeKeyCodes codes);
