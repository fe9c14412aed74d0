// Reading the store: the places named by the letters are asked in order; the first answer wins, or in merge
// mode every answer is gathered into one ";" list.
#include "services/output/output_mode.h"
#include "services/settings/folders.h"
#include "services/settings/settings_places.h"
#include "services/settings/settings_store.h"
#include "services/settings/settings_store_internal.h"
#include "services/str/str.h"

#include "platform/base/ascii.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

char g_RegZORTA[24] = "Software\\ZORTA_32";

namespace settings {
namespace {

constexpr int kDefaultSize = 1000;
constexpr size_t kMostLetters = 49;

// The letters as the store reads them: upper case, at most 49.
std::string normalisedLetters(const char* letters) {
    std::string normalised(letters ? letters : "LR", 0, kMostLetters);
    STR::Majuscules_ASCII(normalised.data());
    return normalised;
}

// Rebuilds a ";" list: runs of ";" become one, and items are dropped when `drop` says so.
template <typename Drop> void rewriteList(char* text, Drop drop) {
    std::vector<std::string_view> kept;
    const std::string original(text);
    const bool endsWithSeparator = !original.empty() && original.back() == ';';
    for (size_t begin = 0; begin <= original.size();) {
        size_t end = original.find(';', begin);
        if (end == std::string::npos) end = original.size();
        const std::string_view item(original.data() + begin, end - begin);
        if (!item.empty() && !drop(item, kept)) kept.push_back(item);
        begin = end + 1;
    }
    std::string list;
    for (size_t i = 0; i < kept.size(); ++i) {
        list += kept[i];
        if (i + 1 < kept.size() || endsWithSeparator) list += ';';
    }
    std::memcpy(text, list.c_str(), list.size() + 1);
}

void removeDuplicates(char* text) {
    rewriteList(text, [](std::string_view item, const std::vector<std::string_view>& kept) {
        for (const std::string_view earlier : kept)
            if (earlier == item) return true;
        return false;
    });
}

void removeComments(char* text) {
    rewriteList(text, [](std::string_view item, const std::vector<std::string_view>&) {
        return item.front() == '\'';
    });
}

} // namespace

int readSetting(const char* file, const char* section, const char* letters, const char* key, char* buffer,
                int size, size_t registryLimit) {
    if (size <= 0) size = kDefaultSize;
    if (file && platform::sameNoCase(file, "SZORTA")) file = "ZORTA";
    if (!file || !*file) return -2;
    if (letters && !*letters) return -3;
    const std::string order = normalisedLetters(letters);
    if (!buffer) return -5;

    const bool merge = order.find('+') != std::string::npos;
    const bool machine = order.find('M') != std::string::npos;
    if (section && !*section) section = nullptr;
    if (key && !*key) key = nullptr;

    size_t length = 0;
    int answers = 0;
    char answeredBy = 0;
    buffer[0] = 0;
    for (const char letter : order) {
        const auto place = placeOf(letter, file, section, machine);
        if (!place) continue;
        const size_t room = static_cast<size_t>(size) - length;
        // Merged answers are joined as list items.
        const bool separate = merge && length > 0 && buffer[length - 1] != ';';
        if (separate && room < 2) break;
        const auto answer = askPlace(*place, key, room - (separate ? 1 : 0), registryLimit);
        if (!answer) continue;
        if (separate) buffer[length++] = ';';
        std::memcpy(buffer + length, answer->data(), answer->size());
        length += answer->size();
        buffer[length] = 0;
        ++answers;
        answeredBy = letter;
        if (!merge) break;
    }
    if (answers == 0) return -1;
    if (merge && answers > 1) removeDuplicates(buffer);
    ReplaceStdDir(buffer, merge ? 0 : answeredBy, size);
    if (!key) removeComments(buffer);
    return static_cast<int>(std::strlen(buffer));
}

} // namespace settings

int gets_ini(const char* file, const char* section, const char* letters, const char* key, char* buffer,
             int size) {
    size_t registryLimit = 5000;
    // A counted string carries its size in the 4 bytes before it.
    if (buffer && services::countedStringMode()) {
        std::int32_t counted = 0;
        std::memcpy(&counted, buffer - sizeof counted, sizeof counted);
        if (counted <= 0) return -5;
        size = counted;
        registryLimit = static_cast<size_t>(counted) - 1;
    }
    return settings::readSetting(file, section, letters, key, buffer, size, registryLimit);
}
