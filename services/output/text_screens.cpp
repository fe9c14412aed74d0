#include "services/output/text_screens.h"

#include "platform/base/code_page.h"
#include "platform/system/process.h"
#include "services/startup/shared_records.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

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

// The screens of the editor program, through the global link and this process's link.
class EditorScreens final : public TextScreens {
public:
    std::uint64_t text(TextScreen screen, bool open) override {
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
        if (Tavropad* link = linkOf(screen)) link->print(text);
    }

private:
    static Tavropad* linkOf(TextScreen screen) { return screen == TextScreen::Global ? g_pTpadG : &Tpadl; }
};

bool editorWanted() {
    const char* choice = std::getenv("ZORTA_TEXT_SCREENS");
    return platform::hasDisplay() || (choice && std::string_view(choice) == "editor");
}

TextScreens& defaultScreens() {
    static TextScreens* screens = editorWanted() ? static_cast<TextScreens*>(new EditorScreens) : nullptr;
    return screens ? *screens : static_cast<TextScreens&>(console());
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

void resetConsoleScreens() {
    console().reset();
}

} // namespace services
