#include "editor/printing/profile_values.h"

#include "editor/app/pad_settings.h"
#include "platform/settings/private_profile.h"

#include <limits>

int ProfileFile::readInt(std::string_view section, std::string_view key, int fallback) const {
    const std::optional<std::string> text = platform::profileString(path, section, key);
    const std::optional<long long> value = text ? parseInteger(*text) : std::nullopt;
    return value && *value >= std::numeric_limits<int>::min() && *value <= std::numeric_limits<int>::max()
               ? static_cast<int>(*value)
               : fallback;
}

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view fallback) const {
    return platform::profileString(path, section, key).value_or(std::string(fallback));
}

bool ProfileFile::writeInt(std::string_view section, const char* key, int value) const {
    return writeString(section, key, formatInteger(value));
}

bool ProfileFile::writeString(std::string_view section, const char* key, const std::string& value) const {
    return platform::writeProfileString(path, section, key, value.c_str());
}
