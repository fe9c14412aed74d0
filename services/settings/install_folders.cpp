// get_env: the search for the install and local folders.
#include "platform/files/path_map.h"
#include "platform/system/program.h"
#include "services/output/output.h"
#include "services/settings/folders.h"
#include "services/settings/settings_store_internal.h"
#include "services/startup/shared_records.h"
#include "services/str/str.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace {

constexpr std::size_t kFolderSize = sizeof(var_gen::installFolder);

bool folderExists(const std::string& systemPath) {
    struct stat status {};
    return stat(platform::hostPath(systemPath).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::string systemRoot() {
    const char* root = std::getenv("SystemRoot");
    return root && std::strlen(root) >= 3 && root[2] == '\\' ? root : "C:\\";
}

std::string upperCase(std::string text) {
    STR::Majuscules(text.data());
    return text;
}

struct InstallCandidate {
    std::string folder;
    bool fallback = false;
};

InstallCandidate findInstallFolder(const std::string& root, const std::string& program) {
    char setting[1000];
    if (settings::readSetting("ZORTA", "INSTALL", "BM", "Folder", setting, sizeof setting) >= 6)
        return {setting};
    const char* variable = std::getenv("ZORTA");
    if (variable && std::strpbrk(variable, "/\\")) return {variable};
    const std::string underRoot = root.substr(0, 3) + "ZORTA\\DLL";
    if (folderExists(underRoot)) return {underRoot};
    if (const std::size_t at = program.find("ZORTA\\DLL"); at != std::string::npos)
        return {program.substr(0, at + 6)};
    return {root.substr(0, 2) + "\\ZORTA", true};
}

// Where the first "\DLL" or "/DLL" of `folder` starts.
std::size_t firstDllFolder(const std::string& folder) {
    return std::min(folder.find("\\DLL"), folder.find("/DLL"));
}

// Writes `folder`, normalised, into a folder field; refuses what does not fit and keeps the old value. An
// empty folder (a copy of an install folder that was refused) leaves the field empty.
bool storeFolder(char (&field)[kFolderSize], const std::string& folder, const char* what) {
    if (folder.empty()) {
        field[0] = '\0';
        return true;
    }
    // Zeroed: the whole field goes to the shared segment, and no byte of this process's stack with it.
    char normalised[kFolderSize] = {};
    if (folder.size() < kFolderSize) {
        std::memcpy(normalised, folder.c_str(), folder.size() + 1);
        if (directory(normalised, 1, sizeof normalised) > 0) {
            std::memcpy(field, normalised, sizeof normalised);
            return true;
        }
    }
    mprintf("$G$\n *** R\xe9pertoire %s trop long (%zu caract\xe8res, au plus %zu) : '%.60s...' ignor\xe9",
            what, folder.size(), kFolderSize - 2, folder.c_str());
    return false;
}

} // namespace

int get_env() {
    if (!pvg) return 0;
    const std::string root = systemRoot();
    const std::string program = upperCase(platform::programFileName().substr(0, 260));

    InstallCandidate install = findInstallFolder(root, program);
    // A folder given the Linux way ("/opt/zorta/DLL") is cut at its "DLL" folder too.
    if (const std::size_t dll = firstDllFolder(install.folder); dll != std::string::npos)
        install.folder.erase(dll);
    storeFolder(pvg->installFolder, install.folder, "d'installation");

    const std::string installFolder(pvg->installFolder, strnlen(pvg->installFolder, kFolderSize));
    char localSetting[kFolderSize];
    const bool localSet =
        settings::readSetting("ZORTA", "GENERAL", "L", "DEFAUT", localSetting, sizeof localSetting) >= 2;
    storeFolder(pvg->localFolder, localSet ? localSetting : installFolder, "local");

    if (folderExists(installFolder + "DLL")) return 2;
    if (program.find("INSTALLZORTA") != std::string::npos) {
        std::strcpy(pvg->installFolder, "C:\\ZORTA\\");
        return 0;
    }
    if (!install.fallback && mprintEnabled > 0)
        mprintf("$G$\n *** R\xe9pertoire :'%s' Invalide ; ZORTA=...\\ZORTA\\ Correctement",
                pvg->installFolder);
    return 0;
}
