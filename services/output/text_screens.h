#pragma once
// The two text screens that routed output goes to: the global one, which one editor instance shows for every
// process of the machine (the link `g_pTpadG`), and the one of this process (the link `Tpadl`).
//
// The editor program ZortaPad carries both screens, through the editor links. Without a display (unless the
// environment variable ZORTA_TEXT_SCREENS is "editor") a console stand-in shows them on standard output
// instead, in UTF-8: a screen is open once it has been asked for in this process, and text printed into an
// open screen is written out. Tests put a recording implementation in place.
#include <cstdint>
#include <string>

namespace services {

enum class TextScreen { Global, Local };

class TextScreens {
public:
    virtual ~TextScreens() = default;
    // The screen's edit window, asking for the screen first when `open` is set; 0 when there is none.
    virtual std::uint64_t text(TextScreen screen, bool open) = 0;
    // Shows and activates the screen (`show` non-zero) or minimises it; 1, or 0 without a screen.
    virtual int show(TextScreen screen, int show) = 0;
    // Clears the screen; the editor's answer.
    virtual int clear(TextScreen screen) = 0;
    // Gives the screen a title.
    virtual void setTitle(TextScreen screen, const char* title) = 0;
    // Appends code-page text to the screen.
    virtual void print(TextScreen screen, const char* text) = 0;
};

// The screens in force.
TextScreens& textScreens();

// Puts `screens` in place (the caller keeps ownership); null restores the default.
void setTextScreens(TextScreens* screens);

// In the editor program, what was printed into the global screen before the editor could show it (held so
// that the editor's own start-up starts no second editor); output goes to the screens from then on.
std::string releaseHeldOutput();

// The console stand-in, with both screens closed again (tests).
void resetConsoleScreens();

} // namespace services
