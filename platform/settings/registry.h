#pragma once
// The registry, kept in two hive files: the current user's under the XDG configuration folder
// ($XDG_CONFIG_HOME, else ~/.config, then "zorta/registry.hive"), the machine's in the folder named by the
// environment variable ZORTA_MACHINE_REGISTRY (else /var/lib/zorta). Key paths use backslashes
// ("Software\ZORTA_32\INI"); key and value names compare without ASCII case and keep the spelling they were
// created with. Values are typed (string, expandable string, 32-bit number). Every change is one atomic,
// locked rewrite of the hive file, so processes never lose each other's values.
//
// Differences from Windows: there are no open key handles (each call names its key), no security
// descriptors, and only the three value types the system uses.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::registry {

enum class Hive { CurrentUser, LocalMachine };

enum class ValueType { String, ExpandString, Dword };

// The folder that holds a hive's file (programs keep their own settings files beside the user's).
std::string hiveFolder(Hive hive);

struct Value {
    ValueType type = ValueType::String;
    std::string text;    // String, ExpandString
    uint32_t number = 0; // Dword

    static Value string(std::string_view text) { return {ValueType::String, std::string(text), 0}; }
    static Value dword(uint32_t number) { return {ValueType::Dword, {}, number}; }
    bool operator==(const Value&) const = default;
};

// The hive's file.
std::string hiveFile(Hive hive);

bool keyExists(Hive hive, std::string_view key);

// Names of the key's direct subkeys, or of its values; nullopt when the key does not exist.
std::optional<std::vector<std::string>> subkeyNames(Hive hive, std::string_view key);
std::optional<std::vector<std::string>> valueNames(Hive hive, std::string_view key);

// nullopt when the key or the value does not exist.
std::optional<Value> queryValue(Hive hive, std::string_view key, std::string_view name);

// Creates the key and its parents as needed; false when the hive cannot be written.
bool setValue(Hive hive, std::string_view key, std::string_view name, const Value& value);

// Removes the value; true when it is absent afterwards (also when it never was there).
bool deleteValue(Hive hive, std::string_view key, std::string_view name);

} // namespace platform::registry
