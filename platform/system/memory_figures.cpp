#include "platform/system/memory_figures.h"

#include "platform/files/atomic_file.h"

#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <sys/resource.h>

namespace platform {
namespace {

// The user address space of x86-64 Linux (47 bits).
constexpr std::uint64_t kUserAddressSpace = std::uint64_t(1) << 47;

// A "Name:   1234 kB" line of /proc/self/status, in bytes.
std::uint64_t statusField(const std::string& status, std::string_view name) {
    const size_t at = status.find(std::string(name) + ":");
    if (at == std::string::npos) return 0;
    size_t from = at + name.size() + 1;
    while (from < status.size() && (status[from] == ' ' || status[from] == '\t'))
        ++from;
    std::uint64_t kilobytes = 0;
    std::from_chars(status.data() + from, status.data() + status.size(), kilobytes);
    return kilobytes * 1024;
}

} // namespace

MemoryFigures memoryFigures() {
    MemoryFigures figures;
    const std::optional<std::string> status = readWholeFile("/proc/self/status");
    if (!status) return figures;
    figures.privateBytes = statusField(*status, "RssAnon") + statusField(*status, "VmSwap");
    std::uint64_t limit = kUserAddressSpace;
    rlimit addressSpace{};
    if (getrlimit(RLIMIT_AS, &addressSpace) == 0 && addressSpace.rlim_cur != RLIM_INFINITY)
        limit = addressSpace.rlim_cur;
    const std::uint64_t used = statusField(*status, "VmSize");
    figures.availableVirtualBytes = used < limit ? limit - used : 0;
    return figures;
}

} // namespace platform
