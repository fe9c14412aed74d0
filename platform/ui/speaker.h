#pragma once
// Sounds: the standard beep (Beep) and the PC speaker through the port-access module (its Inp32/Out32).
//
// The standard beep is the console's tone generator (the KIOCSOUND ioctl on /dev/console or /dev/tty0, which
// needs the right to write to the console); without it the terminal's bell stands in when the process has a
// terminal. The port-access module "inpoutx64.dll" ("inpout32.dll" in the 32-bit build) is the shared object
// "libinpoutx64.so" ("libinpout32.so") here, loaded by name on first use; when it is absent the PC speaker
// stays silent, and the failed load is not retried.
#include <cstdint>

namespace platform {

// Sounds `frequency` hertz for `durationMs` milliseconds and returns when it is over; false when nothing
// could sound.
bool soundTone(unsigned frequency, unsigned durationMs);

// The entry points of the port-access module.
struct PortAccess {
    using Read = int16_t (*)(int16_t port);
    using Write = void (*)(int16_t port, int16_t value);
    Read Inp32 = nullptr;
    Write Out32 = nullptr;
};

// The module's entry points, loaded once per process; null when the module or one of them is missing.
const PortAccess* portAccess();

// Forgets the module, so the next call loads it again (tests).
void resetPortAccess();

} // namespace platform
