// Writing text straight into the text screen's edit window.
#include "services/output/tavropad.h"

#include "platform/windows/message_bus.h"
#include "services/startup/busy_word.h"
#include "services/startup/shared_records.h"
#include "services/startup/window_messages.h"

#include <cstdarg>
#include <cstdio>
#include <optional>
#include <string>

using platform::Hwnd;

namespace {

constexpr std::size_t kPrintfBuffer = 1025;

// The global screen is trimmed to about its line limit once it holds a fifth more; its first character
// stays. A limit that is not positive trims nothing: the whole screen would go.
void trimGlobalScreen(Tavropad& link, Hwnd edit) {
    const auto lines = platform::sendMessage(edit, platform::EM_GETLINECOUNT);
    const auto tooMany = [&] {
        return link.lineLimit > 0 && lines * 5 > static_cast<std::int64_t>(link.lineLimit) * 6;
    };
    if (link.lineLimit <= 0 || tooMany())
        link.lineLimit = static_cast<std::int32_t>(platform::sendMessage(edit, wm_Tavro, 1));
    if (!tooMany()) return;
    const auto cut = platform::sendMessage(edit, platform::EM_LINEINDEX,
                                           static_cast<std::uint64_t>(lines - link.lineLimit - 1));
    platform::sendMessage(edit, platform::EM_SETREADONLY, 0);
    platform::sendMessage(edit, platform::EM_SETSEL, 1, cut);
    platform::sendMessage(edit, platform::WM_CLEAR);
    platform::sendMessage(edit, platform::EM_SETREADONLY, 1);
}

void replaceSelection(Hwnd edit, const std::string& piece) {
    platform::sendMessage(platform::Message{edit, platform::EM_REPLACESEL, 0, 0, piece});
}

} // namespace

int Tavropad::print(const char* text) {
    const Hwnd edit = Text(0);
    if (!edit || !text) return 0;
    std::optional<services::GlobalScreenLock> others;
    if (this == g_pTpadG) {
        others.emplace(std::chrono::milliseconds(platform::kSendTimeoutMs));
        trimGlobalScreen(*this, edit);
    }
    const auto end = platform::sendMessage(edit, platform::WM_GETTEXTLENGTH);
    platform::sendMessage(edit, platform::EM_SETSEL, static_cast<std::uint64_t>(end), end);

    std::string piece;
    std::size_t lastPiece = 0;
    const auto append = [&](char c) {
        piece += c;
        if (piece.size() <= kTavropadPiece) return;
        replaceSelection(edit, piece);
        lastPiece = piece.size();
        piece.clear();
    };
    for (const char* c = text; *c; ++c) {
        if (*c == '\n' && (c == text || c[-1] != '\r')) append('\r');
        append(*c);
    }
    if (!piece.empty()) {
        replaceSelection(edit, piece);
        lastPiece = piece.size();
    }
    return static_cast<int>(lastPiece);
}

int Tavropad::printf(const char* format, ...) {
    if (!Text(0) || !format) return 0;
    char buffer[kPrintfBuffer];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    return print(buffer);
}
