#pragma once
// Window messages between the windows of the machine (SendMessage, SendMessageTimeout, PostMessage,
// PeekMessage/DispatchMessage, CreateWindow with its window procedure, DestroyWindow).
//
// Each process that owns windows serves one Unix-domain socket, which only processes of the same user may
// reach. A message to a window of the calling thread is dispatched at once; one to a window of another thread
// or process travels over that process's socket and waits in its owner thread's queue until that thread
// pumps. A sender waits for the reply at most its time-out (0 then) and meanwhile serves the messages sent to
// its own thread's windows, so two threads sending to each other never deadlock. Posts keep their order from
// one sender thread to one process.
//
// Linux differs in what a message carries: numbers only, except for the messages whose parameter is text
// (WM_SETTEXT, EM_REPLACESEL, WM_SETTINGCHANGE carry the text in `text`; the reply to WM_GETTEXT carries the
// text back). Pointers are never carried: a receiver reads another process's memory itself
// (process_memory.h).
#include "platform/windows/window_table.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

constexpr std::uint32_t WM_ACTIVATE = 0x0006;
constexpr std::uint32_t WM_SETTEXT = 0x000C;
constexpr std::uint32_t WM_GETTEXT = 0x000D;
constexpr std::uint32_t WM_GETTEXTLENGTH = 0x000E;
constexpr std::uint32_t WM_CLOSE = 0x0010;
constexpr std::uint32_t WM_SHOWWINDOW = 0x0018;
constexpr std::uint32_t WM_SETTINGCHANGE = 0x001A;
constexpr std::uint32_t WM_CHAR = 0x0102;
constexpr std::uint32_t WM_COMMAND = 0x0111;
constexpr std::uint32_t WM_MDIACTIVATE = 0x0222;
constexpr std::uint32_t WM_CLEAR = 0x0303;
constexpr std::uint32_t WM_USER = 0x0400;
constexpr std::uint32_t EM_GETSEL = 0x00B0;
constexpr std::uint32_t EM_SETSEL = 0x00B1;
constexpr std::uint32_t EM_GETLINECOUNT = 0x00BA;
constexpr std::uint32_t EM_LINEINDEX = 0x00BB;
constexpr std::uint32_t EM_REPLACESEL = 0x00C2;
constexpr std::uint32_t EM_SETREADONLY = 0x00CF;

// WM_ACTIVATE's wParam.
constexpr std::uint64_t WA_INACTIVE = 0;
constexpr std::uint64_t WA_ACTIVE = 1;

// ShowWindow's commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_RESTORE = 9;

// How long a send waits for its reply unless told otherwise.
constexpr int kSendTimeoutMs = 5000;

struct Message {
    Hwnd window = 0;
    std::uint32_t id = 0;
    std::uint64_t wParam = 0;
    std::int64_t lParam = 0;
    std::string text; // the text carried in, and for WM_GETTEXT the text answered
};

// A window procedure: the answer to the message; it may set `text` to answer text.
using WindowProc = std::function<std::int64_t(Message& message)>;

// The default handling: WM_SETTEXT sets the title, WM_GETTEXT and WM_GETTEXTLENGTH answer it, WM_SHOWWINDOW
// keeps the style bits; 0 for the rest.
std::int64_t defWindowProc(Message& message);

// Creates a window owned by the calling thread, whose messages `procedure` handles (null: defWindowProc).
// Nullopt with `error` set when the table refuses it or the process's socket cannot be served.
std::optional<Hwnd> createWindow(const WindowSpec& spec, WindowProc procedure, std::string* error = nullptr);
// Destroys a window of this process and its descendants.
void destroyWindow(Hwnd window);

struct SendResult {
    bool delivered = false; // false: no such window, the owner is gone or did not answer in time
    std::int64_t result = 0;
    std::string text;
};

// Sends and waits at most `timeoutMs` for the answer.
SendResult sendMessage(const Message& message, int timeoutMs = kSendTimeoutMs);
// Sends messages for windows of one other process in turn without waiting between them, then waits at most
// `timeoutMs` for all their answers, which come in the same order (one round trip for all); messages for
// other windows are sent one by one.
std::vector<SendResult> sendMessages(const std::vector<Message>& messages, int timeoutMs = kSendTimeoutMs);
// The answer, 0 when it did not come.
std::int64_t sendMessage(Hwnd window, std::uint32_t id, std::uint64_t wParam = 0, std::int64_t lParam = 0);
// Queues the message for the window's owner; false when it cannot be handed over.
bool postMessage(const Message& message);
bool postMessage(Hwnd window, std::uint32_t id, std::uint64_t wParam = 0, std::int64_t lParam = 0);
// Sends the message to every top-level window, waiting at most `timeoutMs` for each; the number answered.
int broadcastMessage(Message message, int timeoutMs);

// Serves the messages waiting for the calling thread, waiting at most `waitMs` for a first one (0: only what
// is there). `filter` sees each message before it is dispatched; answering true ends the pump and the
// message is not dispatched (a sent one is answered 0). The number of messages handled, or -1 when the
// filter ended the pump.
int pumpMessages(int waitMs, const std::function<bool(const Message&)>& filter = {});

// A descriptor that becomes readable when messages may wait for this process (for an event loop's socket
// notifier); -1 when the process owns no window yet. Pump on the thread that owns the windows when it fires.
int messageBusFd();

// Shows, hides, minimises or restores a window of any process (ShowWindow): the style bits change at once
// and the owner hears WM_SHOWWINDOW with the command. Whether the window was visible before.
bool showWindow(Hwnd window, int command);
// UpdateWindow: true for a window; the owner repaints on its own.
bool updateWindow(Hwnd window);
// Brings the window to the foreground; both owners hear WM_ACTIVATE (posted). False when it is not a window.
bool setForegroundWindow(Hwnd window);
// The calling thread's focus and active window; setting the focus is for a window of the calling process.
Hwnd getFocus();
Hwnd getActiveWindow();

// Waits until `process` has a window (WaitForInputIdle): 0 then, 258 when `timeoutMs` passed, -1 when the
// process ended first.
int waitForInputIdle(pid_t process, int timeoutMs);

} // namespace platform
