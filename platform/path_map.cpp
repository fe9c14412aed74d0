#include "platform/path_map.h"

#include "platform/ascii.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdlib>
#include <memory>

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

} // namespace platform
