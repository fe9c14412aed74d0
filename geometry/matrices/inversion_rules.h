#pragma once
// What the dense and the profile inversions share: their result codes, the progress call and the pivot
// threshold.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <utility>

class CProgressMeter;

namespace geometry::matrices {

enum InversionResult : int {
    kInverted = 0,
    kNoMatrix = 1,
    kCallbackThrew = 2,
    kNotANumber = 3,
    kNotPositive = 5,
    kSingularAt = 0x10000,
    kCancelledAt = 0x30000,
};

// Scratch tables of an inversion come from the heap like the matrices, so that running out of memory is an
// answer (null, with g_CalculState at -100) and not an exception.
struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T> using HeapArray = std::unique_ptr<T[], FreeDeleter>;

// `count` elements of `size` bytes, at least one.
void* heapBlock(std::size_t count, std::size_t size);

template <class T> HeapArray<T> heapArray(std::size_t count) {
    return HeapArray<T>(static_cast<T*>(heapBlock(count, sizeof(T))));
}

// A row or column not yet pivoted.
constexpr std::uint32_t kNone = 0xFFFFFFFF;

// The bookkeeping of a full-pivot inversion: the column each row was pivoted on and the row of each column
// (kNone until then), and one row of scratch to put the columns back in order. Allocated all together; on
// failure none is there and g_CalculState is -100.
struct PivotTables {
    explicit PivotTables(std::uint32_t n);
    bool allocated() const { return colOfRow && rowOfCol && scratch; }

    HeapArray<std::uint32_t> colOfRow;
    HeapArray<std::uint32_t> rowOfCol;
    HeapArray<double> scratch;
};

// Row e of a finished exchange table becomes row colOfRow[e] of the inverse: the rows are swapped into place
// (colOfRow is used up on the way).
template <class Row> void undoRowPermutation(Row* rows, std::uint32_t n, std::uint32_t* colOfRow) {
    for (std::uint32_t i = 0; i < n; ++i) {
        while (colOfRow[i] != i) {
            const std::uint32_t target = colOfRow[i];
            std::swap(rows[i], rows[target]);
            std::swap(colOfRow[i], colOfRow[target]);
        }
    }
}

struct Pivot {
    std::uint32_t row = kNone;
    std::uint32_t col = kNone;
    double size = 0;
};

// Calls pm (when given) at `step`: 0 to go on, kCancelledAt + step on a negative answer, kCallbackThrew when
// it throws.
int progressAt(CProgressMeter* pm, std::uint32_t step);

// Pivots below the threshold are singular. It is 1e-13 times the smallest non-zero diagonal element; with no
// non-zero diagonal (a permutation, say) the largest element takes its place, and with no non-zero element
// at all it is 1e37, so that the zero matrix is singular at its first step. NaN on the diagonal makes it NaN.
class PivotThreshold {
public:
    void diagonal(double a);
    void element(double a);
    double value() const;
    // Below the threshold, or zero (when the threshold underflowed).
    bool singular(double pivot) const { return pivot < value() || pivot == 0; }

private:
    double smallestDiagonal_ = 0;
    double largestElement_ = 0;
    bool nan_ = false;
};

} // namespace geometry::matrices
