#include "platform/settings/registry.h"

#include "platform/base/ascii.h"

#include "platform/files/atomic_file.h"
#include "platform/settings/registry_hive.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <set>

namespace platform::registry {
std::string hiveFolder(Hive hive) {
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

namespace {

// Says once per process that a hive is damaged.
void reportDamage(const std::string& file, const std::string& keptAs) {
    static std::mutex lock;
    static std::set<std::string> reported;
    std::lock_guard guard(lock);
    if (!keptAs.empty())
        std::fprintf(stderr,
                     "registry: %s is damaged; kept as %s, a sound hive is written with what could be read\n",
                     file.c_str(), keptAs.c_str());
    else if (reported.insert(file).second)
        std::fprintf(stderr,
                     "registry: %s is damaged; what could be read is used, the next change repairs it\n",
                     file.c_str());
}

// Keeps a damaged hive's bytes beside it under a dated name; the name, or empty when that failed.
std::string keepDamagedHive(const std::string& file, const std::string& bytes) {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string copy = file + ".damaged-" + stamp;
        if (attempt) copy += "-" + std::to_string(attempt);
        if (writeNewFile(copy, bytes)) return copy;
    }
    return {};
}

// The hive as it is on disk: empty when its file does not exist yet, nullopt when it cannot be read. Of a
// damaged hive, what could be read.
std::optional<HiveKeys> loadHive(Hive hive) {
    const std::string file = hiveFile(hive);
    const std::optional<std::string> text = readWholeFile(file);
    if (!text) return HiveKeys{};
    ParsedHive parsed = parseHive(*text);
    if (parsed.damaged) reportDamage(file, {});
    return std::move(parsed.keys);
}

// Changes the hive through `change`; a damaged hive is first kept aside, then replaced by a sound one made of
// what could be read and the change. `change` answers false when there is nothing to write.
template <class Change> bool editHive(Hive hive, const Change& change) {
    const std::string file = hiveFile(hive);
    return rewriteFile(file, [&](const std::optional<std::string>& current) -> std::optional<std::string> {
        ParsedHive parsed = current ? parseHive(*current) : ParsedHive{};
        if (parsed.damaged) {
            const std::string keptAs = keepDamagedHive(file, *current);
            // Without a copy of the damaged bytes nothing is overwritten.
            if (keptAs.empty()) return std::nullopt;
            reportDamage(file, keptAs);
        }
        if (!change(parsed.keys) && !parsed.damaged) return std::nullopt;
        return formatHive(parsed.keys);
    });
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
    return hiveFolder(hive) + "/registry.hive";
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
    if (path.empty() || !makeFolders(hiveFolder(hive))) return false;
    bool changed = false;
    const bool written = editHive(hive, [&](HiveKeys& keys) {
        changed = true;
        HiveKey& target = ensureKey(keys, path);
        for (auto& [valueName, existing] : target.values)
            if (sameNoCase(valueName, name)) {
                existing = value;
                return true;
            }
        target.values.emplace_back(std::string(name), value);
        return true;
    });
    return written && changed;
}

bool deleteValue(Hive hive, std::string_view key, std::string_view name) {
    if (!queryValue(hive, key, name)) return true;
    return editHive(hive, [&](HiveKeys& keys) {
        const auto found = keys.find(foldedPath(key));
        if (found == keys.end()) return false;
        std::erase_if(found->second.values, [&](const auto& entry) { return sameNoCase(entry.first, name); });
        return true;
    });
}

} // namespace platform::registry
