#pragma once
// The keyboard's modifier keys, as the programs of the system ask for them (the Windows key state).
// Without a display no key is down; the host's scripted input presses and releases the Control key, and
// releasing it is also the reset for tests.
namespace platform {

bool isControlKeyDown();
void setControlKeyDown(bool down);

} // namespace platform
