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

// The blocks of an extra field in order, as [begin, end) with their tag; a block running past the field's
// end is cut there. Where the walk stopped: a fragment shorter than a block's header may follow.
template <class Visit> std::size_t eachBlock(const unsigned char* extra, std::size_t size, Visit visit) {
    std::size_t at = 0;
    while (at + 4 <= size) {
        const std::size_t end = std::min<std::size_t>(at + 4 + little16(extra + at + 2), size);
        if (!visit(little16(extra + at), at, end)) break;
        at = end;
    }
    return at;
}

} // namespace

bool readRealSizes(unzFile archive, unz_file_info64& entry) {
    if (entry.uncompressed_size != kMark && entry.compressed_size != kMark) return true;
    std::vector<unsigned char> extra(entry.size_file_extra);
    if (unzGetCurrentFileInfo64(archive, nullptr, nullptr, 0, extra.data(), extra.size(), nullptr, 0) !=
        UNZ_OK)
        return false;
    eachBlock(extra.data(), extra.size(), [&](unsigned tag, std::size_t at, std::size_t end) {
        if (tag != kTag) return true;
        // The field holds only the sizes that carry the mark, uncompressed first.
        std::size_t value = at + 4;
        for (ZPOS64_T* size : {&entry.uncompressed_size, &entry.compressed_size})
            if (*size == kMark && value + 8 <= end) {
                *size = little64(&extra[value]);
                value += 8;
            }
        return false;
    });
    return true;
}

// minizip's own zipRemoveExtraInfoBlock keeps only the last of the other blocks, the rest of its length left
// unwritten: the blocks are filtered here.
void dropField(std::vector<char>& extra) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(extra.data());
    std::vector<char> kept;
    const std::size_t stop =
        eachBlock(bytes, extra.size(), [&](unsigned tag, std::size_t at, std::size_t end) {
            if (tag != kTag)
                kept.insert(kept.end(), extra.begin() + static_cast<std::ptrdiff_t>(at),
                            extra.begin() + static_cast<std::ptrdiff_t>(end));
            return true;
        });
    kept.insert(kept.end(), extra.begin() + static_cast<std::ptrdiff_t>(stop), extra.end());
    extra = std::move(kept);
}

} // namespace zip64
