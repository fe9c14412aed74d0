#include "services/dos/dos_path_parts.h"

#include "platform/files/path_map.h"

#include <vector>

namespace services {
namespace {

bool hasDrive(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// The part of a completed path that ".." never climbs above: "X:\" or "\\server\share\".
std::string rootOf(std::string& path) {
    if (path.starts_with("\\\\")) {
        size_t end = path.find('\\', 2);
        if (end != std::string::npos) end = path.find('\\', end + 1);
        if (end == std::string::npos) {
            path += '\\';
            end = path.size() - 1;
        }
        return path.substr(0, end + 1);
    }
    return path.substr(0, 3);
}

} // namespace

PathParts splitPath(std::string_view path) {
    PathParts parts;
    const size_t colon = path.substr(0, path.find_first_of("\\/")).rfind(':');
    if (colon != std::string_view::npos) {
        parts.drive = path.substr(0, colon + 1);
        path.remove_prefix(colon + 1);
    }
    const size_t lastSeparator = path.find_last_of("\\/");
    if (lastSeparator != std::string_view::npos) {
        parts.folder = path.substr(0, lastSeparator + 1);
        path.remove_prefix(lastSeparator + 1);
    }
    const size_t dot = path.rfind('.');
    parts.name = path.substr(0, dot);
    if (dot != std::string_view::npos) parts.extension = path.substr(dot);
    return parts;
}

std::optional<std::string> fullPath(std::string_view given) {
    std::string path(given);
    for (char& c : path)
        if (c == '/') c = '\\';
    const std::string current = platform::currentSystemFolder();
    if (path.starts_with("\\\\")) {
        // A network path stays as it is.
    } else if (hasDrive(path)) {
        if (path.size() == 2 || path[2] != '\\') {
            const bool currentDrive = (path[0] & ~0x20) == (current[0] & ~0x20);
            path = (currentDrive ? current + "\\" : path.substr(0, 2) + "\\") + path.substr(2);
        }
    } else if (!path.empty() && path[0] == '\\') {
        path = current.substr(0, 2) + path;
    } else {
        path = current + "\\" + path;
    }

    const std::string root = rootOf(path);
    const bool trailing = path.size() > root.size() && path.back() == '\\';
    std::vector<std::string_view> components;
    std::string_view rest = std::string_view(path).substr(root.size());
    while (!rest.empty()) {
        const std::string_view item = nextListItem(rest, '\\');
        if (item.empty() || item == ".") continue;
        if (item == "..") {
            if (!components.empty()) components.pop_back();
            continue;
        }
        components.push_back(item);
    }
    std::string result = root;
    for (size_t i = 0; i < components.size(); ++i) {
        if (i > 0) result += '\\';
        result += components[i];
    }
    if (trailing && !components.empty()) result += '\\';
    if (result.size() > kMaxPath) return std::nullopt;
    return result;
}

std::string_view nextListItem(std::string_view& list, char separator) {
    for (;;) {
        const size_t end = list.find(separator);
        const std::string_view item = list.substr(0, end);
        list.remove_prefix(end == std::string_view::npos ? list.size() : end + 1);
        if (!item.empty() || list.empty()) return item;
    }
}

} // namespace services
