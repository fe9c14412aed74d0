// An entry's sizes from its zip64 extra field.
#include "services/zip/zip64_sizes.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace zip64 {

namespace {

constexpr unsigned kTag = 1;

unsigned little16(const unsigned char* bytes) {
    return bytes[0] | bytes[1] << 8;
}

std::uint64_t little64(const unsigned char* bytes) {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

} // namespace

bool readRealSizes(unzFile archive, unz_file_info64& entry) {
    if (entry.uncompressed_size != kMark && entry.compressed_size != kMark) return true;
    std::vector<unsigned char> extra(entry.size_file_extra);
    if (unzGetCurrentFileInfo64(archive, nullptr, nullptr, 0, extra.data(), extra.size(), nullptr, 0) !=
        UNZ_OK)
        return false;
    for (std::size_t at = 0; at + 4 <= extra.size();) {
        const std::size_t end = std::min<std::size_t>(at + 4 + little16(&extra[at + 2]), extra.size());
        if (little16(&extra[at]) == kTag) {
            // The field holds only the sizes that carry the mark, uncompressed first.
            std::size_t value = at + 4;
            for (ZPOS64_T* size : {&entry.uncompressed_size, &entry.compressed_size})
                if (*size == kMark && value + 8 <= end) {
                    *size = little64(&extra[value]);
                    value += 8;
                }
            return true;
        }
        at = end;
    }
    return true;
}

} // namespace zip64
