#include "platform/files/atomic_file.h"

#include "platform/files/write_all.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace platform {
namespace {

// A descriptor closed on every way out.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd_ >= 0) close(fd_);
    }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_;
};

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A new or renamed entry lasts a crash only once its folder is on the disk.
bool flushFolder(const std::string& folder) {
    const Fd fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd && fsync(fd.get()) == 0;
}

// A process that holds the folder and never lets go must not block every other writer for ever.
constexpr std::chrono::seconds kLockWait{5};

// Takes the folder's lock, waiting at most kLockWait; says so on standard error when the wait runs out.
bool lockFolder(int fd, const std::string& folder) {
    const auto deadline = std::chrono::steady_clock::now() + kLockWait;
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        if (std::chrono::steady_clock::now() >= deadline) {
            std::fprintf(stderr, "files: %s locked by another process for %d s, nothing written\n",
                         folder.c_str(), static_cast<int>(kLockWait.count()));
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// The path a rewrite replaces: the target of a symbolic link, else the path itself.
std::string targetOf(const std::string& path) {
    char resolved[PATH_MAX];
    struct stat st;
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && realpath(path.c_str(), resolved))
        return resolved;
    return path;
}

} // namespace

std::optional<std::string> readWholeFile(const std::string& path) {
    Fd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st;
    if (!fd || fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    std::string data;
    char chunk[65536];
    for (;;) {
        const ssize_t n = read(fd.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) return data;
        data.append(chunk, static_cast<size_t>(n));
    }
}

bool rewriteFile(const std::string& requested, const FileEdit& edit) {
    const std::string path = targetOf(requested);
    const std::string folder = folderOf(path);
    Fd lock(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!lock || !lockFolder(lock.get(), folder)) return false;

    std::optional<std::string> current;
    mode_t mode = 0644;
    struct stat st;
    if (stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode) || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
            access(path.c_str(), W_OK) != 0)
            return false;
        mode = st.st_mode & 07777;
        current = readWholeFile(path);
        if (!current) return false;
    }
    const std::optional<std::string> updated = edit(current);
    if (!updated) return true;

    std::string temporary = folder + "/.zorta-XXXXXX";
    Fd out(mkostemp(temporary.data(), O_CLOEXEC));
    if (!out) return false;
    const bool written =
        fchmod(out.get(), mode) == 0 && writeAll(out.get(), *updated) == 0 && fsync(out.get()) == 0;
    if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    return flushFolder(folder);
}

bool writeNewFile(const std::string& path, const std::string& bytes) {
    Fd fd(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!fd) return false;
    if (writeAll(fd.get(), bytes) == 0 && fsync(fd.get()) == 0 && flushFolder(folderOf(path))) return true;
    unlink(path.c_str());
    return false;
}

bool makeFolders(const std::string& folder) {
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (!part.empty()) mkdir(part.c_str(), 0755);
        if (slash == std::string::npos) break;
    }
    struct stat st;
    return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace platform
