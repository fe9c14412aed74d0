#pragma once
// Finds the CAD program's window among the machine's top-level windows by their titles.
#include "platform/windows/window_table.h"

#include <string_view>

// Mode 'A': the CAD window's drawing view (the first "Afx:" child after its status bar), else the CAD window
// itself; mode 'B': the first window titled with "BAS:". A title of the editor beginning with "QEL:" names
// the drawing (or base) to look for first. 0 when nothing is found.
platform::Hwnd FindCadWindow(char mode, std::string_view editorTitle);
