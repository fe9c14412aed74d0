#include "geometry/points/record_compression.h"

#include <cstddef>
#include <cstring>

int CompressArray(int n, int size, void* records, const char* mask) {
    if (!records || !mask || size <= 0) return 0;
    auto* bytes = static_cast<unsigned char*>(records);
    const auto width = static_cast<std::size_t>(size);
    int kept = 0;
    for (int i = 0; i < n; ++i) {
        if (!mask[i]) continue;
        if (kept != i) std::memcpy(bytes + kept * width, bytes + i * width, width);
        ++kept;
    }
    return kept;
}
