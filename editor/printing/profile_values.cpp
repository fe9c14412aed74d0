#include "editor/printing/profile_values.h"

#include "platform/settings/private_profile.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>

ProfileFile ProfileFile::program() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const std::filesystem::path base = config && *config
                                           ? std::filesystem::path(config)
                                           : std::filesystem::path(home ? home : ".") / ".config";
    std::error_code ignored; // an unwritable folder leaves the defaults in use
    std::filesystem::create_directories(base / "ZortaPad", ignored);
    return {(base / "ZortaPad" / "ZortaPad.ini").string()};
}

int ProfileFile::readInt(std::string_view section, std::string_view key, int fallback) const {
    const std::optional<std::string> text = platform::profileString(path, section, key);
    if (!text) return fallback;
    int value = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    return error == std::errc() && end != text->data() ? value : fallback;
}

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view fallback) const {
    return platform::profileString(path, section, key).value_or(std::string(fallback));
}

bool ProfileFile::writeInt(std::string_view section, const char* key, int value) const {
    return writeString(section, key, std::to_string(value));
}

bool ProfileFile::writeString(std::string_view section, const char* key, const std::string& value) const {
    return platform::writeProfileString(path, section, key, value.c_str());
}
