#pragma once
// Message boxes that modules show in the host's window (the MFC message box of the host process). The host
// prints the box on the command line and takes the button from the input queue (@answer). Without an answer
// at the front of the queue the box answers the way that changes the least: Cancel when it has that button,
// No for Yes/No, OK for a box with OK alone.
#include "host/rx/adesk.h"

constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_RETRYCANCEL = 0x5;
constexpr unsigned MB_ICONSTOP = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_SETFOREGROUND = 0x10000;
constexpr unsigned MB_TOPMOST = 0x40000;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The button chosen. An answer naming a button the box does not have is refused with a message, and the
// box answers as without one.
int AfxMessageBox(const ACHAR* text, unsigned type = MB_OK, unsigned helpId = 0);
// An OK box with the host's caption.
int acedAlert(const ACHAR* text);
