// Files and folders: sizes, copies, moves, deletion, creation and removal of folder trees.
#include "services/dos/dos.h"

#include "platform/files/path_map.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string host(const char* systemPath) {
    return platform::hostPath(systemPath);
}

// Flushes a folder's entries, so that a move is on disk when it returns (MOVEFILE_WRITE_THROUGH).
void syncFolderOf(const std::string& hostFile) {
    const size_t slash = hostFile.rfind('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : hostFile.substr(0, slash);
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

bool moveWithoutReplacing(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    // File systems without the flag: the check and the move are then two steps.
    if (errno != EINVAL) return false;
    struct stat st;
    return lstat(to.c_str(), &st) != 0 && errno == ENOENT && rename(from.c_str(), to.c_str()) == 0;
}

// Moves a file to another file system: a copy that replaces the target, then the source removed.
bool moveAcrossVolumes(const std::string& from, const std::string& to) {
    std::error_code error;
    if (!std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error))
        return false;
    return unlink(from.c_str()) == 0;
}

bool isReadOnly(const struct stat& st) {
    return !(st.st_mode & S_IWUSR);
}

// Empties the folder open as `folder` and removes its entries; "." and ".." are the only names passed over.
// Symbolic links are removed, never followed, so nothing outside the folder is touched.
bool emptyFolder(int folder) {
    DIR* listing = fdopendir(dup(folder));
    if (!listing) return false;
    bool ok = true;
    while (const dirent* entry = readdir(listing)) {
        const char* name = entry->d_name;
        if (!std::strcmp(name, ".") || !std::strcmp(name, "..")) continue;
        struct stat st;
        if (fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            ok = false;
            break;
        }
        if (S_ISDIR(st.st_mode)) {
            // A read-only folder is made writable first, or nothing in it could go.
            fchmodat(folder, name, (st.st_mode & 07777) | S_IRWXU, 0);
            const int child = openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            ok = child >= 0 && emptyFolder(child);
            if (child >= 0) close(child);
            ok = ok && unlinkat(folder, name, AT_REMOVEDIR) == 0;
        } else {
            ok = unlinkat(folder, name, 0) == 0;
        }
        if (!ok) break;
    }
    closedir(listing);
    return ok;
}

std::string parentFolder(std::string folder) {
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    const size_t separator = folder.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : folder.substr(0, separator + 1);
}

} // namespace

std::uint32_t DOS::Taille_fichier(const char* name) {
    if (!name || !*name) return 0;
    struct stat st;
    if (stat(host(name).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return 0;
    return static_cast<std::uint32_t>(st.st_size);
}

int DOS::Copy(const char* newName, const char* existingName, int overwrite) {
    if (!newName || !*newName || !existingName || !*existingName) return 0;
    const std::string from = host(existingName);
    struct stat st;
    if (stat(from.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return 0;
    std::error_code error;
    const auto options =
        overwrite ? std::filesystem::copy_options::overwrite_existing : std::filesystem::copy_options::none;
    return std::filesystem::copy_file(from, host(newName), options, error) ? 1 : 0;
}

int DOS::Rename(const char* existingName, const char* newName, int overwrite) {
    if (!existingName || !*existingName || !newName || !*newName) return 0;
    const std::string from = host(existingName);
    const std::string to = host(newName);
    bool moved = false;
    if (!overwrite)
        moved = moveWithoutReplacing(from, to);
    else if (rename(from.c_str(), to.c_str()) == 0)
        moved = true;
    else if (errno == EXDEV)
        moved = moveAcrossVolumes(from, to);
    if (moved) syncFolderOf(to);
    return moved ? 1 : 0;
}

// A file without its write bit is read-only, and Windows refuses to delete those.
int DOS::Delete(const char* name) {
    if (!name || !*name) return 0;
    const std::string path = host(name);
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode) || isReadOnly(st)) return 0;
    return unlink(path.c_str()) == 0 ? 1 : 0;
}

int DOS::CreateDir(const char* folder, int depth) {
    if (!folder || std::strlen(folder) < 2) return -1;
    const std::string path = host(folder);
    struct stat st;
    if (stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? 2 : 0;
    if (mkdir(path.c_str(), 0777) == 0) return 1;
    if (errno != ENOENT || depth <= 0) return 0;
    const std::string parent = parentFolder(folder);
    if (parent.size() < 2 || CreateDir(parent.c_str(), depth - 1) <= 0) return 0;
    return mkdir(path.c_str(), 0777) == 0 ? 1 : 0;
}

int DOS::DeleteDirectory(const char* folder) {
    if (!folder || !*folder) return 0;
    const std::string path = host(folder);
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return 0;
    chmod(path.c_str(), (st.st_mode & 07777) | S_IRWXU);
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return 0;
    const bool emptied = emptyFolder(fd);
    close(fd);
    return emptied && rmdir(path.c_str()) == 0 ? 1 : 0;
}
