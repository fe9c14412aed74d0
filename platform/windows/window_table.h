#pragma once
// The machine-wide table of windows (CreateWindow, IsWindow, GetParent, GetWindow, EnumWindows,
// GetWindowText, GetClassName, GetWindowThreadProcessId, the style bits, the foreground, focus and active
// windows).
//
// A window handle is `pid << 32 | serial`, the serial counted machine-wide so that a handle is never reused.
// Each entry records its owner's process id, thread id and process start time: a window whose process has
// ended, or whose pid now names another process, is gone from every answer. The table lives in one shared
// segment guarded by a robust mutex, takes the ZORTA_NAMESPACE prefix and, like every segment, is shared by
// the processes of one user. It holds a fixed number of windows; creating one more fails.
//
// Linux differs from Windows in that the table holds what Windows keeps in the window itself (title, style,
// focus): the owner keeps the table up to date when its own window changes.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

using Hwnd = std::uint64_t;

constexpr std::uint32_t WS_VISIBLE = 0x10000000;
constexpr std::uint32_t WS_MINIMIZE = 0x20000000;
constexpr std::uint32_t WS_MAXIMIZE = 0x01000000;
constexpr std::uint32_t ES_READONLY = 0x0800;

// GetWindow's relations.
constexpr int GW_HWNDFIRST = 0;
constexpr int GW_HWNDLAST = 1;
constexpr int GW_HWNDNEXT = 2;
constexpr int GW_HWNDPREV = 3;
constexpr int GW_OWNER = 4;
constexpr int GW_CHILD = 5;

constexpr std::size_t kWindowTitleLimit = 1023; // characters kept of a title
constexpr std::size_t kWindowClassLimit = 63;
constexpr std::size_t kWindowTableCapacity = 1024;

// The desktop: owned by no process (pid part 0), always a window, parent of every top-level window.
constexpr Hwnd kDesktopWindow = 0x10010;

inline pid_t processOfHandle(Hwnd window) {
    return static_cast<pid_t>(window >> 32);
}

struct WindowSpec {
    std::string className; // code page 1252
    std::string title;     // code page 1252
    Hwnd parent = 0;       // 0 (or the desktop) for a top-level window
    Hwnd owner = 0;
    std::uint32_t style = 0;
};

struct WindowOwner {
    pid_t process = 0;
    pid_t thread = 0;
};

namespace window_table {

// Adds a window owned by the calling thread; nullopt with `error` set when the table is full or cannot be
// opened. The new window is on top of its siblings.
std::optional<Hwnd> add(const WindowSpec& spec, std::string* error = nullptr);
// Removes a window of this process and its descendants.
void remove(Hwnd window);

bool isWindow(Hwnd window);
Hwnd parent(Hwnd window);
Hwnd owner(Hwnd window);
// GetWindow: siblings in Z order (top first), the owner, the top child; 0 when none.
Hwnd related(Hwnd window, int relation);
// Top-level windows in Z order, top first.
std::vector<Hwnd> topLevelWindows();
// Every descendant of `window`, each before its own children, siblings in Z order.
std::vector<Hwnd> descendants(Hwnd window);
std::string text(Hwnd window);
std::string className(Hwnd window);
std::optional<WindowOwner> ownerOf(Hwnd window);
std::uint32_t style(Hwnd window);

// The owner's changes to its window; false when it is not a window.
bool setText(Hwnd window, const std::string& text);
bool setStyle(Hwnd window, std::uint32_t set, std::uint32_t clear);
// Puts the window on top of its siblings.
bool bringToTop(Hwnd window);

// The foreground window (0 when none is alive); setting it also makes it its thread's active window and
// brings it to the top. Answers the previous foreground window.
Hwnd foreground();
std::optional<Hwnd> setForeground(Hwnd window);
// The focus and the active window of a thread (0 when none); setting them is the owner thread's.
Hwnd focusOf(const WindowOwner& thread);
Hwnd activeOf(const WindowOwner& thread);
bool setFocus(Hwnd window);
// The window `window` owns that was active last, or `window` itself.
Hwnd lastActivePopup(Hwnd window);

// Whether `process` owns a window in the table.
bool ownsWindow(pid_t process);

// Unmaps the table of this process.
void close();

} // namespace window_table

} // namespace platform
