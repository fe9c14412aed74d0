#pragma once
// Finding another editor instance by the title of its main window, for a hand-off.
#include "platform/windows/window_table.h"

#include <string_view>

// The first top-level window of another process whose title (its first 199 characters) begins with
// `prefix`, case counting; 0 when none, and for an empty prefix.
platform::Hwnd findInstanceByTitle(std::string_view prefix);
