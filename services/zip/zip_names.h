#pragma once
// Entry names between the system and the archive. The system names entries in the code page with "\" as the
// separator; archives store "/" (Info-ZIP and every other tool expect it) and UTF-8 names flagged with
// the language-encoding bit. Names without the flag are kept as they stand.
#include <cstdint>
#include <string>
#include <string_view>

namespace zip_names {

// Longest name or path the system handles (MAX_PATH less its terminating zero).
constexpr std::size_t kMaxPath = 260;

// General-purpose flag bit 11: the name and comment are UTF-8.
constexpr std::uint16_t kUtf8Flag = 0x800;

// A system name ("src\a.txt", code page) as stored: UTF-8 with "/".
std::string stored(std::string_view systemName);

// A stored name as the system shows it: code page with "\".
std::string shown(std::string_view storedName, unsigned long flags);

// True for a relative name that stays below the folder it is put in: not empty, no leading separator, no
// drive or stream ":" and no ".." component.
bool staysBelow(std::string_view systemName);

// The name and extension of a path, after its last "\" or "/".
std::string_view nameAndExtension(std::string_view path);

// The extension of a name's last component from its last dot ("" without one).
std::string_view extension(std::string_view name);

} // namespace zip_names
