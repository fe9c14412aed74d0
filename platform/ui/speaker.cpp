#include "platform/ui/speaker.h"

#include "platform/system/loaded_modules.h"

#include <chrono>
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/kd.h>
#include <mutex>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace platform {
namespace {

// The programmable interval timer runs at this frequency; the tone generator divides it.
constexpr unsigned kTimerHz = 1193180;

int openConsole() {
    for (const char* device : {"/dev/console", "/dev/tty0"}) {
        const int fd = open(device, O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (fd >= 0) return fd;
    }
    return -1;
}

bool consoleTone(unsigned frequency, unsigned durationMs) {
    const int console = openConsole();
    if (console < 0) return false;
    const unsigned long divisor = kTimerHz / frequency;
    const bool sounding = ioctl(console, KIOCSOUND, divisor) == 0;
    if (sounding) {
        std::this_thread::sleep_for(std::chrono::milliseconds(durationMs));
        ioctl(console, KIOCSOUND, 0);
    }
    close(console);
    return sounding;
}

bool terminalBell(unsigned durationMs) {
    const int terminal = open("/dev/tty", O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (terminal < 0) return false;
    const bool rang = write(terminal, "\a", 1) == 1;
    close(terminal);
    if (rang) std::this_thread::sleep_for(std::chrono::milliseconds(durationMs));
    return rang;
}

struct PortModule {
    void* handle = nullptr;
    PortAccess entries;
    bool usable = false;
};

std::mutex portLock;
PortModule* portModule = nullptr;

} // namespace

bool soundTone(unsigned frequency, unsigned durationMs) {
    if (frequency == 0) return false;
    return consoleTone(frequency, durationMs) || terminalBell(durationMs);
}

const PortAccess* portAccess() {
    std::lock_guard lock(portLock);
    if (!portModule) {
        portModule = new PortModule;
        portModule->handle =
            dlopen(sharedObjectName(sizeof(void*) == 8 ? "inpoutx64.dll" : "inpout32.dll").c_str(),
                   RTLD_NOW | RTLD_LOCAL);
        if (portModule->handle) {
            portModule->entries.Inp32 =
                reinterpret_cast<PortAccess::Read>(dlsym(portModule->handle, "Inp32"));
            portModule->entries.Out32 =
                reinterpret_cast<PortAccess::Write>(dlsym(portModule->handle, "Out32"));
            portModule->usable = portModule->entries.Inp32 && portModule->entries.Out32;
        }
    }
    return portModule->usable ? &portModule->entries : nullptr;
}

void resetPortAccess() {
    std::lock_guard lock(portLock);
    if (!portModule) return;
    if (portModule->handle) dlclose(portModule->handle);
    delete portModule;
    portModule = nullptr;
}

} // namespace platform
