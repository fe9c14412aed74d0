// Temporary files.
//
// The folder comes from the setting [GENERAL] TMPDIR of "ZORTA", else the platform's temporary folder. In it
// each user has a private folder ("zorta-UID", mode 0700) where the files are created exclusively, so that
// no other user can foresee or take a name, and two processes, or two calls, never get the same file.
// Making the file is what keeps a name from being taken between the call and its use, so the name is not
// handed out bare; instead every file a call made and the caller left empty is removed when the process
// ends (or the state is reset), so callers that only wanted a name leave nothing behind.
#include "services/dos/dos.h"
#include "services/dos/dos_path_parts.h"
#include "services/dos/dos_state.h"
#include "services/settings/folders.h"
#include "services/settings/settings_store_internal.h"

#include "platform/files/path_map.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kDefaultPattern = "~ZortaTmp%d.txt";
// Names tried after the first one is taken: "~ZortaTmp123-1.txt" and on.
constexpr int kMaxAttempts = 10000;

std::optional<std::string> privateFolder;
std::string temporaryFile;

// The files this process made, known by their inode so that a file the caller replaced is left alone.
class MadeFiles {
public:
    void add(const std::string& hostPath, const struct stat& made) {
        files_.push_back({hostPath, made.st_dev, made.st_ino, getpid()});
    }
    // Removes those still empty; a forked child never removes its parent's files.
    void removeUnused() {
        for (const File& file : files_) {
            struct stat now;
            if (file.owner == getpid() && lstat(file.hostPath.c_str(), &now) == 0 && S_ISREG(now.st_mode) &&
                now.st_dev == file.device && now.st_ino == file.inode && now.st_size == 0)
                unlink(file.hostPath.c_str());
        }
        files_.clear();
    }
    ~MadeFiles() { removeUnused(); }

private:
    struct File {
        std::string hostPath;
        dev_t device;
        ino_t inode;
        pid_t owner;
    };
    std::vector<File> files_;
};
MadeFiles madeFiles;

// Every "%NAME%" is replaced by that environment variable, or by nothing when it is not set.
std::string withEnvironment(const std::string& text) {
    std::string result;
    size_t at = 0;
    for (size_t open; (open = text.find('%', at)) != std::string::npos;) {
        const size_t close = text.find('%', open + 1);
        if (close == std::string::npos) break;
        result += text.substr(at, open - at);
        const char* value = std::getenv(text.substr(open + 1, close - open - 1).c_str());
        if (value) result += value;
        at = close + 1;
    }
    return result + text.substr(at);
}

std::string platformTemporaryFolder() {
    const char* folder = std::getenv("TMPDIR");
    return platform::systemPath(folder && *folder ? folder : "/tmp");
}

// The folder of the setting or the platform's, normalised and created; "" when its name is too long.
std::string sharedFolder() {
    char setting[services::kMaxPath + 1] = "";
    std::string folder;
    if (settings::readSetting("ZORTA", "GENERAL", "LR", "TMPDIR", setting, sizeof setting) >= 2)
        folder = withEnvironment(setting);
    if (folder.size() < 2) folder = platformTemporaryFolder();
    char normalised[services::kMaxPath + 2];
    if (folder.size() > services::kMaxPath) return {};
    std::memcpy(normalised, folder.c_str(), folder.size() + 1);
    if (directory(normalised, 1, sizeof normalised) <= 0) return {};
    DOS::CreateDir(normalised, 5);
    return normalised;
}

// The user's private folder inside the shared one: made with mode 0700, and accepted only when it is a real
// folder of this user that nobody else may enter.
std::optional<std::string> makePrivateFolder() {
    const std::string shared = sharedFolder();
    if (shared.empty()) return std::nullopt;
    const std::string folder = shared + "zorta-" + std::to_string(geteuid()) + "\\";
    const std::string host = platform::hostPath(folder);
    if (mkdir(host.c_str(), 0700) != 0 && errno != EEXIST) return std::nullopt;
    struct stat st;
    if (lstat(host.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid()) return std::nullopt;
    if ((st.st_mode & 077) && chmod(host.c_str(), 0700) != 0) return std::nullopt;
    return folder;
}

// The pattern with its first "%d" replaced by the process id; other "%" are kept as they are, so a caller's
// pattern is never a format. nullopt for a pattern that names a folder.
std::optional<std::string> nameFrom(const char* pattern) {
    std::string name = pattern && *pattern ? pattern : kDefaultPattern;
    if (name.find_first_of("\\/") != std::string::npos || name == "." || name == "..") return std::nullopt;
    const size_t number = name.find("%d");
    if (number != std::string::npos) name.replace(number, 2, std::to_string(getpid()));
    return name;
}

std::string attemptName(const std::string& name, int attempt) {
    if (attempt == 0) return name;
    const size_t dot = name.rfind('.');
    const std::string suffix = "-" + std::to_string(attempt);
    return dot == std::string::npos || dot == 0 ? name + suffix
                                                : name.substr(0, dot) + suffix + name.substr(dot);
}

} // namespace

// The file is created (empty) by this call, and removed at the end of the process if it is still empty;
// "" when none could be.
char* DOS::GetTmpFile(const char* pattern) {
    temporaryFile.clear();
    if (!privateFolder) privateFolder = makePrivateFolder();
    const std::optional<std::string> name = nameFrom(pattern);
    if (!privateFolder || !name) return temporaryFile.data();
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        const std::string path = *privateFolder + attemptName(*name, attempt);
        const std::string hostPath = platform::hostPath(path);
        const int fd = open(hostPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            struct stat made;
            if (fstat(fd, &made) == 0) madeFiles.add(hostPath, made);
            close(fd);
            temporaryFile = path;
            break;
        }
        if (errno != EEXIST) break;
    }
    return temporaryFile.data();
}

void services::resetTemporaryFolder() {
    madeFiles.removeUnused();
    privateFolder.reset();
    std::string().swap(temporaryFile);
}
