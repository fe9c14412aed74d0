#pragma once
// The keyboard's modifier keys, as the programs of the system ask for them (the Windows key state).
// Without a display no key is down; the host's scripted input presses and releases the Control key, and
// releasing it is also the reset for tests.
namespace platform {

bool isControlKeyDown();
void setControlKeyDown(bool down);

// The scan code of the key that types `c` on a US keyboard (MapVirtualKey of VkKeyScan), 0 when no key does.
int scanCodeOf(unsigned char c);

} // namespace platform
