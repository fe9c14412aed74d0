#pragma once
// Text screens that record what the output routing does with them.
#include "services/output/text_screens.h"

#include <string>
#include <vector>

namespace testing_support {

class RecordingScreens final : public services::TextScreens {
public:
    struct Screen {
        bool open = false;
        int openRequests = 0;
        int shows = 0;
        int clears = 0;
        std::string title;
        std::string printed;
    };

    RecordingScreens() { services::setTextScreens(this); }
    ~RecordingScreens() override { services::setTextScreens(nullptr); }

    Screen& at(services::TextScreen screen) {
        return screen == services::TextScreen::Global ? global : local;
    }

    std::uint64_t text(services::TextScreen screen, bool open) override {
        Screen& s = at(screen);
        if (open && !s.open) {
            ++s.openRequests;
            s.open = true;
        }
        return s.open ? 100 + static_cast<std::uint64_t>(screen) : 0;
    }
    int show(services::TextScreen screen, int) override {
        ++at(screen).shows;
        return at(screen).open ? 1 : 0;
    }
    int clear(services::TextScreen screen) override {
        ++at(screen).clears;
        return 1;
    }
    void setTitle(services::TextScreen screen, const char* title) override { at(screen).title = title; }
    void print(services::TextScreen screen, const char* text) override { at(screen).printed += text; }

    Screen global;
    Screen local;
};

} // namespace testing_support
