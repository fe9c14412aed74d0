#pragma once
// Window messages of the host's main window, as the filters that modules register see them. The host has no
// window: the key events of the input queue are the only messages, and they pass through every filter in
// the order of registration before they reach the command line.
#include <cstdint>

using UINT = unsigned int;
using DWORD = std::uint32_t;
using WPARAM = std::uint64_t;
using LPARAM = std::int64_t;
using HWND = struct HWND__*;

struct POINT {
    long x;
    long y;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

constexpr UINT WM_KEYDOWN = 0x100;
constexpr UINT WM_KEYUP = 0x101;

constexpr int VK_BACK = 0x08;
constexpr int VK_CLEAR = 0x0C;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_DELETE = 0x2E;

// A filter answers true (non-zero in the 2017 and 2018 hosts, whose filters answer int) to swallow the
// message.
using AcedFilterWinMsgFn = bool (*)(MSG*);
using AcedFilterWinMsgIntFn = int (*)(MSG*);

// False when the filter is null or already registered.
bool acedRegisterFilterWinMsg(AcedFilterWinMsgFn filter);
bool acedRegisterFilterWinMsg(AcedFilterWinMsgIntFn filter);
// False when the filter was not registered.
bool acedRemoveFilterWinMsg(AcedFilterWinMsgFn filter);
bool acedRemoveFilterWinMsg(AcedFilterWinMsgIntFn filter);

namespace host {

// Offers a key event to the filters; true when one of them swallowed it. A time of 0 takes the host's
// clock, which moves 10 ms per event; a given time sets the clock.
bool offerKeyEvent(int virtualKey, bool down, DWORD time);
int filterCount();
// Test support: removes every filter and restarts the clock.
void resetFilters();

} // namespace host
