#pragma once
// Memory figures (GetProcessMemoryInfo, GlobalMemoryStatusEx), read from /proc.
#include <cstdint>

namespace platform {

struct MemoryFigures {
    std::uint64_t privateBytes = 0;          // the process's own memory: anonymous pages, resident or swapped
    std::uint64_t availableVirtualBytes = 0; // address space the process may still take
};

MemoryFigures memoryFigures();

} // namespace platform
