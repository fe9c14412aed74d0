#pragma once
// The zip64 extra field of an entry: its real sizes where its 32-bit fields hold the zip64 mark (minizip
// reads the field only where long is 32 bits wide, and leaves the mark in place elsewhere), and its removal
// from an extra field that is copied to a new entry.
#include <minizip/unzip.h>

#include <cstdint>
#include <vector>

namespace zip64 {

inline constexpr std::uint64_t kMark = 0xFFFFFFFF;

// Replaces each size of the current entry that holds the mark by the one its zip64 extra field declares
// (a mark without such a value stays). False when the extra field cannot be read.
bool readRealSizes(unzFile archive, unz_file_info64& entry);

// `extra` without its zip64 blocks, the others whole and in order: minizip writes a zip64 block of its own.
void dropField(std::vector<char>& extra);

} // namespace zip64
