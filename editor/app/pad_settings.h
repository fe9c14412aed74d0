#pragma once
// The program's settings, kept in "ZortaPad.INI" in the user's "zorta" configuration folder: the view
// settings and the window placement (section "Settings"), the display font ("Font") and the printer font
// ("PrintFont"). They are read once at start; a copy of what was read is held, so that the exit writes only
// what changed. Values outside their range read as their defaults; numbers never go through the locale.
#include <optional>
#include <string>

// The part of a font description that the profile keeps. A negative height is the character height in
// pixels; the weight is on the 100-900 scale (700 bold); a height of 0 means no font is set.
struct ProfileFont {
    int height = 0;
    int weight = 0;
    int italic = 0;
    int underline = 0;
    int pitchAndFamily = 0;
    int charSet = 1;
    std::string faceName = "System"; // at most 31 characters
    bool operator==(const ProfileFont&) const = default;
};

struct PadSettings {
    static constexpr int kDefaultTabStops = 32;
    static constexpr int kDefaultLineLimit = 5001;
    static constexpr int kMinLineLimit = 20;
    static constexpr int kMaxLineLimit = 50000;
    static constexpr int kMinTabCharacters = 1;
    static constexpr int kMaxTabCharacters = 16;
    static constexpr int kDialogUnitsPerCharacter = 4;

    int version = 0;
    int wordWrap = 1;
    int tabStops = kDefaultTabStops; // dialog units
    int lineLimit = kDefaultLineLimit;
    int showCmd = 3; // child frames: 3 maximised, 1 normal
    std::string windowPos;
    ProfileFont font;
    ProfileFont printFont;
    bool operator==(const PadSettings&) const = default;
};

class PadProfile {
public:
    // The profile in the user's configuration folder, or in `path` (tests).
    PadProfile();
    explicit PadProfile(std::string path) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }

    // On a first run (no "IVersion" above 0) writes the first-run values; then reads everything and keeps
    // a copy of what it read.
    PadSettings read();
    // Writes what differs from the copy read: "ligne_max" always, a font's fields only while it has a
    // height, the placement and the child show state when they changed.
    void write(const PadSettings& current) const;

private:
    void writeFirstRun() const;
    int number(const char* section, const char* key, int fallback) const;
    void put(const char* section, const char* key, int value) const;
    ProfileFont readFont(const char* section) const;
    void writeFont(const char* section, const ProfileFont& font, const ProfileFont& before) const;

    std::string path_;
    PadSettings read_;
};

// Locale-free integers: the whole text must be a number (after blanks and an optional sign).
std::optional<long long> parseInteger(std::string_view text, int base = 10);
std::string formatInteger(long long value);
