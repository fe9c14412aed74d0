// Settings as files give them. The first byte chooses the reader, the rest is the file:
//   even: a registry hive, whose sound part formats to a hive that reads back whole and formats the same;
//   odd:  an ini file, read through the private-profile functions and the settings store: every key listed
//         has a value, and a key written reads back with every other key as it was.
#include "platform/base/ascii.h"
#include "platform/settings/private_profile.h"
#include "platform/settings/registry_hive.h"
#include "services/settings/settings_store.h"
#include "tests/fuzz/local_folder.h"

#include <map>
#include <optional>
#include <utility>

namespace {

namespace registry = platform::registry;

constexpr const char* kStoreFile = "FUZZ"; // "INI\FUZZ.DEF" in the local folder
constexpr const char* kSection = "zorta fuzz written";

void roundTripHive(const std::string& text) {
    const std::string formatted = registry::formatHive(registry::parseHive(text).keys);
    const registry::ParsedHive again = registry::parseHive(formatted);
    fuzz::check(!again.damaged, "a formatted hive reads as damaged");
    fuzz::check(registry::formatHive(again.keys) == formatted, "a formatted hive formats otherwise");
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && platform::isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && platform::isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

using Keys = std::map<std::pair<std::string, std::string>, std::string>;

// Every section and key the file lists, with its value; at most a few hundred, however long the file.
Keys listedKeys(const std::string& path) {
    Keys keys;
    for (const std::string& section : platform::profileSections(path).value_or(std::vector<std::string>{})) {
        for (const std::string& key :
             platform::profileKeys(path, section).value_or(std::vector<std::string>{})) {
            const std::optional<std::string> value = platform::profileString(path, section, key);
            fuzz::check(value.has_value(), "a key listed has no value: [" + section + "] " + key);
            keys.emplace(std::pair{section, key}, *value);
            if (keys.size() > 300) return keys;
        }
    }
    return keys;
}

// The sections the settings store lists, each followed by ";", read one by one.
void readThroughStore() {
    char list[4096];
    if (gets_ini(kStoreFile, nullptr, "R", nullptr, list, sizeof list) < 0) return;
    for (char* section = list; char* end = std::strchr(section, ';'); section = end + 1) {
        *end = '\0';
        char value[512];
        gets_ini(kStoreFile, section, "R", nullptr, value, sizeof value);
    }
}

void roundTripIni(const fuzz::LocalFolder& local, const std::string& text) {
    local.write(std::string(kStoreFile) + ".DEF", text);
    const std::string path = local.iniFile(std::string(kStoreFile) + ".DEF");
    readThroughStore();
    const Keys before = listedKeys(path);
    if (before.size() > 300) return;
    if (!platform::writeProfileString(path, kSection, "key", "value")) return;
    fuzz::check(platform::profileString(path, kSection, "key") == "value",
                "a key written does not read back");
    for (const auto& [name, value] : before)
        if (!platform::sameNoCase(trimmed(name.first), kSection))
            fuzz::check(platform::profileString(path, name.first, name.second) == value,
                        "a key changed by writing another: [" + name.first + "] " + name.second);
    char read[64];
    fuzz::check(gets_ini(kStoreFile, kSection, "R", "key", read, sizeof read) == 5 &&
                    std::string_view(read) == "value",
                "the settings store does not read the key written");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::LocalFolder local;
    if (size == 0) return 0;
    const std::string text = fuzz::bytes(data + 1, size - 1);
    if (data[0] % 2 == 0)
        roundTripHive(text);
    else
        roundTripIni(local, text);
    return 0;
}
