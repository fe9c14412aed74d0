#pragma once
// An entry's real sizes where its 32-bit fields hold the zip64 mark: minizip reads the zip64 extra field
// only where long is 32 bits wide, and leaves the mark in place elsewhere.
#include <minizip/unzip.h>

#include <cstdint>

namespace zip64 {

inline constexpr std::uint64_t kMark = 0xFFFFFFFF;

// Replaces each size of the current entry that holds the mark by the one its zip64 extra field declares
// (a mark without such a value stays). False when the extra field cannot be read.
bool readRealSizes(unzFile archive, unz_file_info64& entry);

} // namespace zip64
