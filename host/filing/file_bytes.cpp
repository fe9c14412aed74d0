#include "host/filing/file_bytes.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "host/filing/text_codec.h"
#include "platform/files/write_all.h"

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

// The room a temporary's name takes besides the file's name: the dot that hides it, the dots around the
// writer's process id (at most 10 digits) and the unique part.
constexpr std::size_t kTemporaryExtra = 3 + 10 + kUniquePartSize;

// The file's name as its temporaries carry it: cut (at a character's start) so that their names stay within
// what the file system allows, as the file's own name does.
std::string temporaryStem(const fs::path& file) {
    std::string name = file.filename().string();
    if (name.size() + kTemporaryExtra <= NAME_MAX) return name;
    std::size_t size = NAME_MAX - kTemporaryExtra;
    while (size > 0 && (static_cast<unsigned char>(name[size]) & 0xC0) == 0x80)
        --size;
    name.resize(size);
    return name;
}

// What every temporary of `file` written by process `pid` starts with; hidden, as editors' backups are.
std::string temporaryPrefix(const fs::path& file, pid_t pid) {
    return "." + temporaryStem(file) + "." + std::to_string(pid) + ".";
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

// A write to the temporary failed: ends the production, which the save then reports.
struct WriteFailed {
    int error;
};

// 0, or the errno of the failure; the temporary is closed either way. What `produce` throws goes on.
int fillTemporary(int fd, mode_t mode, const std::function<void(const ByteWriter&)>& produce) {
    int error = 0;
    try {
        if (fchmod(fd, mode) != 0) throw WriteFailed{errno};
        produce([fd](std::string_view bytes) {
            if (const int e = platform::writeAll(fd, bytes)) throw WriteFailed{e};
        });
        if (fsync(fd) != 0) error = errno;
    } catch (const WriteFailed& failed) {
        error = failed.error;
    } catch (...) {
        close(fd);
        throw;
    }
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
    const std::string prefix = "." + temporaryStem(file) + ".";
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folderOf(file), error)) {
        const pid_t writer = writerOf(entry.path().filename().string(), prefix);
        if (writer > 0 && writer != getpid() && kill(writer, 0) != 0 && errno == ESRCH)
            fs::remove(entry.path(), error);
    }
}

} // namespace

namespace {

std::optional<std::string> readBytes(const std::wstring& fileName, bool pipeTaken, std::string* reason) {
    // Not blocking, so that opening a pipe with no writer does not wait for one.
    const int fd = open(toUtf8(fileName).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (reason) *reason = std::strerror(errno);
        return std::nullopt;
    }
    // Only a regular file has an end: a device may give bytes for ever, and so may a pipe unless its writer
    // is trusted to close it.
    struct stat status;
    const bool taken =
        fstat(fd, &status) == 0 && (S_ISREG(status.st_mode) || (pipeTaken && S_ISFIFO(status.st_mode)));
    if (!taken) {
        if (reason) *reason = pipeTaken ? "neither a plain file nor a pipe" : "not a plain file";
        close(fd);
        return std::nullopt;
    }
    if (S_ISFIFO(status.st_mode)) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    // Read into a string of the file's size: a drawing is held once, not once more while it grows.
    std::size_t capacity = 1 << 16;
    if (status.st_size > 0) capacity = static_cast<std::size_t>(status.st_size) + 1; // sees the end at once
    std::string content(capacity, '\0');
    std::size_t size = 0;
    for (;;) {
        if (size == content.size()) content.resize(2 * size); // a file that grew
        const ssize_t n = read(fd, content.data() + size, content.size() - size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            if (reason) *reason = std::strerror(errno);
            close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        size += static_cast<std::size_t>(n);
    }
    close(fd);
    content.resize(size);
    return content;
}

} // namespace

std::optional<std::string> readFileBytes(const std::wstring& fileName, std::string* reason) {
    return readBytes(fileName, false, reason);
}

std::optional<std::string> readFileOrPipeBytes(const std::wstring& fileName, std::string* reason) {
    return readBytes(fileName, true, reason);
}

bool writeFileBytes(const std::wstring& fileName, const std::string& bytes, std::string* reason) {
    return writeFileBytes(
        fileName, [&bytes](const ByteWriter& write) { write(bytes); }, reason);
}

bool writeFileBytes(const std::wstring& fileName, const std::function<void(const ByteWriter&)>& produce,
                    std::string* reason) {
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
    int error = 0;
    try {
        error = fillTemporary(fd, mode, produce);
    } catch (...) {
        unlink(temporary.c_str());
        throw;
    }
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
