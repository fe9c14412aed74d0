#pragma once
// Private-profile (ini) files read and written with the Windows rules: section and key names compare without
// ASCII case or surrounding blanks (asked for and written alike), values are trimmed and lose one pair of
// surrounding quotes, the first of duplicate sections or keys counts, lines starting with ";" are comments,
// and a rewrite keeps every line it does not change, byte for byte. Lines in a section without "=" are
// listed as keys with an empty value (the system writes comments as keys starting with "'"). Paths here are
// host paths (see path_map.h).
//
// Differences from Windows: writes are atomic and locked (atomic_file.h), so concurrent writers never lose
// each other's keys; names and values that would change the file's structure (a line break, "=" in a key,
// "]" in a section) are refused instead of corrupting the file; new files get "\n" line ends, existing
// files keep theirs.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The value of `key` in `section`; nullopt when the file, the section or the key is missing.
std::optional<std::string> profileString(const std::string& path, std::string_view section,
                                         std::string_view key);

// Every section name once, in file order; nullopt when the file cannot be read.
std::optional<std::vector<std::string>> profileSections(const std::string& path);

// The key names of a section in file order; nullopt when the file or the section is missing.
std::optional<std::vector<std::string>> profileKeys(const std::string& path, std::string_view section);

// Writes key = value into the section, creating the file (not its folder) and the section as needed. A null
// value removes the key; a null key removes the whole section. False when nothing could be written.
bool writeProfileString(const std::string& path, std::string_view section, const char* key,
                        const char* value);

} // namespace platform
