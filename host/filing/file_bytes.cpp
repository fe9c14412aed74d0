#include "host/filing/file_bytes.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/filing/text_codec.h"

namespace host {
namespace {

namespace fs = std::filesystem;

// Symbolic links followed one by one, so that a link to a drawing not saved yet names where it will be.
constexpr int kMaxLinkHops = 40;
constexpr std::size_t kUniquePartSize = 6; // the XXXXXX of mkostemp

// The file a save replaces: the end of a chain of symbolic links, else the path itself.
fs::path replacedPath(fs::path path) {
    std::error_code error;
    for (int hop = 0; hop < kMaxLinkHops && fs::is_symlink(fs::symlink_status(path, error)); ++hop) {
        fs::path target = fs::read_symlink(path, error);
        if (error) break;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

fs::path folderOf(const fs::path& file) {
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

// What every temporary of `file` written by process `pid` starts with; hidden, as editors' backups are.
std::string temporaryPrefix(const fs::path& file, pid_t pid) {
    return "." + file.filename().string() + "." + std::to_string(pid) + ".";
}

// The permission bits a new file takes: 0666 less the process's umask, read without changing it (changing it
// would race with other threads creating files).
mode_t newFileMode() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Umask:", 0) != 0) continue;
        const char* digits = line.c_str() + line.find_first_not_of(" \t", 6);
        unsigned mask = 0;
        if (std::from_chars(digits, line.c_str() + line.size(), mask, 8).ec == std::errc())
            return 0666 & ~mask;
    }
    return 0644;
}

// 0, or the errno of the failure.
int writeAll(int fd, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return EIO;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

// 0, or the errno of the failure; the temporary is closed either way.
int fillTemporary(int fd, mode_t mode, const std::string& bytes) {
    int error = fchmod(fd, mode) == 0 ? writeAll(fd, bytes) : errno;
    if (!error && fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && !error) error = errno;
    return error;
}

// The rename is only durable once the folder's entry is on the disk.
void flushFolder(const fs::path& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

// The process id in a temporary's name after `prefix` (".NAME."), or 0 when the name is not one of ours.
pid_t writerOf(const std::string& name, const std::string& prefix) {
    if (name.rfind(prefix, 0) != 0) return 0;
    const char* first = name.c_str() + prefix.size();
    const char* last = name.c_str() + name.size();
    pid_t pid = 0;
    const auto [end, ec] = std::from_chars(first, last, pid);
    if (ec != std::errc() || end == first || *end != '.' || last - end - 1 != kUniquePartSize) return 0;
    return pid;
}

void removeStaleTemporariesOf(const fs::path& file) {
    const std::string prefix = "." + file.filename().string() + ".";
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folderOf(file), error)) {
        const pid_t writer = writerOf(entry.path().filename().string(), prefix);
        if (writer > 0 && writer != getpid() && kill(writer, 0) != 0 && errno == ESRCH)
            fs::remove(entry.path(), error);
    }
}

} // namespace

std::optional<std::string> readFileBytes(const std::wstring& fileName) {
    std::ifstream in(toUtf8(fileName), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return content.str();
}

bool writeFileBytes(const std::wstring& fileName, const std::string& bytes, std::string* reason) {
    auto refuse = [reason](const std::string& why) {
        if (reason) *reason = why;
        return false;
    };
    const fs::path target = replacedPath(toUtf8(fileName));
    mode_t mode = newFileMode();
    struct stat existing;
    if (stat(target.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode)) return refuse("not a plain file");
        if ((existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return refuse("the file is read-only");
        mode = existing.st_mode & 07777;
    } else if (errno != ENOENT) {
        return refuse(std::strerror(errno));
    }
    removeStaleTemporariesOf(target);
    std::string temporary = (folderOf(target) / temporaryPrefix(target, getpid())).string() + "XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return refuse(std::strerror(errno));
    int error = fillTemporary(fd, mode, bytes);
    if (!error && rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error) {
        unlink(temporary.c_str());
        return refuse(std::strerror(error));
    }
    flushFolder(folderOf(target));
    return true;
}

void removeStaleTemporaries(const std::wstring& fileName) {
    removeStaleTemporariesOf(replacedPath(toUtf8(fileName)));
}

} // namespace host
