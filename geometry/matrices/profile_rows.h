#pragma once
// Column ranges of profile rows, as the products and the inversions walk them.
#include "geometry/matrices/matrice_sym.h"

#include <algorithm>
#include <cstdint>

namespace geometry::matrices {

// Columns [begin, end).
struct ColumnRange {
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
    bool empty() const { return begin >= end; }
};

// The part of a row's stored range that lies inside a matrix of `cols` columns.
inline ColumnRange storedColumns(const MatriceSym::pLine& row, std::uint32_t cols) {
    if (!row.values || row.last < 0) return {};
    const auto begin = static_cast<std::uint32_t>(std::max(row.first, 0));
    const std::uint32_t end = std::min(static_cast<std::uint32_t>(row.last) + 1, cols);
    return {begin, std::max(begin, end)};
}

// pAtt(j) on a row whose block holds `capacity` doubles, at least `allocated`: `allocated` follows pAtt's
// steps, while the block, when it must grow to the right, at least doubles (short of the columns from
// `widest`), so that a row filling column by column is moved a few times instead of every few columns. A
// `widest` of 0 grows the block exactly as `allocated`.
double* growRow(MatriceSym::pLine& row, std::int32_t j, std::int32_t& capacity, std::int32_t widest);

inline ColumnRange overlap(ColumnRange a, ColumnRange b) {
    const std::uint32_t begin = std::max(a.begin, b.begin);
    return {begin, std::max(begin, std::min(a.end, b.end))};
}

// Sum of a[k] * b[k] over k in `range`, both rows holding the whole range; zeros of a take no part (an
// infinity of b beside them stays out).
inline double dotOver(const MatriceSym::pLine& a, const MatriceSym::pLine& b, ColumnRange range) {
    const double* x = a.values + (static_cast<std::int32_t>(range.begin) - a.first);
    const double* y = b.values + (static_cast<std::int32_t>(range.begin) - b.first);
    double sum = 0;
    for (std::uint32_t k = 0; k < range.end - range.begin; ++k)
        if (x[k] != 0) sum += x[k] * y[k];
    return sum;
}

} // namespace geometry::matrices
