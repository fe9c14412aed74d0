#include "platform/files/file_rights.h"

#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

bool isElevated() {
    return geteuid() == 0;
}

bool isAdministrator() {
    if (isElevated()) return true;
    const int count = getgroups(0, nullptr);
    if (count <= 0) return false;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    if (getgroups(count, groups.data()) < 0) return false;
    for (const char* name : {"sudo", "wheel", "admin"}) {
        const group* entry = getgrnam(name);
        if (!entry) continue;
        for (const gid_t gid : groups)
            if (gid == entry->gr_gid) return true;
    }
    return false;
}

int grantFullAccess(const std::string& hostPath) {
    struct stat st;
    if (lstat(hostPath.c_str(), &st) != 0) return errno;
    if (S_ISLNK(st.st_mode)) return EPERM; // rights belong to the target, which is not what was named
    mode_t mode = st.st_mode & 07777;
    mode |= S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH;
    if (S_ISDIR(st.st_mode) || (st.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)))
        mode |= S_IXUSR | S_IXGRP | S_IXOTH;
    return chmod(hostPath.c_str(), mode) == 0 ? 0 : errno;
}

int giveToAdministrators(const std::string& hostPath) {
    return lchown(hostPath.c_str(), 0, static_cast<gid_t>(-1)) == 0 ? 0 : errno;
}

} // namespace platform
