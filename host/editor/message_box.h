#pragma once
// Message boxes that modules show in the host's window (the MFC message box of the host process). The host
// prints the box on the command line and takes the button from the input queue (@answer). Without an answer
// at the front of the queue the box answers the way that changes the least: Cancel when it has that button,
// No for Yes/No, OK for a box with OK alone.
#include "host/rx/adesk.h"
#include "platform/ui/message_box.h"

// The platform's styles and answers, named without a namespace as module code names them.
using platform::IDOK, platform::IDCANCEL, platform::IDABORT, platform::IDRETRY, platform::IDIGNORE,
    platform::IDYES, platform::IDNO;
using platform::MB_OK, platform::MB_OKCANCEL, platform::MB_ABORTRETRYIGNORE, platform::MB_YESNOCANCEL,
    platform::MB_YESNO, platform::MB_RETRYCANCEL, platform::MB_ICONQUESTION, platform::MB_ICONINFORMATION,
    platform::MB_SETFOREGROUND, platform::MB_TOPMOST;
// The same icons under their other names.
constexpr unsigned MB_ICONSTOP = platform::MB_ICONERROR;
constexpr unsigned MB_ICONEXCLAMATION = platform::MB_ICONWARNING;

// The button chosen. An answer naming a button the box does not have is refused with a message, and the
// box answers as without one.
int AfxMessageBox(const ACHAR* text, unsigned type = MB_OK, unsigned helpId = 0);
// An OK box with the host's caption.
int acedAlert(const ACHAR* text);
