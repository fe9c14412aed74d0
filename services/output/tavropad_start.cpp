// Starting the editor program for a link and learning its main frame.
#include "services/output/tavropad.h"

#include "platform/system/command_line.h"
#include "platform/system/process.h"
#include "platform/system/program.h"
#include "platform/ui/message_box.h"
#include "platform/windows/message_bus.h"
#include "platform/windows/process_memory.h"
#include "services/dos/dos.h"
#include "services/dos/start_program.h"
#include "services/output/output_mode.h"
#include "services/startup/busy_word.h"
#include "services/startup/shared_records.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using platform::Hwnd;

namespace {

constexpr int kIdleWaitMs = 20000;
constexpr int kFramePollMs = 4000;
constexpr int kFramePollStepMs = 100;
constexpr int kOtherStartStepMs = 20;
constexpr std::chrono::milliseconds kOutputModePatience{1000};

// The frame field, which the editor writes from its own process while this one polls.
Hwnd frameOf(const Tavropad& link) {
    std::atomic_signal_fence(std::memory_order_seq_cst);
    Hwnd frame;
    std::memcpy(&frame, reinterpret_cast<const char*>(&link) + offsetof(Tavropad, frameWindow), sizeof frame);
    return frame;
}

// The link's frame when it is a live window, else 0.
Hwnd liveFrameOf(const Tavropad& link) {
    const Hwnd frame = frameOf(link);
    return frame && platform::window_table::isWindow(frame) ? frame : 0;
}

// The claim on the start; while another process starts an editor, waits for that start, which ends within
// its own bounds, and answers nothing once it gave `link` a frame (the global link's editor is everyone's).
std::optional<services::BusyClaim> claimStart(const Tavropad& link) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kIdleWaitMs + kFramePollMs + 1000);
    for (;;) {
        if (std::optional<services::BusyClaim> claim =
                services::BusyClaim::claimAfterOutputMode(services::kBusyEditorStart, kOutputModePatience))
            return claim;
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(kOtherStartStepMs));
        if (liveFrameOf(link)) return std::nullopt;
    }
}

bool isExecutable(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The editor is looked for as Windows looks for a program: in the running program's folder first, then
// along PATH. It inherits no handles of this process.
pid_t startEditor(const std::string& commandLine) {
    std::vector<std::string> argv = platform::splitCommandLine(commandLine);
    std::string folder = platform::programFileName();
    std::replace(folder.begin(), folder.end(), '\\', '/');
    folder.erase(folder.find_last_of('/') + 1);
    for (const std::string name : kEditorPrograms)
        if (!folder.empty() && isExecutable(folder + name)) {
            argv[0] = folder + name;
            return platform::spawnProcess(argv, false, false);
        }
    return services::startProgram(argv, false, false);
}

std::string formatted(const char* format, auto... values) {
    const int length = std::snprintf(nullptr, 0, format, values...);
    std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, values...);
    text.pop_back();
    return text;
}

} // namespace

std::uint64_t Tavropad::Open(int start) {
    char printingOn[] = "10000000";
    i_mode(printingOn);
    const Hwnd known = frameOf(*this);
    if (known && platform::window_table::isWindow(known)) return known;
    // Only a dead frame is cleared: an editor that another process starts may be writing the field now.
    if (known) frameWindow = 0;
    if (!start) return 0;

    // Held until the start is over, on every path. Another process's i_mode holds the word for a moment
    // only: waiting it out keeps two starts at once from both giving up. A start that another process
    // finished meanwhile is taken as it is.
    std::optional<services::BusyClaim> claim = claimStart(*this);
    if (const Hwnd started = liveFrameOf(*this)) return started;
    if (!claim) return 0;
    processId = this == g_pTpadG ? -1 : static_cast<std::int32_t>(getpid());
    if (pvg) pvg->editorStartWord = 0;

    Hwnd owner = platform::getActiveWindow();
    if (!owner) owner = platform::kDesktopWindow;
    const std::string commandLine =
        formatted("%s /ID=%d,%llx,%llx", kEditorPrograms[0], processId,
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(this)),
                  static_cast<unsigned long long>(owner));
    const pid_t editor = startEditor(commandLine);
    if (editor < 0) {
        platform::messageBox(0, formatted("Impossible de lancer '%s'", commandLine.c_str()).c_str(), nullptr,
                             platform::MB_OK);
        return 0;
    }
    platform::allowMemoryAccessBy(editor);
    platform::releaseProcess(editor);

    const int idle = platform::waitForInputIdle(editor, kIdleWaitMs);
    processId = editor;
    const auto pollEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(kFramePollMs);
    while (frameOf(*this) == 0 && std::chrono::steady_clock::now() < pollEnd) {
        if (const Hwnd main = DOS::GetMainThreadWindow(editor)) {
            frameWindow = main;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kFramePollStepMs));
    }
    claim.reset();

    if (idle == 0) {
        if (frameOf(*this) == 0) frameWindow = DOS::GetMainThreadWindow(editor);
        if (frameOf(*this) != 0) return Open(0);
    }
    const std::string failure =
        formatted("Pas de retour de commande res=%d Frame_HWND=%llx sur '%s'", idle,
                  static_cast<unsigned long long>(frameOf(*this)), commandLine.c_str());
    platform::messageBox(0, failure.c_str(), nullptr, platform::MB_OK);
    return 0;
}
