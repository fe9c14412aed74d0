#include "editor/cad_link/keystrokes.h"

#include "platform/windows/message_bus.h"

#include <chrono>
#include <thread>

int PostKeystrokes(platform::Hwnd window, std::string_view text) {
    int posted = 0;
    for (const char character : text) {
        const auto c = static_cast<unsigned char>(character);
        if (!platform::postMessage(window, platform::WM_CHAR, c, keystrokeLParam(c))) continue;
        ++posted;
        std::this_thread::sleep_for(std::chrono::milliseconds(c <= ' ' ? 40 : 20));
    }
    return posted;
}
