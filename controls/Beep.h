#pragma once
// The warning sound of refused input, through one seam so tests can hear it.
#include <functional>

// Sounds the beep of the given message-box icon kind (MB_ICONEXCLAMATION, ...).
void ControlBeep(unsigned type);
// Replaces the sound (tests count beeps); an empty function restores the real one. Returns the old one.
std::function<void(unsigned)> SetControlBeepHook(std::function<void(unsigned)> hook);
