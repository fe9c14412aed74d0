#pragma once
// The plug-in's output: every message of the plug-in goes through cmdprintf (the host's command line) or
// msgprintf (the library's output routing and the command line), and message boxes through msgBox. Texts
// are 8-bit, in the Windows code page.
#include <cstdarg>

#include "host/rx/adesk.h"

// Formats (at most 2,047 characters, cut beyond) and prints on the host's command line as text; 0 for an
// empty result, else what the host's printing answers.
int cmdprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Formats (at most 9,999 characters, cut beyond) and hands the finished text, as text, to the library's
// output routing (which reads its "$G$", "$L$" and "$S$" prefixes) and to cmdprintf.
int msgprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// A message box with the exclamation icon, topmost and brought to the foreground; null is an empty text.
int msgBox(const char* text);

// The print hooks that the rest of the plug-in prints through: cmdprintf and the host's acutPrintf unless
// set otherwise (the plug-in sets them when it loads).
using NarrowPrintHook = int (*)(const char* format, ...);
using WidePrintHook = int (*)(const ACHAR* format, ...);
extern NarrowPrintHook g_printHook;
extern WidePrintHook g_widePrintHook;
void resetPrintHooks();
