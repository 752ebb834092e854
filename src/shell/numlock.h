#pragma once
// Forces Num Lock on, so the numeric keypad types digits. Only possible on X11; elsewhere nothing.
void forceNumLock();
// Whether Num Lock is on; false where it cannot be read.
bool numLockOn();
