#include "platform/settings/registry.h"

#include "platform/base/ascii.h"

#include "platform/files/atomic_file.h"
#include "platform/settings/registry_hive.h"

#include <cstdlib>

namespace platform::registry {
namespace {

std::string folderOf(Hive hive) {
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value && *value ? value : "");
    };
    if (hive == Hive::LocalMachine) {
        const std::string folder = variable("ZORTA_MACHINE_REGISTRY");
        return folder.empty() ? "/var/lib/zorta" : folder;
    }
    std::string config = variable("XDG_CONFIG_HOME");
    if (config.empty()) config = variable("HOME") + "/.config";
    return config + "/zorta";
}

// The hive as it is on disk: empty when its file does not exist yet, nullopt when it cannot be read.
std::optional<HiveKeys> loadHive(Hive hive) {
    const std::optional<std::string> text = readWholeFile(hiveFile(hive));
    return text ? parseHive(*text) : HiveKeys{};
}

const HiveKey* findKey(const std::optional<HiveKeys>& keys, std::string_view key) {
    if (!keys) return nullptr;
    const auto found = keys->find(foldedPath(key));
    return found == keys->end() ? nullptr : &found->second;
}

// Adds the key and every missing parent, spelled as given.
HiveKey& ensureKey(HiveKeys& keys, const std::string& path) {
    for (size_t slash = path.find('\\');; slash = path.find('\\', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        HiveKey& key = keys[foldedPath(prefix)];
        if (key.path.empty()) key.path = prefix;
        if (slash == std::string::npos) return key;
    }
}

} // namespace

std::string hiveFile(Hive hive) {
    return folderOf(hive) + "/registry.hive";
}

bool keyExists(Hive hive, std::string_view key) {
    return findKey(loadHive(hive), key) != nullptr;
}

std::optional<std::vector<std::string>> subkeyNames(Hive hive, std::string_view key) {
    const std::optional<HiveKeys> keys = loadHive(hive);
    if (!findKey(keys, key)) return std::nullopt;
    const std::string prefix = foldedPath(key) + "\\";
    std::vector<std::string> names;
    for (auto it = keys->lower_bound(prefix); it != keys->end() && it->first.starts_with(prefix); ++it) {
        const std::string_view rest = std::string_view(it->first).substr(prefix.size());
        if (rest.find('\\') == std::string_view::npos)
            names.push_back(it->second.path.substr(it->second.path.size() - rest.size()));
    }
    return names;
}

std::optional<std::vector<std::string>> valueNames(Hive hive, std::string_view key) {
    const std::optional<HiveKeys> keys = loadHive(hive);
    const HiveKey* found = findKey(keys, key);
    if (!found) return std::nullopt;
    std::vector<std::string> names;
    for (const auto& [name, value] : found->values)
        names.push_back(name);
    return names;
}

std::optional<Value> queryValue(Hive hive, std::string_view key, std::string_view name) {
    const std::optional<HiveKeys> keys = loadHive(hive);
    const HiveKey* found = findKey(keys, key);
    if (!found) return std::nullopt;
    for (const auto& [valueName, value] : found->values)
        if (sameNoCase(valueName, name)) return value;
    return std::nullopt;
}

bool setValue(Hive hive, std::string_view key, std::string_view name, const Value& value) {
    const std::string path = cleanPath(key);
    const std::string file = hiveFile(hive);
    if (path.empty() || !makeFolders(folderOf(hive))) return false;
    bool parsed = true;
    const bool written =
        rewriteFile(file, [&](const std::optional<std::string>& current) -> std::optional<std::string> {
            std::optional<HiveKeys> keys = current ? parseHive(*current) : HiveKeys{};
            // A hive that cannot be read is left as it is rather than replaced.
            if (!keys) {
                parsed = false;
                return std::nullopt;
            }
            HiveKey& target = ensureKey(*keys, path);
            for (auto& [valueName, existing] : target.values)
                if (sameNoCase(valueName, name)) {
                    existing = value;
                    return formatHive(*keys);
                }
            target.values.emplace_back(std::string(name), value);
            return formatHive(*keys);
        });
    return written && parsed;
}

bool deleteValue(Hive hive, std::string_view key, std::string_view name) {
    if (!queryValue(hive, key, name)) return true;
    bool parsed = true;
    const bool written = rewriteFile(
        hiveFile(hive), [&](const std::optional<std::string>& current) -> std::optional<std::string> {
            std::optional<HiveKeys> keys = current ? parseHive(*current) : HiveKeys{};
            if (!keys) {
                parsed = false;
                return std::nullopt;
            }
            const auto found = keys->find(foldedPath(key));
            if (found == keys->end()) return std::nullopt;
            std::erase_if(found->second.values,
                          [&](const auto& entry) { return sameNoCase(entry.first, name); });
            return formatHive(*keys);
        });
    return written && parsed;
}

} // namespace platform::registry
