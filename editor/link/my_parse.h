#pragma once
// The editor's command line. The same 664-byte record is the payload of a kind-2 PadMemRecord that hands a
// whole command line to another editor instance, so its layout is fixed; a receiver reads from byte 80 on.
//
// Switches begin with "-", or with "/" unless another "/" comes before their "=" (so "/home/u/a.txt" is a
// file): "id=" (hand-shake), "fen=" (title prefix of an instance to hand off to), "titre=" (title suffix),
// "ro=" (read-only), "on=" (bring to front), any case; "Stop=" (process to end on validation) and "G" (the
// global text screen), exactly so. The first other parameter is the file name.
#include "platform/windows/window_table.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct __attribute__((packed)) CMyParse {
    CMyParse();

    std::uint8_t commandLineInfo[72]{}; // the base part of the command-line object; not read by a receiver
    std::uint64_t foundWindow = 0;      // the editor instance found through "fen=" (0: none)
    char fileName[260]{};
    char titleSuffix[200]{};
    char windowPrefix[100]{};
    std::int32_t readOnly = 0;
    std::int32_t bringToFront = 1;
    std::int32_t stopProcessId = 0;
    std::int32_t globalScreen = 0;
    std::uint64_t foregroundWindow = 0; // in front when the editor started

    // A record received from another instance: exactly the record's size, each text ended inside its field;
    // false (and nothing changed) for any other size.
    bool assignReceived(const void* bytes, std::size_t size);
};

static_assert(sizeof(CMyParse) == 664);
static_assert(offsetof(CMyParse, foundWindow) == 72);
static_assert(offsetof(CMyParse, fileName) == 80);
static_assert(offsetof(CMyParse, titleSuffix) == 340);
static_assert(offsetof(CMyParse, windowPrefix) == 540);
static_assert(offsetof(CMyParse, readOnly) == 640);
static_assert(offsetof(CMyParse, bringToFront) == 644);
static_assert(offsetof(CMyParse, stopProcessId) == 648);
static_assert(offsetof(CMyParse, globalScreen) == 652);
static_assert(offsetof(CMyParse, foregroundWindow) == 656);

// What parsing acts on in the running editor.
struct ParseActions {
    platform::Hwnd mainFrame = 0;
    std::function<void(const std::string&)> setExplicitTitle; // "fen=" titles the main frame
    platform::Hwnd callerWindow = 0;                          // set by a successful hand-shake
};

// Parses the program's arguments (without the program name) into `parse`; the hand-shake and the "fen="
// search run on the way.
void parseCommandLine(const std::vector<std::string>& arguments, CMyParse& parse, ParseActions& actions);

// Whether an argument is a switch, and its text without the leading "/" or "-".
bool isSwitch(std::string_view argument);
