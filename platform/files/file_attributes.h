#pragma once
// Windows file attributes (GetFileAttributes) read from a file's POSIX status.
//
// A folder is FILE_ATTRIBUTE_DIRECTORY, a file without any write permission FILE_ATTRIBUTE_READONLY, a name
// beginning with "." FILE_ATTRIBUTE_HIDDEN; a file that is none of these is FILE_ATTRIBUTE_ARCHIVE, as a
// file that was written and never backed up is on Windows.
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

constexpr std::uint32_t FILE_ATTRIBUTE_READONLY = 0x1;
constexpr std::uint32_t FILE_ATTRIBUTE_HIDDEN = 0x2;
constexpr std::uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr std::uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;

// The attributes of the file or folder at `hostPath`, nullopt when it does not exist.
std::optional<std::uint32_t> fileAttributes(const std::string& hostPath);

} // namespace platform
