#include "editor/document/disk_state.h"

#include "platform/files/atomic_file.h"

#include <functional>
#include <sys/stat.h>

namespace {

void takeStatus(const struct stat& st, DiskState& state) {
    state.size = st.st_size;
    state.inode = st.st_ino;
    state.modified = st.st_mtim;
}

bool statusOf(const std::string& path, DiskState& state) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return false;
    takeStatus(st, state);
    return true;
}

bool sameStatus(const DiskState& a, const DiskState& b) {
    return a.size == b.size && a.inode == b.inode && a.modified.tv_sec == b.modified.tv_sec &&
           a.modified.tv_nsec == b.modified.tv_nsec;
}

} // namespace

DiskState diskStateOf(const struct stat& status, std::string_view bytes) {
    DiskState state;
    state.exists = true;
    state.contentHash = std::hash<std::string_view>{}(bytes);
    takeStatus(status, state);
    return state;
}

DiskState diskStateOf(const std::string& path, const std::optional<std::string>& bytes) {
    DiskState state;
    if (!bytes) return state;
    state.exists = true;
    state.contentHash = std::hash<std::string_view>{}(*bytes);
    statusOf(path, state);
    return state;
}

DiskState currentDiskState(const std::string& path, const DiskState& known) {
    DiskState status;
    if (!statusOf(path, status)) return {};
    if (known.exists && sameStatus(status, known)) return known;
    return diskStateOf(path, platform::readWholeFile(path));
}
