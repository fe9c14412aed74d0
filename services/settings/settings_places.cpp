#include "services/settings/settings_places.h"

#include "platform/files/path_map.h"
#include "platform/settings/private_profile.h"
#include "services/settings/settings_store.h"
#include "services/startup/shared_records.h"

#include <cstring>
#include <vector>

namespace settings {
namespace {

using platform::registry::Hive;
using platform::registry::Value;
using platform::registry::ValueType;

// The "missing" answer of a file read: a value of exactly this one character reads as absent, as it
// always has in this system's files.
constexpr std::string_view kAbsent = "\xF9";

std::string folderOf(char letter) {
    if (!pvg) return {};
    return letter == 'L' ? pvg->installFolder : pvg->localFolder;
}

// Items each followed by ";", while whole items fit in `room` bytes with the terminator. In names read from
// files a ";" is written as 0xBB, so that the list stays a list.
std::string listOf(const std::vector<std::string>& names, size_t room, bool fromFile, bool& fits) {
    std::string list;
    fits = true;
    for (std::string name : names) {
        if (fromFile)
            for (char& c : name)
                if (c == ';') c = '\xBB';
        if (list.size() + name.size() + 2 > room) {
            fits = false;
            break;
        }
        list += name + ";";
    }
    return list;
}

std::string asText(const Value& value) {
    return value.type == ValueType::Dword ? std::to_string(value.number) : value.text;
}

std::optional<std::string> askRegistry(const Place& place, const char* key, size_t room,
                                       size_t registryLimit) {
    const std::string path = place.section.empty() ? place.path : place.path + "\\" + place.section;
    if (place.section.empty() || !key) {
        const auto names = place.section.empty() ? platform::registry::subkeyNames(place.hive, path)
                                                 : platform::registry::valueNames(place.hive, path);
        if (!names) return std::nullopt;
        bool fits = true;
        std::string list = listOf(*names, room, false, fits);
        if (!fits) return std::nullopt;
        return list;
    }
    const auto value = platform::registry::queryValue(place.hive, path, key);
    if (!value) return std::nullopt;
    std::string text = asText(*value);
    if (text.size() + 1 > std::min(room, registryLimit)) return std::nullopt;
    return text;
}

std::optional<std::string> askFile(const Place& place, const char* key, size_t room) {
    const std::string file = platform::hostPath(place.path);
    if (place.section.empty() || !key) {
        const auto names = place.section.empty() ? platform::profileSections(file)
                                                 : platform::profileKeys(file, place.section);
        if (!names) return std::nullopt;
        bool fits = true;
        return listOf(*names, room, true, fits);
    }
    std::string value = platform::profileString(file, place.section, key).value_or(std::string(kAbsent));
    if (value == kAbsent) return std::nullopt;
    if (value.size() + 1 > room) value.resize(room - 1);
    return value;
}

} // namespace

std::string Chemin_ini(const char* file, char letter) {
    const bool dotted = std::strchr(file, '.') != nullptr;
    switch (letter) {
    case 'B':
        return std::string(g_RegZORTA) + "\\INI\\" + file;
    case 'L':
        return folderOf('L') + "INI\\" + file + (dotted ? "" : ".ini");
    case 'R':
        return folderOf('R') + "INI\\" + file + (dotted ? "" : ".def");
    case 'S':
        return folderOf('R') + "INI\\DefLocal.DEF";
    default:
        return {};
    }
}

std::optional<Place> placeOf(char letter, const char* file, const char* section, bool machine) {
    Place place;
    place.path = Chemin_ini(file, letter);
    if (place.path.empty()) return std::nullopt;
    place.letter = letter;
    place.hive = machine ? Hive::LocalMachine : Hive::CurrentUser;
    if (section) place.section = letter == 'S' ? std::string(file) + "_" + section : section;
    return place;
}

std::optional<std::string> askPlace(const Place& place, const char* key, size_t room, size_t registryLimit) {
    if (room == 0) return std::nullopt;
    return place.isRegistry() ? askRegistry(place, key, room, registryLimit) : askFile(place, key, room);
}

bool writePlace(const Place& place, const char* key, const char* value) {
    if (place.isRegistry()) {
        return value && platform::registry::setValue(place.hive, place.path + "\\" + place.section, key,
                                                     Value::string(value));
    }
    return platform::writeProfileString(platform::hostPath(place.path), place.section, key, value);
}

} // namespace settings
