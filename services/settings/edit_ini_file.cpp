// Opening a settings file in a text editor.
#include "services/dos/dos.h"
#include "services/dos/dos_path_parts.h"
#include "services/output/message_boxes.h"
#include "services/settings/folders.h"
#include "services/settings/settings_store_internal.h"
#include "services/str/str.h"

#include "platform/base/ascii.h"
#include "platform/files/path_map.h"
#include "platform/ui/message_box.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kWaitForEditor = 0x1;
constexpr int kOfferToCreate = 0x2;

bool isFile(const std::string& systemPath) {
    struct stat st;
    return stat(platform::hostPath(systemPath).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

struct Search {
    std::optional<std::string> found;
    std::string lastTried;
};

// Where the file is looked for: by its extension (".INI" the install folder, ".DEF" the local one), else by
// the letters ("L" install, "R" local; no letters: both; letters naming neither: the name as it stands).
Search findSettingsFile(const std::string& name, const char* letters) {
    const std::string folder = DOS::GetPName(name.c_str(), "UR");
    const bool ownFolder = !folder.empty() && name.size() >= folder.size() &&
                           platform::sameNoCase(std::string_view(name).substr(0, folder.size()), folder);
    const services::PathParts parts = services::splitPath(name);
    std::string extension = parts.extension;
    for (char& c : extension)
        c = platform::asciiUpper(c);
    const std::string fileName = parts.name + parts.extension;

    bool install = false;
    bool local = false;
    if (extension == ".INI")
        install = true;
    else if (extension == ".DEF")
        local = true;
    else if (letters) {
        const std::string upper = letters;
        install = upper.find_first_of("Ll") != std::string::npos;
        local = upper.find_first_of("Rr") != std::string::npos;
    } else {
        install = local = true;
    }

    Search search;
    if (!install && !local) {
        search.lastTried = name;
        if (isFile(name)) search.found = name;
        return search;
    }
    const auto tryFolder = [&](const std::string& standard, const char* defaultExtension) {
        search.lastTried = (ownFolder ? folder : standard + "INI\\") + fileName +
                           (parts.extension.empty() ? defaultExtension : "");
        if (isFile(search.lastTried)) search.found = search.lastTried;
    };
    if (install) tryFolder(installFolder(), ".INI");
    if (local && !search.found) tryFolder(localFolder(), ".DEF");
    return search;
}

// The editor's command line for the file. The setting [GENERAL] EDITOR (EDITWAIT when waiting) names the
// program; without it the user's $VISUAL or $EDITOR (which may carry arguments), else the desktop's opener.
std::string editorCommand(const std::string& file, const char* letters, int flags) {
    char program[1000] = "";
    const std::string allLetters = std::string("LR") + (letters ? letters : "");
    const char* key = (flags & kWaitForEditor) ? "EDITWAIT" : "EDITOR";
    const std::string path = platform::hostPath(file);
    if (settings::readSetting("ZORTA", "GENERAL", allLetters.c_str(), key, program, sizeof program) < 2) {
        for (const char* variable : {"VISUAL", "EDITOR"})
            if (const char* editor = std::getenv(variable); editor && *editor)
                return std::string(editor) + " \"" + path + "\"";
        return "xdg-open \"" + path + "\"";
    }
    std::string given;
    for (const char* c = program; *c; ++c)
        if (*c != '"') given += *c;
    given.push_back('\0');
    STR::Espace(given.data());
    given.resize(std::strlen(given.c_str()));
    char found[services::kMaxPath + 1];
    if (DOS::Localise_fichier(found, given.c_str(), nullptr, 0)) given = found;
    return "\"" + given + "\" \"" + path + "\"";
}

bool createEmpty(const std::string& systemPath) {
    const int fd =
        open(platform::hostPath(systemPath).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    close(fd);
    return true;
}

} // namespace

int EditIniFile(const char* file, const char* letters, int flags) {
    if (!file || !*file || std::strlen(file) > services::kMaxPath) return 0;
    try {
        for (;;) {
            const Search search = findSettingsFile(file, letters);
            if (search.found)
                return DOS::Shell(editorCommand(*search.found, letters, flags).c_str(),
                                  (flags & kWaitForEditor) ? 1 : 0);
            if (!(flags & kOfferToCreate)) return 0;
            const int answer =
                mMessageBox(platform::MB_ICONQUESTION | platform::MB_YESNO, "Fichier introuvable ",
                            "Fichier \"%s\" introuvable \nLe Creer ?", search.lastTried.c_str());
            if (answer != platform::IDYES || !createEmpty(search.lastTried)) return 0;
        }
    } catch (...) {
        return 0;
    }
}
