#pragma once
// The editor link: the library's link to one instance of the editor program ZortaPad, which shows its text
// screens. It starts the editor, learns its main frame and the edit window of its text screen, writes text
// straight into that edit window and asks the editor for services with the registered messages wm_Tavro and
// wm_TavroMem. Its record is 24 bytes in every build, because the global link lives in the general shared
// segment and the editor writes its frame into a link in another process's memory.
#include <cstddef>
#include <cstdint>

// The editor program's file names, its Windows name first: a start runs the first one found, and the editor
// knows itself by either.
inline constexpr const char* kEditorPrograms[] = {"ZortaPad.exe", "ZortaPad"};

class __attribute__((packed)) Tavropad {
public:
    // With `keep` 1 a link that already knows a frame window is left as it is (for links in static or shared
    // memory, which hold zeros or a previous state before construction); otherwise the process id and both
    // windows are cleared. The line limit is left as it is.
    explicit Tavropad(int keep = 0);

    // The editor's frame, starting the editor when `start` is non-zero and none is known; null when there is
    // none, when another start is under way, or when the start failed (a message box says why).
    std::uint64_t Open(int start);
    // The text screen's edit window, asking the editor to open the screen when `open` is set; null when none.
    std::uint64_t Text(int open);
    // Shows and activates the text screen (`show` non-zero) or minimises the editor; 1, or 0 without a
    // screen.
    int TShow(int show);
    // Clears the text screen; the editor's answer.
    int Mcls();
    // Titles the editor's frame, or the text screen; the text's length.
    int SetTitre(const char* text);
    int SetViewTitre(const char* text);
    // Appends code-page text to the text screen, a carriage return before each bare newline; the number of
    // characters sent in the last piece, 0 without a screen.
    int print(const char* text);
    int printf(const char* format, ...) __attribute__((format(printf, 2, 3)));

    std::uint64_t frameWindow; // the editor's main frame, 0 when none
    std::uint64_t editWindow;  // the edit window of the editor's text screen, 0 when none
    std::int32_t lineLimit;    // the text screen's line limit, as last given by the editor
    std::int32_t processId;    // the caller's id before a start (-1 for the global link), then the editor's
};

static_assert(sizeof(Tavropad) == 24);
static_assert(offsetof(Tavropad, frameWindow) == 0);
static_assert(offsetof(Tavropad, editWindow) == 8);
static_assert(offsetof(Tavropad, lineLimit) == 16);
static_assert(offsetof(Tavropad, processId) == 20);

// Text goes to the edit window in pieces of a little more than this many characters.
constexpr std::size_t kTavropadPiece = 1000;
