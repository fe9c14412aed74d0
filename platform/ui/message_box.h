#pragma once
// Message boxes (MessageBoxA).
//
// The Windows style bits and answers keep their values, so that callers can pass and test them as on
// Windows. What shows a box is a pluggable handler: the default one (there is no display here) writes the
// caption and text to standard error in UTF-8 and answers at once, with the button named by the environment
// variable ZORTA_MESSAGEBOX_ANSWER ("ok", "cancel", "yes", "no", "abort", "retry", "ignore") when the box has
// it, else with the box's default button. Tests put a handler of their own in place to script the answers.
#include <cstdint>
#include <functional>
#include <string>

namespace platform {

// Buttons (the low four bits of the style).
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_RETRYCANCEL = 0x5;
// Icons.
constexpr unsigned MB_ICONERROR = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
// Default button, modality, placement.
constexpr unsigned MB_DEFBUTTON2 = 0x100;
constexpr unsigned MB_DEFBUTTON3 = 0x200;
constexpr unsigned MB_SYSTEMMODAL = 0x1000;
constexpr unsigned MB_SETFOREGROUND = 0x10000;
constexpr unsigned MB_TOPMOST = 0x40000;

// Answers.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// One box as the handler sees it: texts in the code page (Windows-1252), the owner window (0: none or the
// desktop) and the style bits.
struct MessageBoxRequest {
    std::uint64_t owner = 0;
    std::string text;
    std::string caption;
    unsigned type = 0;
};

using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;

// Shows a box and returns the button pressed. A null caption stands for the default caption "Erreur".
int messageBox(std::uint64_t owner, const char* text, const char* caption, unsigned type);

// Puts `handler` in place for every later box of the process; an empty handler restores the default.
void setMessageBoxHandler(MessageBoxHandler handler);

// The answer of the default handler for a box of style `type`.
int defaultMessageBoxAnswer(unsigned type);

} // namespace platform
