#include "platform/ipc/shared_segment.h"

#include "platform/ipc/machine_names.h"
#include "platform/ipc/segment_lock_files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

constexpr mode_t kMode = 0600;

std::string systemError(const char* what, const std::string& name) {
    return std::string(what) + " '" + name + "': " + std::strerror(errno);
}

int lockFile(int fd, int operation) {
    int result;
    while ((result = flock(fd, operation)) != 0 && errno == EINTR) {
    }
    return result;
}

// Empty when the object behind `fd` is this user's and no one else may write it; else why it is refused.
// Another user could otherwise make a segment, open to all, under a name this user's processes open.
std::string refusal(int fd, const std::string& name) {
    struct stat status {};
    if (fstat(fd, &status) != 0) return systemError("cannot examine", name);
    if (status.st_uid != geteuid())
        return "refused '" + name + "': it belongs to user " + std::to_string(status.st_uid);
    if (status.st_mode & (S_IWGRP | S_IWOTH)) return "refused '" + name + "': others may write it";
    return {};
}

// Opens a segment's object; -1 with `error` set when it cannot be opened or is refused.
int openObject(const std::string& name, int flags, std::string& error) {
    const int fd = shm_open(name.c_str(), flags | O_CLOEXEC, kMode);
    if (fd < 0) {
        error = systemError("cannot open", name);
        return -1;
    }
    error = refusal(fd, name);
    if (error.empty()) return fd;
    ::close(fd);
    return -1;
}

bool sameObject(int fd, const std::string& name) {
    const int current = shm_open(name.c_str(), O_RDONLY | O_CLOEXEC, 0);
    if (current < 0) return false;
    struct stat held {};
    struct stat named {};
    const bool same = fstat(fd, &held) == 0 && fstat(current, &named) == 0 && held.st_dev == named.st_dev &&
                      held.st_ino == named.st_ino;
    ::close(current);
    return same;
}

// Holds the exclusive lock under which segments of one name are opened and closed. The last user removes the
// lock file too, so a lock taken on a file that was removed meanwhile is dropped and taken again.
class OpenCloseGuard {
public:
    explicit OpenCloseGuard(const std::string& name) : name_(name + ".lock") {
        for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
            fd_ = openObject(name_, O_RDWR | O_CREAT, error_);
            if (fd_ < 0) return;
            if (lockFile(fd_, LOCK_EX) != 0 || !sameObject(fd_, name_)) {
                ::close(fd_);
                fd_ = -1;
            }
        }
    }
    ~OpenCloseGuard() {
        if (fd_ >= 0) ::close(fd_); // releases the lock
    }
    OpenCloseGuard(const OpenCloseGuard&) = delete;
    OpenCloseGuard& operator=(const OpenCloseGuard&) = delete;
    bool held() const { return fd_ >= 0; }
    // Why the lock is not held.
    const std::string& error() const { return error_; }
    // Removes the lock file; still held until the guard ends.
    void remove() const { shm_unlink(name_.c_str()); }

private:
    std::string name_;
    int fd_ = -1;
    std::string error_;
};

// The object that counts a segment's users: each holds a shared lock on it.
std::string usersObject(const std::string& object) {
    return object + ".users";
}

// The segment's objects and its guard's lock file, once no process uses it.
void removeObjects(const std::string& object, const OpenCloseGuard& guard) {
    shm_unlink(object.c_str());
    shm_unlink(usersObject(object).c_str());
    guard.remove();
}

} // namespace

std::string segmentObjectName(std::string_view name) {
    std::string full = "/zorta-" + std::to_string(geteuid()) + "-" + machineName(name);
    for (std::size_t i = 1; i < full.size(); ++i)
        if (full[i] == '/') full[i] = '_';
    return full;
}

SharedSegment::SharedSegment(std::string_view name, std::size_t size, const Initialiser& initialise)
    : name_(segmentObjectName(name)), size_(size) {
    open(initialise);
}

SharedSegment::~SharedSegment() {
    close();
}

SharedSegment::SharedSegment(SharedSegment&& other) noexcept {
    *this = std::move(other);
}

SharedSegment& SharedSegment::operator=(SharedSegment&& other) noexcept {
    if (this != &other) {
        close();
        name_ = std::move(other.name_);
        data_ = std::exchange(other.data_, nullptr);
        size_ = other.size_;
        created_ = other.created_;
        usersFd_ = std::exchange(other.usersFd_, -1);
        openedBy_ = other.openedBy_;
        error_ = std::move(other.error_);
    }
    return *this;
}

void SharedSegment::open(const Initialiser& initialise) {
    OpenCloseGuard guard(name_);
    if (!guard.held()) {
        error_ = guard.error();
        return;
    }
    usersFd_ = openObject(usersObject(name_), O_RDWR | O_CREAT, error_);
    if (usersFd_ < 0) return;
    // No other process holds the users file: whatever segment exists is stale.
    const bool alone = lockFile(usersFd_, LOCK_EX | LOCK_NB) == 0;
    int fd = -1;
    if (!alone) {
        fd = shm_open(name_.c_str(), O_RDWR | O_CLOEXEC, kMode);
        if (fd >= 0) error_ = refusal(fd, name_);
    }
    if (fd < 0) {
        shm_unlink(name_.c_str());
        fd = shm_open(name_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, kMode);
        created_ = fd >= 0 && ftruncate(fd, static_cast<off_t>(size_)) == 0;
        if (!created_) error_ = systemError("cannot create the segment", name_);
    } else if (error_.empty()) {
        struct stat status {};
        if (fstat(fd, &status) != 0)
            error_ = systemError("cannot examine the segment", name_);
        else if (static_cast<std::size_t>(status.st_size) < size_)
            error_ = "the segment '" + name_ + "' holds " + std::to_string(status.st_size) + " bytes, " +
                     std::to_string(size_) + " expected";
    }
    if (error_.empty()) {
        void* data = mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (data == MAP_FAILED)
            error_ = systemError("cannot map the segment", name_);
        else
            data_ = data;
    }
    if (fd >= 0) ::close(fd); // the mapping stays
    if (!data_) {
        if (created_) shm_unlink(name_.c_str());
        created_ = false;
        ::close(usersFd_);
        usersFd_ = -1;
        return;
    }
    registerSegmentLockFile(data_, size_, usersFd_);
    if (created_ && initialise) initialise(data_);
    lockFile(usersFd_, LOCK_SH); // from here on this process counts as a user
    openedBy_ = getpid();
}

void SharedSegment::close() {
    if (!data_) return;
    unregisterSegmentLockFile(data_);
    munmap(data_, size_);
    data_ = nullptr;
    // A child forked from the opener shares the opener's lock on the users file: it only drops its mapping.
    if (openedBy_ == getpid()) {
        OpenCloseGuard guard(name_);
        if (guard.held() && lockFile(usersFd_, LOCK_EX | LOCK_NB) == 0) removeObjects(name_, guard);
    }
    ::close(usersFd_);
    usersFd_ = -1;
}

void removeStaleSegment(std::string_view name) {
    const std::string object = segmentObjectName(name);
    OpenCloseGuard guard(object);
    if (!guard.held()) return;
    const int users = shm_open(usersObject(object).c_str(), O_RDWR | O_CLOEXEC, 0);
    if (users < 0 && errno != ENOENT) return;
    const bool stale =
        users < 0 || (refusal(users, object).empty() && lockFile(users, LOCK_EX | LOCK_NB) == 0);
    if (users >= 0) ::close(users);
    if (stale) removeObjects(object, guard);
}

} // namespace platform
