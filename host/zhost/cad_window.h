#pragma once
// zhost's window on the window bus, as the CAD program shows it to other programs: a main window titled
// with the product and the drawing's name, and under it a toolbar, a status bar and the drawing view, which
// holds the focus. Characters posted to the view or the main window are typed input.
#include <string>
#include <vector>

#include "host/input/input_queue.h"
#include "platform/windows/message_bus.h"

namespace zhost {

class CadWindow {
public:
    CadWindow() = default;
    ~CadWindow();
    CadWindow(const CadWindow&) = delete;
    CadWindow& operator=(const CadWindow&) = delete;

    // Puts the windows on the bus; false with `error` set when the bus refuses them.
    bool open(const std::string& title, std::string& error);
    // Serves the bus until `lines` lines were typed or `waitMs` passed; the items of the lines typed (at most
    // `lines`; what came after waits for the next call).
    std::vector<host::InputItem> waitForLines(int lines, int waitMs);

private:
    std::int64_t onMessage(platform::Message& message);
    void type(unsigned char c);

    platform::Hwnd frame_ = 0;
    std::vector<platform::Hwnd> children_;
    std::wstring line_;
    bool afterCarriageReturn_ = false;
    std::vector<host::InputItem> typed_;
};

// The title of the main window for a drawing ("" for a new one): "Autodesk AutoCAD 2021 - [NAME.dwg]".
std::string cadWindowTitle(const std::string& productName, const std::string& drawing);

} // namespace zhost
