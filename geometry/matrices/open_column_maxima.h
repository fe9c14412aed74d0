#pragma once
// The largest magnitude of a row over the columns still open to pivoting, a few elements at a time: the pivot
// search of a full-pivot inversion reads the whole table at each step. A column's mask is all ones but the
// sign bit while it is open, 0 once pivoted, so a pivoted column reads as +0. A NaN is never the largest, as
// with a plain `size > largest` walk.
#include "geometry/matrices/row_updates.h"

#include <cstdint>
#include <cstring>

namespace geometry::matrices {

constexpr std::uint64_t kOpenColumn = 0x7FFF'FFFF'FFFF'FFFFull;

namespace open_column_maxima {

template <int kLanes> struct MaskVector;
template <> struct MaskVector<2> { using type = std::uint64_t __attribute__((vector_size(16))); };
template <> struct MaskVector<4> { using type = std::uint64_t __attribute__((vector_size(32))); };

// -1 for an empty row.
template <int kLanes>
[[gnu::always_inline]] inline double largest(const double* row, const std::uint64_t* masks,
                                             std::int32_t count) {
    using Lanes = typename row_updates::LaneVector<kLanes>::type;
    using Masks = typename MaskVector<kLanes>::type;
    Lanes best;
    for (int lane = 0; lane < kLanes; ++lane)
        best[lane] = -1;
    std::int32_t j = 0;
    for (; j + kLanes <= count; j += kLanes) {
        Masks bits;
        Masks mask;
        std::memcpy(&bits, row + j, sizeof bits);
        std::memcpy(&mask, masks + j, sizeof mask);
        bits &= mask;
        Lanes size;
        std::memcpy(&size, &bits, sizeof size);
        best = size > best ? size : best;
    }
    double result = -1;
    for (int lane = 0; lane < kLanes; ++lane)
        if (best[lane] > result) result = best[lane];
    for (; j < count; ++j) {
        std::uint64_t bits;
        std::memcpy(&bits, row + j, sizeof bits);
        bits &= masks[j];
        double size;
        std::memcpy(&size, &bits, sizeof size);
        if (size > result) result = size;
    }
    return result;
}

[[gnu::target("avx")]] inline double largestWide(const double* row, const std::uint64_t* masks,
                                                 std::int32_t count) {
    return largest<4>(row, masks, count);
}

} // namespace open_column_maxima

// The largest |row[j]| over j in [0, count) with masks[j] == kOpenColumn, or +0 when a pivoted column is
// larger than all the open ones (only NaN or nothing left open); -1 for an empty row.
inline double largestOpen(const double* row, const std::uint64_t* masks, std::int32_t count) {
    return row_updates::wideRegisters() ? open_column_maxima::largestWide(row, masks, count)
                                        : open_column_maxima::largest<2>(row, masks, count);
}

} // namespace geometry::matrices
