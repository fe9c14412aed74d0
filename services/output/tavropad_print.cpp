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
#include <vector>

using platform::Hwnd;

namespace {

constexpr std::size_t kPrintfBuffer = 1025;

// The global screen is trimmed to about its line limit once it holds a fifth more; its first character
// stays. A limit that is not positive trims nothing: the whole screen would go. True when it trimmed.
bool trimGlobalScreen(Tavropad& link, Hwnd edit, std::int64_t lines) {
    const auto tooMany = [&] {
        return link.lineLimit > 0 && lines * 5 > static_cast<std::int64_t>(link.lineLimit) * 6;
    };
    if (link.lineLimit <= 0 || tooMany())
        link.lineLimit = static_cast<std::int32_t>(platform::sendMessage(edit, wm_Tavro, 1));
    if (!tooMany()) return false;
    const auto cut = platform::sendMessage(edit, platform::EM_LINEINDEX,
                                           static_cast<std::uint64_t>(lines - link.lineLimit - 1));
    platform::sendMessage(edit, platform::EM_SETREADONLY, 0);
    platform::sendMessage(edit, platform::EM_SETSEL, 1, cut);
    platform::sendMessage(edit, platform::WM_CLEAR);
    platform::sendMessage(edit, platform::EM_SETREADONLY, 1);
    return true;
}

// The text in pieces of a little more than kTavropadPiece characters, a carriage return before each bare
// newline.
std::vector<std::string> piecesOf(const char* text) {
    std::vector<std::string> pieces(1);
    const auto append = [&](char c) {
        pieces.back() += c;
        if (pieces.back().size() > kTavropadPiece) pieces.emplace_back();
    };
    for (const char* c = text; *c; ++c) {
        if (*c == '\n' && (c == text || c[-1] != '\r')) append('\r');
        append(*c);
    }
    if (pieces.back().empty()) pieces.pop_back();
    return pieces;
}

} // namespace

// The edit window is asked its line count and length at once, and the caret and the pieces are sent at
// once: each print waits for the editor twice, not once a message (the text screen of a long listing).
int Tavropad::print(const char* text) {
    const Hwnd edit = Text(0);
    if (!edit || !text) return 0;
    std::optional<services::GlobalScreenLock> others;
    if (this == g_pTpadG) others.emplace(std::chrono::milliseconds(platform::kSendTimeoutMs));

    std::vector<platform::Message> questions;
    if (others) questions.push_back({edit, platform::EM_GETLINECOUNT, 0, 0, {}});
    questions.push_back({edit, platform::WM_GETTEXTLENGTH, 0, 0, {}});
    std::vector<platform::SendResult> answers = platform::sendMessages(questions);
    if (others && trimGlobalScreen(*this, edit, answers.front().result))
        answers.back().result = platform::sendMessage(edit, platform::WM_GETTEXTLENGTH);
    const auto end = static_cast<std::uint64_t>(answers.back().result);

    const std::vector<std::string> pieces = piecesOf(text);
    std::vector<platform::Message> messages{
        {edit, platform::EM_SETSEL, end, static_cast<std::int64_t>(end), {}}};
    for (const std::string& piece : pieces)
        messages.push_back({edit, platform::EM_REPLACESEL, 0, 0, piece});
    platform::sendMessages(messages);
    return pieces.empty() ? 0 : static_cast<int>(pieces.back().size());
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
