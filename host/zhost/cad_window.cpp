#include "host/zhost/cad_window.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "host/filing/text_codec.h"
#include "host/input/script_line.h"
#include "host/input/typed_input.h"
#include "host/lisp/lisp_text.h"

namespace zhost {

using namespace platform;

CadWindow::~CadWindow() {
    if (frame_) destroyWindow(frame_);
}

bool CadWindow::open(const std::string& title, std::string& error) {
    const auto procedure = [this](Message& message) { return onMessage(message); };
    const std::optional<Hwnd> frame =
        createWindow({"Afx:00400000:8:frame", title, 0, 0, WS_VISIBLE}, procedure, &error);
    if (!frame) return false;
    frame_ = *frame;
    // A new window goes on top of its siblings: made last to first, they list toolbar, status bar, view.
    for (const char* className : {"Afx:00400000:8:view", "msctls_statusbar32", "Afx:00400000:8:toolbar"}) {
        const std::optional<Hwnd> child =
            createWindow({className, "", frame_, 0, WS_VISIBLE}, procedure, &error);
        if (!child) return false;
        children_.push_back(*child);
    }
    window_table::setFocus(children_.front());
    return true;
}

std::int64_t CadWindow::onMessage(Message& message) {
    const bool typedInto =
        message.window == frame_ || (!children_.empty() && message.window == children_.front());
    if (message.id == WM_CHAR && typedInto) {
        type(static_cast<unsigned char>(message.wParam));
        return 0;
    }
    return defWindowProc(message);
}

// A line ends at CR or LF (CR LF once), unless a LISP form goes on; Ctrl+C cancels what was typed;
// backspace takes a character back.
void CadWindow::type(unsigned char c) {
    const bool lineFeedOfPair = c == '\n' && afterCarriageReturn_;
    afterCarriageReturn_ = c == '\r';
    if (lineFeedOfPair) return;
    if ((c == '\r' || c == '\n') && host::lispFormGoesOn(line_)) {
        line_ += L'\n';
    } else if (c == '\r' || c == '\n' || c == 3) {
        std::vector<host::InputItem> items = host::typedItems(line_ + (c == 3 ? L'\x03' : L'\n'));
        std::move(items.begin(), items.end(), std::back_inserter(typed_));
        line_.clear();
    } else if (c == 8) {
        if (!line_.empty()) line_.pop_back();
    } else {
        line_ += host::fromCp1252(std::string(1, static_cast<char>(c)));
    }
}

std::vector<host::InputItem> CadWindow::waitForLines(int lines, int waitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    const auto linesTyped = [this] { return std::count_if(typed_.begin(), typed_.end(), host::isTypedLine); };
    for (;;) {
        pumpMessages(0);
        if (linesTyped() >= lines) break;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pumpMessages(static_cast<int>(std::min<long long>(left.count(), 50)));
    }
    std::vector<host::InputItem> out;
    int taken = 0;
    auto it = typed_.begin();
    while (it != typed_.end() && taken < lines) {
        taken += host::isTypedLine(*it);
        out.push_back(std::move(*it++));
    }
    typed_.erase(typed_.begin(), it);
    return out;
}

std::string cadWindowTitle(const std::string& productName, const std::string& drawing) {
    const std::string name = drawing.empty() ? "Drawing1" : std::filesystem::path(drawing).stem().string();
    const std::string product = productName.starts_with("AutoCAD") ? "Autodesk " + productName : productName;
    return product + " - [" + name + ".dwg]";
}

} // namespace zhost
