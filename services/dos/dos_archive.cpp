// Numbered backups of a file ("X.DXF" kept as "X.DX1", "X.DX2"...), and the ".BAK" rename.
#include "services/dos/dos.h"
#include "services/dos/dos_path_parts.h"

#include "platform/base/ascii.h"
#include "platform/files/path_map.h"

#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using services::PathParts;

namespace {

constexpr int kCopyOfFile = 0x1;  // the file is copied to backup 1 instead of moved
constexpr int kEveryFile = 0x2;   // every file with the extension in the folder
constexpr int kDollarNames = 0x4; // backups named "X$1.DXF"
constexpr int kBakFile = 0x8;     // with kDollarNames: back up "X.BAK"
constexpr int kSameFolder = 0x10; // with kDollarNames: back up "X.sv$", backups beside it
constexpr int kOwnExtensionToo = 0x20;

std::string archiveResult;

bool exists(const std::string& systemPath) {
    struct stat st;
    return stat(platform::hostPath(systemPath).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool opensForUpdate(const std::string& systemPath) {
    const int fd = open(platform::hostPath(systemPath).c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    close(fd);
    return true;
}

std::string upper(std::string text) {
    for (char& c : text)
        c = platform::asciiUpper(c);
    return text;
}

// Backup k's extension: the extension padded with "_" to 4 characters, its fourth character the digit of k.
// Windows can name no file with the characters that follow "9" (":", "<", "?"...), so from 10 on the last
// two characters carry the number (".D10").
std::string numberedExtension(std::string extension, int k) {
    if (extension.size() < 4) extension.append(4 - extension.size(), '_');
    if (k <= 9) {
        extension[3] = static_cast<char>('0' + k);
        return extension.substr(0, 4);
    }
    return extension.substr(0, 2) + std::to_string(k);
}

struct Rotation {
    std::string folder; // drive and folder of the file
    std::string name;
    std::string extension; // of the file backed up
    int flags = 0;

    std::string backupFolder() const {
        const bool sauve = (flags & kDollarNames) && !(flags & kSameFolder);
        return sauve ? folder + "Sauve\\" : folder;
    }

    std::string backup(int k) const {
        if (flags & kDollarNames) return backupFolder() + name + "$" + std::to_string(k) + extension;
        return folder + name + numberedExtension(extension, k);
    }
};

// Moves the backups up by one (the oldest is deleted), then makes the file backup 1; the path of backup 1,
// or "" when the file could not be moved or copied there.
std::string rotate(const Rotation& rotation, int count) {
    if ((rotation.flags & kDollarNames) && !(rotation.flags & kSameFolder))
        DOS::CreateDir(rotation.backupFolder().c_str(), 1);
    for (int k = count - 1; k >= 1; --k) {
        const std::string from = rotation.backup(k);
        if (k == count - 1)
            DOS::Delete(from.c_str());
        else if (exists(from))
            DOS::Rename(from.c_str(), rotation.backup(k + 1).c_str(), 1);
    }
    const std::string file = rotation.folder + rotation.name + rotation.extension;
    const std::string first = rotation.backup(1);
    const int done = (rotation.flags & kCopyOfFile) ? DOS::Copy(first.c_str(), file.c_str(), 1)
                                                    : DOS::Rename(file.c_str(), first.c_str(), 1);
    return done ? first : std::string();
}

// The names to rotate with kEveryFile: every file of the folder with the extension, a "$" name cut at its
// last "$" with kDollarNames, each name once.
std::set<std::string> namesWithExtension(const Rotation& rotation) {
    std::set<std::string> names;
    const std::string folder = platform::hostPath(rotation.folder);
    std::unique_ptr<DIR, int (*)(DIR*)> listing(opendir(folder.empty() ? "." : folder.c_str()), closedir);
    if (!listing) return names;
    while (const dirent* entry = readdir(listing.get())) {
        const PathParts parts = services::splitPath(entry->d_name);
        if (!platform::sameNoCase(parts.extension, rotation.extension) || parts.name.empty()) continue;
        std::string name = parts.name;
        if (rotation.flags & kDollarNames) name = name.substr(0, name.rfind('$'));
        if (!name.empty()) names.insert(name);
    }
    return names;
}

} // namespace

// The path keeps its spelling: only the extension is upper-cased, so that names with accented letters are
// still found and their backups sit beside them.
char* DOS::Archive(const char* file, char mode, int count, int flags, int checkOpen) {
    if (count == 0) count = Nbresauve;
    if (count == 0) return nullptr;
    archiveResult.clear();
    if (!file || !*file || std::string_view(file).size() > services::kMaxPath) return archiveResult.data();

    PathParts parts = services::splitPath(file);
    parts.extension = parts.extension.empty() ? ".DXF" : upper(parts.extension);
    Rotation rotation{parts.drive + parts.folder, parts.name, parts.extension, flags};
    if ((flags & kDollarNames) && (flags & kBakFile))
        rotation.extension = ".BAK";
    else if ((flags & kDollarNames) && (flags & kSameFolder))
        rotation.extension = ".sv$";

    if (flags & kEveryFile) {
        for (const std::string& name : namesWithExtension(rotation)) {
            Rotation each = rotation;
            each.name = name;
            archiveResult = rotate(each, count);
        }
        return archiveResult.data();
    }

    std::string target = rotation.folder + rotation.name + rotation.extension;
    if (!exists(target) && (flags & kOwnExtensionToo)) {
        rotation.extension = parts.extension;
        target = rotation.folder + rotation.name + rotation.extension;
    }
    if (!exists(target) || (checkOpen && !opensForUpdate(target))) return archiveResult.data();

    if (mode == 'B' || mode == 'b') {
        const std::string renamed = rotation.folder + rotation.name + ".BAK";
        if (Rename(target.c_str(), renamed.c_str(), 1)) archiveResult = renamed;
        return archiveResult.data();
    }
    archiveResult = rotate(rotation, count);
    return archiveResult.data();
}
