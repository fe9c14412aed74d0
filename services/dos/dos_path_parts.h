#pragma once
// Splitting and completing paths of the system's grammar, shared by the DOS members.
#include <optional>
#include <string>
#include <string_view>

namespace services {

// Longest path the system handles (MAX_PATH less its terminating zero).
constexpr size_t kMaxPath = 259;

// A path split like the C run-time's _splitpath: drive "X:" (all up to the last ":" before the first
// separator, so that patterns such as "*:" split too), folder ending with its separator, name, and extension
// from the last dot of the last component.
struct PathParts {
    std::string drive;
    std::string folder;
    std::string name;
    std::string extension;

    std::string joined() const { return drive + folder + name + extension; }
};

PathParts splitPath(std::string_view path);

// The path completed like GetFullPathName: "/" becomes "\", a relative path is taken from the current
// folder, a path from the root from the current drive, "." and ".." components are resolved (never above
// the root) and doubled separators become one. Network paths ("\\server\share\...") keep their two leading
// backslashes. nullopt when the result would exceed kMaxPath characters.
std::optional<std::string> fullPath(std::string_view path);

// Takes the next item of a list ("a;b;c") off its front, passing over empty items; "" at the end.
std::string_view nextListItem(std::string_view& list, char separator);

} // namespace services
