#include "platform/ui/message_box.h"

#include "platform/base/code_page.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <span>
#include <strings.h>

namespace platform {

namespace {

struct ButtonName {
    const char* name;
    int answer;
};
constexpr std::array<ButtonName, 7> kButtonNames = {{{"ok", IDOK},
                                                     {"cancel", IDCANCEL},
                                                     {"abort", IDABORT},
                                                     {"retry", IDRETRY},
                                                     {"ignore", IDIGNORE},
                                                     {"yes", IDYES},
                                                     {"no", IDNO}}};

// The buttons of each button set, in the order they are shown.
std::span<const int> buttonsOf(unsigned type) {
    static constexpr int kOk[] = {IDOK};
    static constexpr int kOkCancel[] = {IDOK, IDCANCEL};
    static constexpr int kAbortRetryIgnore[] = {IDABORT, IDRETRY, IDIGNORE};
    static constexpr int kYesNoCancel[] = {IDYES, IDNO, IDCANCEL};
    static constexpr int kYesNo[] = {IDYES, IDNO};
    static constexpr int kRetryCancel[] = {IDRETRY, IDCANCEL};
    switch (type & 0xF) {
    case MB_OKCANCEL:
        return kOkCancel;
    case MB_ABORTRETRYIGNORE:
        return kAbortRetryIgnore;
    case MB_YESNOCANCEL:
        return kYesNoCancel;
    case MB_YESNO:
        return kYesNo;
    case MB_RETRYCANCEL:
        return kRetryCancel;
    default:
        return kOk;
    }
}

int configuredAnswer() {
    const char* value = std::getenv("ZORTA_MESSAGEBOX_ANSWER");
    if (!value) return 0;
    for (const ButtonName& button : kButtonNames)
        if (strcasecmp(value, button.name) == 0) return button.answer;
    return 0;
}

int showOnStandardError(const MessageBoxRequest& box) {
    const int answer = defaultMessageBoxAnswer(box.type);
    const char* answerName = "?";
    for (const ButtonName& button : kButtonNames)
        if (button.answer == answer) answerName = button.name;
    std::fprintf(stderr, "[%s] %s -> %s\n", cp1252ToUtf8(box.caption).c_str(), cp1252ToUtf8(box.text).c_str(),
                 answerName);
    return answer;
}

std::mutex handlerLock;
MessageBoxHandler& installedHandler() {
    static MessageBoxHandler* handler = new MessageBoxHandler; // outlives every static destructor
    return *handler;
}

} // namespace

int defaultMessageBoxAnswer(unsigned type) {
    const std::span<const int> buttons = buttonsOf(type);
    const int configured = configuredAnswer();
    for (int button : buttons)
        if (button == configured) return configured;
    const std::size_t defaultIndex = (type & MB_DEFBUTTON3) ? 2 : (type & MB_DEFBUTTON2) ? 1 : 0;
    return buttons[defaultIndex < buttons.size() ? defaultIndex : 0];
}

int messageBox(std::uint64_t owner, const char* text, const char* caption, unsigned type) {
    MessageBoxRequest box{owner, text ? text : "", caption ? caption : "Erreur", type};
    MessageBoxHandler handler;
    {
        std::lock_guard lock(handlerLock);
        handler = installedHandler();
    }
    return handler ? handler(box) : showOnStandardError(box);
}

void setMessageBoxHandler(MessageBoxHandler handler) {
    std::lock_guard lock(handlerLock);
    installedHandler() = std::move(handler);
}

} // namespace platform
