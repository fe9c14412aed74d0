#include "platform/system/program.h"

#include <algorithm>
#include <climits>
#include <unistd.h>

namespace platform {

std::string programFileName() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path) return {};
    std::string name(path, static_cast<std::size_t>(length));
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

} // namespace platform
