// Help files and help pop-ups, shown through the platform's help viewer.
#include "services/dos/dos.h"
#include "services/dos/dos_path_parts.h"
#include "services/output/message_boxes.h"
#include "services/settings/folders.h"
#include "services/settings/settings_store_internal.h"
#include "services/str/str.h"

#include "platform/files/path_map.h"
#include "platform/ui/message_box.h"
#include "platform/ui/screens.h"
#include "platform/ui/user_dialogs.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// HTML Help commands, and the system's own pop-up kinds.
constexpr int kDisplayTopic = 0;
constexpr int kDisplayIndex = 2;
constexpr int kKeywordLookup = 13;
constexpr int kTextPopup = 14;
constexpr int kTopicPopup = 0x80;
constexpr int kSettingsPopup = 0x81;
// Adds "P" to the settings letters.
constexpr int kProfileLetter = 0x100;

constexpr int kPopupTextSize = 10000;

bool hasDot(const std::string& text) {
    return text.find('.') != std::string::npos;
}

// The help folder, found once: the setting [General] DirHlp of "ZORTA", else the install folder's "DLL\".
const char* helpFolder(int type) {
    if (DOS::chemins_aide) return DOS::chemins_aide;
    char folder[services::kMaxPath + 1] = "";
    const char* letters = (type & kProfileLetter) ? "PLR" : "LR";
    if (settings::readSetting("ZORTA", "General", letters, "DirHlp", folder, sizeof folder) <= 0) {
        std::snprintf(folder, sizeof folder, "%sDLL\\", installFolder().c_str());
    }
    DOS::chemins_aide = strdup(folder);
    return DOS::chemins_aide;
}

// "\n" written as two characters in a settings value stands for a line end.
std::string withLineEnds(std::string text) {
    for (size_t at; (at = text.find("\\n")) != std::string::npos;)
        text.replace(at, 2, "\n");
    return text;
}

std::string popupText(const char* file, const char* topic, int type) {
    const int command = type & 0xFF;
    if (command != kSettingsPopup) {
        std::string text = topic && *topic ? topic : "";
        if (file && *file) text += (text.empty() ? "" : "\n") + std::string(file);
        return text;
    }
    if (!file || !*file || !topic || !*topic) return {};
    std::string text(kPopupTextSize, '\0');
    const char* letters = (type & kProfileLetter) ? "Plr" : "lr";
    const int length = settings::readSetting("popup", file, letters, topic, text.data(), kPopupTextSize);
    if (length < 3) return {};
    text.resize(static_cast<size_t>(length));
    return withLineEnds(text);
}

std::string upperTopic(std::string topic) {
    for (char& c : topic)
        c = static_cast<char>(STR::Chr_majuscule[static_cast<unsigned char>(c)]);
    return topic;
}

} // namespace

int DOS::Aide(const char* file, const char* topic, int type) {
    const int command = type & 0xFF;
    if (command == kTextPopup || command == kTopicPopup || command == kSettingsPopup)
        return AideHtml(file, topic, type);
    std::string name = file && *file ? file : "ZORTA.chm";
    if (!hasDot(name)) name += ".chm";
    char found[services::kMaxPath + 1];
    if (!Localise_fichier(found, name.c_str(), helpFolder(type), 0)) {
        mMessageBox(platform::MB_ICONWARNING, "", "Fichier  introuvable :%s", name.c_str());
        return -1;
    }
    return AideHtml(found, topic, type);
}

// The help file keeps its spelling (upper-casing it would lose its accented folders); the topic is
// upper-cased without accents, as the help files index their topics.
int DOS::AideHtml(const char* file, const char* topic, int type) {
    const int command = type & 0xFF;
    if (command == kTextPopup || command == kTopicPopup || command == kSettingsPopup) {
        const std::string text = popupText(file, topic, type);
        if (text.empty()) return -1;
        const auto [x, y] = platform::cursorPos();
        platform::HelpRequest popup{"", "", command, text, x, y < 20 ? 0 : y - 40};
        return platform::showHelp(popup) ? 1 : 0;
    }
    if (!file || !*file || !topic || !*topic) return -1;
    std::string helpFile = file;
    if (!hasDot(helpFile)) helpFile += ".CHM";
    std::string helpTopic = topic;
    if (command == kDisplayTopic && !hasDot(helpTopic)) helpTopic += ".htm";
    platform::HelpRequest request{platform::hostPath(helpFile), upperTopic(helpTopic), command, "", 0, 0};
    if (!platform::showHelp(request)) return 0;
    if (command == kDisplayIndex) {
        request.command = kKeywordLookup;
        platform::showHelp(request);
    }
    return 1;
}
