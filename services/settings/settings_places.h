#pragma once
// The places of the settings store: where each store letter looks, and how one place is read or written.
#include "platform/settings/registry.h"

#include <cstddef>
#include <optional>
#include <string>

namespace settings {

// One place named by a store letter.
struct Place {
    char letter = 0;
    std::string path;    // system path of the file, or the registry key above the sections
    std::string section; // the section as that place knows it (S: "<file>_<section>"); empty: list sections
    platform::registry::Hive hive = platform::registry::Hive::CurrentUser;
    bool isRegistry() const { return letter == 'B'; }
};

// The place path of a letter for a settings file ("" for a letter that names no place).
std::string Chemin_ini(const char* file, char letter);

// The place a letter names, or nullopt; `section` and `key` may be null (lists).
std::optional<Place> placeOf(char letter, const char* file, const char* section, bool machine);

// What the place answers, fitted to `room` bytes with its terminator; nullopt when it has no answer.
// Lists come as items each followed by ";". A registry value longer than `registryLimit` - 1 bytes, or
// than the room, gives no answer; a file value is cut to the room.
std::optional<std::string> askPlace(const Place& place, const char* key, size_t room, size_t registryLimit);

// Writes key = value there (a null value removes the key from a file); true when written.
bool writePlace(const Place& place, const char* key, const char* value);

} // namespace settings
