#include "platform/files/file_below.h"

#include "platform/files/path_map.h"
#include "platform/files/write_all.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

namespace platform {
namespace {

// The host folder and the host names of the components below it; nullopt when the path does not resolve
// below the folder.
struct BelowPath {
    std::string folder;
    std::vector<std::string> names;
};

std::optional<BelowPath> resolveBelow(std::string_view folder, std::string_view relative) {
    std::string system(folder);
    if (!system.empty() && system.back() != '\\' && system.back() != '/') system += '\\';
    std::string top = hostPath(system);
    if (top.empty()) top = ".";
    if (top.back() != '/') top += '/';
    const std::string whole = hostPath(system + std::string(relative));
    if (!whole.starts_with(top)) return std::nullopt;
    BelowPath path{top, {}};
    std::size_t at = top.size();
    while (at < whole.size()) {
        const std::size_t end = std::min(whole.find('/', at), whole.size());
        if (end > at) path.names.push_back(whole.substr(at, end - at));
        at = end + 1;
    }
    return path;
}

// Walks down `names` from `folder`, making missing folders, never through a link; the last open folder or
// -1. The caller closes it.
int openFolders(const std::string& folder, const std::vector<std::string>& names, std::size_t count) {
    int current = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (std::size_t i = 0; i < count && current >= 0; ++i) {
        const char* name = names[i].c_str();
        constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
        int next = openat(current, name, kFlags);
        if (next < 0 && errno == ENOENT && (mkdirat(current, name, 0777) == 0 || errno == EEXIST))
            next = openat(current, name, kFlags);
        ::close(current);
        current = next;
    }
    return current;
}

} // namespace

bool createFolderBelow(std::string_view folder, std::string_view relative) {
    const auto path = resolveBelow(folder, relative);
    if (!path) return false;
    const int last = openFolders(path->folder, path->names, path->names.size());
    if (last < 0) return false;
    ::close(last);
    return true;
}

FileBelow::FileBelow(std::string_view folder, std::string_view relative) {
    const auto path = resolveBelow(folder, relative);
    if (!path || path->names.empty()) return;
    folder_ = openFolders(path->folder, path->names, path->names.size() - 1);
    if (folder_ < 0) return;
    name_ = path->names.back();
    file_ = openat(folder_, name_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
}

FileBelow::~FileBelow() {
    close();
    if (folder_ >= 0) ::close(folder_);
}

bool FileBelow::write(const void* bytes, std::size_t size) {
    return size == 0 || (file_ >= 0 && writeAll(file_, {static_cast<const char*>(bytes), size}) == 0);
}

bool FileBelow::setModified(std::time_t seconds) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, {seconds, 0}};
    return file_ >= 0 && futimens(file_, times) == 0;
}

bool FileBelow::close() {
    if (file_ < 0) return false;
    const bool closed = ::close(file_) == 0;
    file_ = -1;
    return closed;
}

void FileBelow::discard() {
    close();
    if (folder_ >= 0 && !name_.empty()) unlinkat(folder_, name_.c_str(), 0);
    name_.clear();
}

} // namespace platform
