#include "services/output/output_mode.h"

#include "platform/system/program.h"
#include "services/output/output.h"
#include "services/output/text_screens.h"
#include "services/startup/busy_word.h"

#include <cstring>
#include <string>

char Mode[16] = {1};
char ModeDef[16] = {1};

namespace {

constexpr int kPrintingOn = 1;
constexpr int kGlobalScreen = 2;
constexpr int kLocalScreen = 4;

// "Ecran Texte (NAME)" with the program's name, without folder and without anything from its first dot on.
std::string localScreenTitle() {
    std::string name = platform::programFileName();
    name.erase(0, name.find_last_of('\\') + 1);
    name.erase(std::min(name.find('.'), name.size()));
    return "Ecran Texte (" + name + ")";
}

void askForScreens(int outputBits) {
    using services::TextScreen;
    services::TextScreens& screens = services::textScreens();
    if (outputBits & kGlobalScreen) screens.text(TextScreen::Global, true);
    if (outputBits & kLocalScreen) {
        const std::uint64_t before = screens.text(TextScreen::Local, false);
        const std::uint64_t now = screens.text(TextScreen::Local, true);
        if (now && now != before) screens.setTitle(TextScreen::Local, localScreenTitle().c_str());
    }
}

} // namespace

int i_mode(char* digits) {
    if (!digits) return 0;
    char mode[11] = {};
    for (std::size_t i = 0; i < sizeof mode && digits[i]; ++i)
        mode[i] = i < 10 ? static_cast<char>(digits[i] & 0x0F) : digits[i];
    const auto claim = services::BusyClaim::tryClaim(services::kBusyOutputMode);
    if (!claim) return 1;
    if (mode[0] & kPrintingOn) mprintEnabled = 1;
    try {
        askForScreens(mode[0]);
    } catch (...) {
        return 1;
    }
    std::memcpy(Mode, mode, 3);
    return 1;
}

bool services::countedStringMode() {
    return Mode[2] == 1;
}

void services::resetOutputMode() {
    std::memset(Mode, 0, sizeof Mode);
    Mode[0] = 1;
}
