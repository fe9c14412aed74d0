#include "editor/link/held_output.h"

#include "services/output/tavropad.h"
#include "services/output/text_screens.h"

void showHeldOutput(platform::Hwnd mainFrame) {
    const std::string held = services::releaseHeldOutput();
    if (held.empty()) return;
    Tavropad own(0);
    own.frameWindow = mainFrame;
    if (own.Text(1)) own.print(held.c_str());
}
