#include "platform/files/path_map.h"

#include "platform/base/ascii.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace platform {
namespace {

bool exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// The entry of `folder` whose name equals `name` without case, or "" when none.
std::string entryNoCase(const std::string& folder, std::string_view name) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.empty() ? "." : folder.c_str()), closedir);
    if (!dir) return {};
    while (const dirent* entry = readdir(dir.get()))
        if (sameNoCase(entry->d_name, name)) return entry->d_name;
    return {};
}

// The folder a drive letter stands for, without a final slash.
std::string driveFolder(char letter) {
    const char upper = letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
    const std::string variable = std::string("ZORTA_DRIVE_") + upper;
    const char* folder = std::getenv(variable.c_str());
    std::string mapped = folder ? folder : "";
    while (!mapped.empty() && mapped.back() == '/')
        mapped.pop_back();
    return mapped;
}

bool isDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

std::string hostPath(std::string_view systemPath) {
    std::string path(systemPath);
    for (char& c : path)
        if (c == '\\') c = '/';
    std::string resolved;
    size_t at = 0;
    if (path.size() >= 2 && isDriveLetter(path[0]) && path[1] == ':') {
        resolved = driveFolder(path[0]) + "/";
        at = 2;
    } else if (!path.empty() && path[0] == '/') {
        resolved.push_back('/'); // not = "/": GCC 12 warns wrongly about it (-Wrestrict) at -O2
    }
    while (at < path.size() && path[at] == '/')
        ++at;

    // Components are matched without case while they exist; the rest is kept as given.
    bool matching = true;
    while (at < path.size()) {
        size_t end = path.find('/', at);
        if (end == std::string::npos) end = path.size();
        const std::string_view name(path.data() + at, end - at);
        std::string component(name);
        if (matching && name != "." && name != "..") {
            if (!exists(resolved + component)) {
                const std::string found = entryNoCase(resolved, name);
                if (found.empty())
                    matching = false;
                else
                    component = found;
            }
        }
        resolved += component;
        if (end < path.size()) resolved += '/';
        at = end;
        while (at < path.size() && path[at] == '/')
            ++at;
    }
    return resolved;
}

std::string systemPath(std::string_view hostPath) {
    std::string path(hostPath);
    if (!path.empty() && path[0] == '/') {
        char drive = 0;
        size_t held = 0;
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            const std::string folder = driveFolder(letter);
            if (folder.empty()) {
                if (!drive && letter >= 'C') drive = letter;
                continue;
            }
            const bool holds =
                path.starts_with(folder) && (path.size() == folder.size() || path[folder.size()] == '/');
            if (holds && folder.size() > held) {
                drive = letter;
                held = folder.size();
            }
        }
        path = std::string(1, drive ? drive : 'C') + ":" + path.substr(held);
        if (path.size() == 2) path += '/';
    }
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string currentSystemFolder() {
    std::unique_ptr<char, void (*)(void*)> folder(getcwd(nullptr, 0), free);
    std::string path = systemPath(folder ? folder.get() : "/");
    if (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

} // namespace platform
