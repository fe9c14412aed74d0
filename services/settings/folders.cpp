#include "services/settings/folders.h"

#include "services/startup/shared_records.h"
#include "services/str/str.h"

#include <cstring>
#include <limits>
#include <string>

int directory(char* path, int withSlash) {
    return directory(path, withSlash, std::numeric_limits<std::size_t>::max());
}

int directory(char* path, int withSlash, std::size_t size) {
    if (!path || !path[0]) return 0;
    std::size_t length = std::strlen(path);
    bool lastIsFile = false;
    bool separatorMet = false;
    for (std::size_t i = length; i-- > 3;) {
        if (path[i] == '/') path[i] = '\\';
        if (path[i] == '.' && !separatorMet) lastIsFile = true;
        if (path[i] == '\\' && !separatorMet) {
            separatorMet = true;
            if (lastIsFile) {
                path[i + 1] = '\0';
                length = i + 1;
            }
        }
    }
    const bool endsWithSlash = path[length - 1] == '\\';
    if (withSlash && !endsWithSlash) {
        if (length + 2 > size) return -1;
        path[length++] = '\\';
        path[length] = '\0';
    } else if (!withSlash && endsWithSlash) {
        path[--length] = '\0';
    }
    return static_cast<int>(length);
}

int ReplaceStdDir(char* text, int mode, int size) {
    if (!text || !pvg) return 0;
    std::string expanded(text);
    int count = 0;
    for (std::size_t i = expanded.size() >= 4 ? expanded.size() - 4 + 1 : 0; i-- > 0;) {
        if (expanded[i] != '.' || expanded[i + 1] != '.' || expanded[i + 3] != '\\') continue;
        const char letter = static_cast<char>(STR::Chr_toupper[static_cast<unsigned char>(expanded[i + 2])]);
        const bool local = letter == 'N' || letter == 'R' || (letter == '.' && (mode == 'R' || mode == 'r'));
        if (!local && letter != 'L' && letter != '.') continue;
        const char* folder = local ? pvg->localFolder : pvg->installFolder;
        const std::size_t folderLength = strnlen(folder, sizeof pvg->localFolder);
        // The expanded text and its terminator must fit, with a byte to spare.
        if (static_cast<long long>(size) - static_cast<long long>(expanded.size() - 4 + folderLength) <= 1)
            return -1;
        expanded.replace(i, 4, folder, folderLength);
        ++count;
    }
    std::memcpy(text, expanded.c_str(), expanded.size() + 1);
    return count;
}

std::string installFolder() {
    return pvg ? std::string(pvg->installFolder, strnlen(pvg->installFolder, sizeof pvg->installFolder)) : "";
}

std::string localFolder() {
    return pvg ? std::string(pvg->localFolder, strnlen(pvg->localFolder, sizeof pvg->localFolder)) : "";
}
