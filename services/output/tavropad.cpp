#include "services/output/tavropad.h"

#include "platform/windows/message_bus.h"
#include "platform/windows/process_memory.h"
#include "services/dos/dos.h"
#include "services/output/output.h"
#include "services/output/pad_mem_record.h"
#include "services/startup/window_messages.h"

#include <cstring>
#include <unistd.h>

using platform::Hwnd;

// A kept link is read before it is written: that is its point (static or shared memory holds zeros or an
// earlier state), so gcc's warning about it does not apply here (clang has no such warning).
#ifndef __clang__
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
Tavropad::Tavropad(int keep) {
    if (keep == 1 && frameWindow != 0) return;
    processId = 0;
    frameWindow = 0;
    editWindow = 0;
}
#ifndef __clang__
#pragma GCC diagnostic pop
#endif

std::uint64_t Tavropad::Text(int open) {
    try {
        if (editWindow == 0 || !platform::window_table::isWindow(editWindow)) {
            editWindow = 0;
            if (open && Open(1))
                editWindow = static_cast<Hwnd>(platform::sendMessage(frameWindow, wm_Tavro, 1));
        }
        if (editWindow && mprintEnabled == 0) mprintEnabled = 1;
    } catch (...) {
    }
    return editWindow;
}

int Tavropad::TShow(int show) {
    const Hwnd edit = Text(0);
    if (!edit) return 0;
    if (show) {
        const Hwnd childFrame = platform::window_table::parent(edit);
        const Hwnd client = platform::window_table::related(frameWindow, platform::GW_CHILD);
        platform::sendMessage(client, platform::WM_MDIACTIVATE, childFrame);
        platform::showWindow(frameWindow, platform::SW_RESTORE);
        platform::updateWindow(frameWindow);
        const bool minimised = platform::window_table::style(childFrame) & platform::WS_MINIMIZE;
        platform::showWindow(childFrame, minimised ? platform::SW_RESTORE : platform::SW_SHOW);
        platform::updateWindow(childFrame);
        MyForegroundWindow(frameWindow);
    } else {
        platform::showWindow(frameWindow, platform::SW_MINIMIZE);
        platform::updateWindow(frameWindow);
    }
    return 1;
}

int Tavropad::Mcls() {
    return static_cast<int>(platform::sendMessage(frameWindow, wm_Tavro, 2));
}

namespace {

// Sends a title to `window` as a record the editor reads out of this process while the send waits.
int sendTitle(Hwnd window, const char* text) {
    if (!text) return 0;
    const auto length = static_cast<std::int32_t>(std::strlen(text));
    PadMemRecord record{kPadTitle, reinterpret_cast<std::uint64_t>(text), length};
    if (const std::optional<platform::WindowOwner> owner = platform::window_table::ownerOf(window)) {
        platform::allowMemoryAccessBy(owner->process);
        platform::sendMessage(window, wm_TavroMem, static_cast<std::uint64_t>(getpid()),
                              static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(&record)));
    }
    return length;
}

} // namespace

int Tavropad::SetTitre(const char* text) {
    return sendTitle(frameWindow, text);
}

int Tavropad::SetViewTitre(const char* text) {
    return sendTitle(editWindow, text);
}
