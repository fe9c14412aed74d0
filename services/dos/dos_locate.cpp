// Finding a file along the system's search order.
#include "services/dos/dos.h"
#include "services/dos/dos_path_parts.h"

#include "platform/files/path_map.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using services::kMaxPath;

namespace {

bool isFile(const std::string& systemPath) {
    struct stat st;
    return stat(platform::hostPath(systemPath).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string joinedPath(std::string folder, const std::string& name) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder + name;
}

// The platform's own order when no search path is given: the program's folder, the current folder, then
// the folders of PATH.
std::vector<std::string> platformSearchOrder() {
    std::vector<std::string> folders;
    char program[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", program, sizeof program - 1);
    if (length > 0) {
        std::string path(program, static_cast<size_t>(length));
        folders.push_back(platform::systemPath(path.substr(0, path.rfind('/'))));
    }
    folders.push_back(platform::currentSystemFolder());
    const char* path = std::getenv("PATH");
    for (std::string_view list = path ? path : ""; !list.empty();) {
        const std::string_view item = services::nextListItem(list, ':');
        if (!item.empty()) folders.push_back(platform::systemPath(item));
    }
    return folders;
}

std::vector<std::string> listedFolders(const char* searchPath) {
    if (!searchPath) return platformSearchOrder();
    std::vector<std::string> folders;
    for (std::string_view list = searchPath; !list.empty();) {
        const std::string_view item = services::nextListItem(list, ';');
        if (!item.empty()) folders.emplace_back(item);
    }
    return folders;
}

bool found(char* out, const std::string& folder, const std::string& name) {
    const std::string joined = joinedPath(folder, name);
    const std::string path = services::fullPath(joined).value_or(joined);
    if (path.size() > kMaxPath || !isFile(path)) return false;
    std::memcpy(out, path.c_str(), path.size() + 1);
    return true;
}

} // namespace

char* DOS::Localise_fichier(char* out, const char* name, const char* searchPath, int jobFolder) {
    if (!out || !name || !*name || std::strlen(name) > kMaxPath) return nullptr;
    const std::string given(name);
    const services::PathParts split = services::splitPath(services::fullPath(given).value_or(given));
    const std::string fileName = split.name + split.extension;
    if (fileName.empty()) return nullptr;

    if (found(out, split.drive + split.folder, fileName)) return out;
    if (jobFolder && m_NomChtDef[0]) {
        const std::string jobFolderPath = GetPName(m_NomChtDef, "UR");
        if (found(out, jobFolderPath, fileName)) return out;
        const std::string parent = GetPName((jobFolderPath + "..\\").c_str(), "UR");
        if (parent != jobFolderPath && found(out, parent, fileName)) return out;
    }
    for (const std::string& folder : listedFolders(searchPath))
        if (found(out, folder, fileName)) return out;
    return nullptr;
}
