#include "editor/app/pad_settings.h"

#include "platform/files/atomic_file.h"
#include "platform/settings/private_profile.h"
#include "platform/settings/registry.h"

#include <charconv>

using namespace platform;

namespace {

constexpr const char* kSettings = "Settings";
constexpr const char* kFont = "Font";
constexpr const char* kPrintFont = "PrintFont";
constexpr std::size_t kFaceNameLimit = 31;
// Beyond this many pixels a character no longer fits any window or page, and the font engine draws
// nothing but empty boxes.
constexpr int kFontHeightLimit = 500;

ProfileFont firstRunFont() {
    ProfileFont font;
    font.height = -12;
    font.weight = 700;
    font.pitchAndFamily = 0x31;
    font.charSet = 0;
    font.faceName = "Courier New";
    return font;
}

bool within(int value, int low, int high) {
    return value >= low && value <= high;
}

} // namespace

std::optional<long long> parseInteger(std::string_view text, int base) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string formatInteger(long long value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

PadProfile::PadProfile() : path_(registry::hiveFolder(registry::Hive::CurrentUser) + "/ZortaPad.INI") {}

int PadProfile::number(const char* section, const char* key, int fallback) const {
    const std::optional<std::string> text = profileString(path_, section, key);
    if (!text) return fallback;
    const std::optional<long long> value = parseInteger(*text);
    if (!value || *value < INT32_MIN || *value > INT32_MAX) return fallback;
    return static_cast<int>(*value);
}

void PadProfile::put(const char* section, const char* key, int value) const {
    writeProfileString(path_, section, key, formatInteger(value).c_str());
}

ProfileFont PadProfile::readFont(const char* section) const {
    ProfileFont font;
    font.height = number(section, "Height", 0);
    if (!within(font.height, -kFontHeightLimit, kFontHeightLimit)) font.height = 0;
    font.weight = number(section, "Weight", 0);
    if (!within(font.weight, 0, 1000)) font.weight = 0;
    font.italic = number(section, "Italic", 0) != 0;
    font.underline = number(section, "Underline", 0) != 0;
    font.pitchAndFamily = number(section, "PitchAndFamily", 0) & 0xFF;
    font.charSet = number(section, "CharSet", 1) & 0xFF;
    font.faceName = profileString(path_, section, "FaceName").value_or("System").substr(0, kFaceNameLimit);
    if (font.faceName.empty()) font.faceName = "System";
    return font;
}

void PadProfile::writeFont(const char* section, const ProfileFont& font, const ProfileFont& before) const {
    if (font.height != before.height) put(section, "Height", font.height);
    if (font.height == 0) return;
    if (font.weight != before.weight) put(section, "Weight", font.weight);
    if (font.italic != before.italic) put(section, "Italic", font.italic);
    if (font.underline != before.underline) put(section, "Underline", font.underline);
    if (font.pitchAndFamily != before.pitchAndFamily) put(section, "PitchAndFamily", font.pitchAndFamily);
    if (font.charSet != before.charSet) put(section, "CharSet", font.charSet);
    if (font.faceName != before.faceName)
        writeProfileString(path_, section, "FaceName", font.faceName.substr(0, kFaceNameLimit).c_str());
}

void PadProfile::writeFirstRun() const {
    const std::size_t slash = path_.find_last_of('/');
    if (slash != std::string::npos) makeFolders(path_.substr(0, slash));
    put(kSettings, "IVersion", 1);
    const ProfileFont none{};
    ProfileFont changedEverywhere = none;
    changedEverywhere.charSet = -1; // so that every field of the first-run fonts is written
    changedEverywhere.faceName.clear();
    writeFont(kFont, firstRunFont(), changedEverywhere);
    writeFont(kPrintFont, firstRunFont(), changedEverywhere);
    put(kSettings, "WordWrap", 1);
}

PadSettings PadProfile::read() {
    if (number(kSettings, "IVersion", 0) <= 0) writeFirstRun();
    PadSettings settings;
    settings.version = number(kSettings, "IVersion", 0);
    settings.wordWrap = number(kSettings, "WordWrap", 1) != 0;
    settings.tabStops = number(kSettings, "TabStops", PadSettings::kDefaultTabStops);
    if (!within(settings.tabStops, PadSettings::kMinTabCharacters * PadSettings::kDialogUnitsPerCharacter,
                PadSettings::kMaxTabCharacters * PadSettings::kDialogUnitsPerCharacter))
        settings.tabStops = PadSettings::kDefaultTabStops;
    settings.lineLimit = number(kSettings, "ligne_max", PadSettings::kDefaultLineLimit);
    if (!within(settings.lineLimit, PadSettings::kMinLineLimit, PadSettings::kMaxLineLimit))
        settings.lineLimit = PadSettings::kDefaultLineLimit;
    settings.showCmd = number(kSettings, "ShowCmd", 3) == 1 ? 1 : 3;
    settings.windowPos = profileString(path_, kSettings, "WindowPos").value_or("");
    settings.font = readFont(kFont);
    settings.printFont = readFont(kPrintFont);
    read_ = settings;
    return settings;
}

void PadProfile::write(const PadSettings& current) const {
    if (current.wordWrap != read_.wordWrap) put(kSettings, "WordWrap", current.wordWrap);
    if (current.tabStops != read_.tabStops) put(kSettings, "TabStops", current.tabStops);
    put(kSettings, "ligne_max", current.lineLimit);
    if (current.showCmd != read_.showCmd) put(kSettings, "ShowCmd", current.showCmd);
    if (current.windowPos != read_.windowPos && !current.windowPos.empty())
        writeProfileString(path_, kSettings, "WindowPos", current.windowPos.c_str());
    writeFont(kFont, current.font, read_.font);
    writeFont(kPrintFont, current.printFont, read_.printFont);
}
