#pragma once
// The hand-shake with the library that started the editor: "/ID=pid,address,window" names the caller's
// process, the address of its 24-byte editor link and its window; the editor writes its main frame into the
// link (into the global link in shared memory for a pid of -1).
#include "platform/windows/window_table.h"

#include <optional>
#include <string_view>

// Writes `mainFrame` into the caller's link; the caller's window when the link of a process was written,
// nullopt otherwise (malformed text, a pid or address of 0, a link that cannot be read or is not waiting for
// this editor).
std::optional<platform::Hwnd> runHandshake(std::string_view text, platform::Hwnd mainFrame);
