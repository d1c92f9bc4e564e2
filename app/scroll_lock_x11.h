// The Scroll Lock state of the X keyboard.
#pragma once

// Whether Scroll Lock is on: the keyboard's "Scroll Lock" indicator where the
// server keeps one, else the lock of the modifier the Scroll_Lock key is
// bound to. False without an X display.
bool ScrollLockIsOn();
