#pragma once
// What the library printed while this editor was starting (a wrong install folder, ...), shown in the
// editor's own text screen rather than in a second editor started for it.
#include "platform/windows/window_table.h"

// Opens this editor's text screen through its main frame and appends the held text; nothing when none.
void showHeldOutput(platform::Hwnd mainFrame);
