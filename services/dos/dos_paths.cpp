// Splitting, completing and joining paths.
#include "services/dos/dos.h"

#include "platform/base/ascii.h"
#include "services/dos/dos_path_parts.h"
#include "services/dos/dos_state.h"
#include "services/settings/folders.h"

#include <cstring>
#include <string>

using services::fullPath;
using services::kMaxPath;
using services::PathParts;
using services::splitPath;

namespace {

// GetPName's own result, 260 bytes like MAX_PATH.
char pnameResult[kMaxPath + 1];

// "file:" followed by backslashes (the slashes were turned already) is removed; two backslashes stay when no
// drive letter follows, as they begin a network path.
std::string withoutFileScheme(std::string path) {
    if (!platform::sameNoCase(std::string_view(path).substr(0, 5), "file:")) return path;
    size_t at = 5;
    while (at < path.size() && path[at] == '\\')
        ++at;
    const bool drive = at + 1 < path.size() && path[at + 1] == ':';
    if (!drive && at >= 7) at -= 2;
    return path.substr(at);
}

void copyPart(char* out, const std::string& part, size_t size) {
    if (!out) return;
    const size_t length = std::min(part.size(), size - 1);
    std::memcpy(out, part.data(), length);
    out[length] = 0;
}

} // namespace

char* DOS::GetPName(const char* path, const char* parts) {
    pnameResult[0] = 0;
    if (!path || !*path || std::strlen(path) >= kMaxPath) return pnameResult;
    std::string copy(path);
    for (char& c : copy)
        if (c == '/') c = '\\';
    copy = withoutFileScheme(std::move(copy));
    const PathParts split = splitPath(fullPath(copy).value_or(copy));
    std::string joined;
    for (const char* letter = parts ? parts : ""; *letter; ++letter) {
        switch (*letter) {
        case 'U':
            joined += split.drive;
            break;
        case 'R':
            joined += split.folder;
            break;
        case 'N':
            joined += split.name;
            break;
        case 'E':
            joined += split.extension;
            break;
        default:
            break;
        }
    }
    copyPart(pnameResult, joined, sizeof pnameResult);
    return pnameResult;
}

// The existence check answers 0 whether the file exists or not: the editor saves a document on validation
// when it gets 0, and new documents must keep being saved.
int DOS::Controle_chemin(const char* path, char* drive, char* folder, char* name, char* extension, int) {
    if (!path || std::strlen(path) > kMaxPath) return -1;
    std::string copy(path);
    for (char& c : copy)
        if (c == '\\') c = '/';
    const PathParts split = splitPath(fullPath(copy).value_or(copy));
    copyPart(drive, split.drive, 3);
    copyPart(folder, split.folder, 256);
    copyPart(name, split.name, 256);
    copyPart(extension, split.extension, 256);
    return 0;
}

char* DOS::Chemin_comme(const char* path, const char* model, const char* defaultExtension, int flags) {
    const PathParts own = splitPath(path ? path : "");
    const PathParts from = splitPath(model ? model : "");
    PathParts result = own;
    if (!(flags & 1)) result.drive = from.drive;
    if (!(flags & 2)) result.folder = from.folder;
    if (result.extension.empty() && defaultExtension && *defaultExtension)
        result.extension = std::string(*defaultExtension == '.' ? "" : ".") + defaultExtension;
    return services::sharedDosText(result.joined());
}

int DOS::TestJocker(const char* path) {
    const PathParts split = splitPath(path ? path : "");
    const auto wild = [](const std::string& part) { return part.find_first_of("*?") != std::string::npos; };
    return (wild(split.extension) ? 1 : 0) | (wild(split.name) ? 2 : 0) | (wild(split.folder) ? 4 : 0);
}

int DOS::Directory(char* buffer, int mode) {
    return directory(buffer, mode);
}
