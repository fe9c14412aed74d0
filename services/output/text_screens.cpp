#include "services/output/text_screens.h"

#include "platform/base/ascii.h"
#include "platform/base/code_page.h"
#include "platform/system/process.h"
#include "platform/system/program.h"
#include "services/output/tavropad.h"
#include "services/startup/shared_records.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>

namespace services {

namespace {

class ConsoleScreens final : public TextScreens {
public:
    std::uint64_t text(TextScreen screen, bool open) override {
        std::atomic<bool>& isOpen = openFlag(screen);
        if (open) isOpen = true;
        return isOpen ? windowOf(screen) : 0;
    }

    int show(TextScreen screen, int) override { return text(screen, false) ? 1 : 0; }

    int clear(TextScreen screen) override { return text(screen, false) ? 1 : 0; }

    void setTitle(TextScreen, const char*) override {}

    void print(TextScreen screen, const char* text) override {
        if (!this->text(screen, false) || !text) return;
        const std::string utf8 = platform::cp1252ToUtf8(text);
        std::fwrite(utf8.data(), 1, utf8.size(), stdout);
        std::fflush(stdout);
    }

    void reset() {
        globalOpen = false;
        localOpen = false;
    }

private:
    // Stand-in window values: non-zero, one per screen.
    static std::uint64_t windowOf(TextScreen screen) { return screen == TextScreen::Global ? 1 : 2; }

    std::atomic<bool>& openFlag(TextScreen screen) {
        return screen == TextScreen::Global ? globalOpen : localOpen;
    }

    std::atomic<bool> globalOpen{false};
    std::atomic<bool> localOpen{false};
};

ConsoleScreens& console() {
    static ConsoleScreens* screens = new ConsoleScreens; // outlives every static destructor
    return *screens;
}

// Whether this program is the editor itself (its names as the link looks for it).
bool isEditorProgram() {
    const std::string program = platform::programFileName();
    const std::string_view name = std::string_view(program).substr(program.find_last_of('\\') + 1);
    return std::any_of(std::begin(kEditorPrograms), std::end(kEditorPrograms),
                       [&](const char* editor) { return platform::sameNoCase(name, editor); });
}

// The screens of the editor program, through the global link and this process's link. In the editor itself,
// what is printed before its own screen can show it is held, so that it starts no second editor.
class EditorScreens final : public TextScreens {
public:
    std::uint64_t text(TextScreen screen, bool open) override {
        if (holding()) return kHeldScreen;
        Tavropad* link = linkOf(screen);
        return link ? link->Text(open ? 1 : 0) : 0;
    }

    int show(TextScreen screen, int show) override {
        Tavropad* link = linkOf(screen);
        return link ? link->TShow(show) : 0;
    }

    int clear(TextScreen screen) override {
        Tavropad* link = linkOf(screen);
        return link ? link->Mcls() : 0;
    }

    void setTitle(TextScreen screen, const char* title) override {
        if (Tavropad* link = linkOf(screen)) link->SetViewTitre(title);
    }

    void print(TextScreen screen, const char* text) override {
        {
            // Held under the lock, so that a release at the same time takes the text or lets it through.
            std::lock_guard guard(heldLock_);
            if (holding_) {
                if (text && screen == TextScreen::Global) held_ += text;
                return;
            }
        }
        if (Tavropad* link = linkOf(screen)) link->print(text);
    }

    std::string release() {
        std::lock_guard guard(heldLock_);
        holding_ = false;
        return std::exchange(held_, {});
    }

private:
    static constexpr std::uint64_t kHeldScreen = 1; // a stand-in window while output is held
    static Tavropad* linkOf(TextScreen screen) { return screen == TextScreen::Global ? g_pTpadG : &Tpadl; }

    bool holding() {
        std::lock_guard guard(heldLock_);
        return holding_;
    }

    std::mutex heldLock_;
    bool holding_ = isEditorProgram();
    std::string held_;
};

bool editorWanted() {
    const char* choice = std::getenv("ZORTA_TEXT_SCREENS");
    return platform::hasDisplay() || (choice && std::string_view(choice) == "editor");
}

EditorScreens* editorScreens() {
    static EditorScreens* screens = editorWanted() ? new EditorScreens : nullptr;
    return screens;
}

TextScreens& defaultScreens() {
    EditorScreens* screens = editorScreens();
    return screens ? static_cast<TextScreens&>(*screens) : static_cast<TextScreens&>(console());
}

std::atomic<TextScreens*> installed{nullptr};

} // namespace

TextScreens& textScreens() {
    TextScreens* screens = installed.load();
    return screens ? *screens : defaultScreens();
}

void setTextScreens(TextScreens* screens) {
    installed = screens;
}

std::string releaseHeldOutput() {
    EditorScreens* screens = editorScreens();
    return screens ? screens->release() : std::string();
}

void resetConsoleScreens() {
    console().reset();
}

} // namespace services
