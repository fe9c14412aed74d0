// The two in-place Gauss-Jordan inversions of the dense matrix.
#include "geometry/matrices/delayed_exchanges.h"
#include "geometry/matrices/inversion_rules.h"
#include "geometry/matrices/matrice.h"
#include "geometry/matrices/open_column_maxima.h"
#include "geometry/matrices/row_updates.h"

#include <algorithm>
#include <cmath>

namespace {

using namespace geometry::matrices;

PivotThreshold thresholdOf(double** a, std::uint32_t n) {
    PivotThreshold threshold;
    for (std::uint32_t i = 0; i < n; ++i) {
        threshold.diagonal(a[i][i]);
        for (std::uint32_t j = 0; j < n; ++j)
            threshold.element(a[i][j]);
    }
    return threshold;
}

// The search for the next pivot: the largest element of the rows and columns not yet pivoted (on the
// diagonal only, when asked), the first in row order among equals. A row's largest open element is found a
// few at a time; only a row that beats the rows before it is walked to find where.
class PivotSearch {
public:
    PivotSearch(const std::uint32_t* rowOfCol, const std::uint64_t* openColumns, std::uint32_t n,
                bool diagonalOnly)
        : m_rowOfCol(rowOfCol), m_openColumns(openColumns), m_n(n), m_diagonalOnly(diagonalOnly) {}

    void take(const double* row, std::uint32_t i) {
        if (m_diagonalOnly) {
            if (m_rowOfCol[i] == kNone) consider(i, i, std::fabs(row[i]));
            return;
        }
        const double largest = largestOpen(row, m_openColumns, static_cast<std::int32_t>(m_n));
        if (!(largest > m_largest)) return;
        for (std::uint32_t j = 0; j < m_n; ++j)
            if (m_rowOfCol[j] == kNone && std::fabs(row[j]) == largest) return consider(i, j, largest);
    }
    Pivot best() const { return m_best; }

private:
    void consider(std::uint32_t i, std::uint32_t j, double size) {
        if (size > m_largest) {
            m_largest = size;
            m_best = {i, j, size};
        }
    }

    const std::uint32_t* m_rowOfCol;
    const std::uint64_t* m_openColumns;
    std::uint32_t m_n;
    bool m_diagonalOnly;
    Pivot m_best;
    double m_largest = -1;
};

Pivot searchPivot(double** a, std::uint32_t n, const std::uint32_t* colOfRow, const std::uint32_t* rowOfCol,
                  const std::uint64_t* openColumns, bool diagonalOnly) {
    PivotSearch search(rowOfCol, openColumns, n, diagonalOnly);
    for (std::uint32_t i = 0; i < n; ++i)
        if (colOfRow[i] == kNone) search.take(a[i], i);
    return search.best();
}

// Exchange step at pivot (e, d), already marked as pivoted: x_d and y_e swap their roles in y = A x. Each row
// is searched for the next pivot as soon as it is updated, while it is in cache.
Pivot exchangeAndSearch(double** a, std::uint32_t n, std::uint32_t e, std::uint32_t d,
                        const std::uint32_t* colOfRow, const std::uint32_t* rowOfCol,
                        const std::uint64_t* openColumns, bool diagonalOnly) {
    const double h = 1 / a[e][d];
    double* pivotRow = a[e];
    PivotSearch search(rowOfCol, openColumns, n, diagonalOnly);
    for (std::uint32_t i = 0; i < n; ++i) {
        if (i != e && a[i][d] != 0) {
            const double f = a[i][d] * h;
            const double* source = pivotRow;
            subtractRows<1>(&a[i], &source, &f, static_cast<std::int32_t>(n));
            a[i][d] = f;
        }
        if (colOfRow[i] == kNone) search.take(a[i], i);
    }
    for (std::uint32_t j = 0; j < n; ++j)
        pivotRow[j] *= -h;
    pivotRow[d] = h;
    return search.best();
}

bool diagonalNotPositive(double** a, std::uint32_t n) {
    for (std::uint32_t i = 0; i < n; ++i)
        if (a[i][i] <= 0) return true;
    return false;
}

// Row e of the finished table is row colOfRow[e] of the inverse, column d of it column rowOfCol[d].
void undoPermutations(double** a, std::uint32_t n, std::uint32_t* colOfRow, const std::uint32_t* rowOfCol,
                      double* scratch) {
    undoRowPermutation(a, n, colOfRow);
    for (std::uint32_t i = 0; i < n; ++i) {
        for (std::uint32_t d = 0; d < n; ++d)
            scratch[rowOfCol[d]] = a[i][d];
        std::copy(scratch, scratch + n, a[i]);
    }
}

// The table's rows as the delayed exchanges walk them: every row holds every column.
struct DenseRows {
    double** lines;
    std::uint32_t n;

    RowSpan row(std::uint32_t i) const { return {lines[i], 0, static_cast<std::int32_t>(n) - 1}; }
    bool cover(std::uint32_t, std::int32_t, std::int32_t) const { return true; }
};

} // namespace

int Matrice::Inverse(int opt, CProgressMeter* pm) {
    pivotMini = 1e6;
    if (vec && rows == 1) {
        const double x = vec[0];
        if (std::isnan(x)) return kNotANumber;
        pivotMini = std::fabs(x);
        if (x == 0) return kSingularAt;
        vec[0] = 1 / x;
        return kInverted;
    }
    if (!lines || rows == 0 || rows != cols) return kNoMatrix;
    const std::uint32_t n = rows;
    // Everything the inversion needs is taken before the matrix is touched.
    PivotTables tables(n);
    if (!tables.allocated()) return kNoMatrix;
    std::uint32_t* colOfRow = tables.colOfRow.get();
    std::uint32_t* rowOfCol = tables.rowOfCol.get();
    const HeapArray<std::uint64_t> openColumns = heapArray<std::uint64_t>(n);
    if (!openColumns) return kNoMatrix;
    std::fill(openColumns.get(), openColumns.get() + n, kOpenColumn);
    const PivotThreshold threshold = thresholdOf(lines, n);
    if (std::isnan(threshold.value())) return kNotANumber;
    const bool diagonalOnly = (opt & 1) && n > 6 && threshold.value() >= 1e-30;
    Pivot pivot = searchPivot(lines, n, colOfRow, rowOfCol, openColumns.get(), diagonalOnly);
    for (std::uint32_t k = 0; k < n; ++k) {
        if (const int stop = progressAt(pm, k)) return stop;
        if (pivot.size < pivotMini) pivotMini = pivot.size;
        if (pivot.row == kNone || threshold.singular(pivot.size)) {
            // The caller may go on with the patched matrix: 0 where no pivot was found, a tiny pivot where
            // the exchange left a zero.
            for (std::uint32_t i = 0; i < n; ++i) {
                if (colOfRow[i] == kNone)
                    lines[i][i] = 0;
                else if (lines[i][i] == 0)
                    lines[i][i] = 1e-10;
            }
            return kSingularAt + static_cast<int>(k);
        }
        colOfRow[pivot.row] = pivot.col;
        rowOfCol[pivot.col] = pivot.row;
        openColumns[pivot.col] = 0;
        pivot = exchangeAndSearch(lines, n, pivot.row, pivot.col, colOfRow, rowOfCol, openColumns.get(),
                                  diagonalOnly);
    }
    if ((opt & 4) && diagonalNotPositive(lines, n)) return kNotPositive;
    undoPermutations(lines, n, colOfRow, rowOfCol, tables.scratch.get());
    return kInverted;
}

int Matrice::InverseSimple(int opt, CProgressMeter* pm) {
    pivotMini = 1e6;
    if (!lines || rows == 0 || rows != cols) return kNoMatrix;
    const std::uint32_t n = rows;
    const PivotThreshold threshold = thresholdOf(lines, n);
    if (std::isnan(threshold.value())) return kNotANumber;
    DenseRows table{lines, n};
    DelayedExchanges<DenseRows> exchanges(table, n);
    if (!exchanges.allocated()) return kNoMatrix;
    for (std::uint32_t i = 0; i < n; ++i) {
        if (const int stop = progressAt(pm, i)) {
            exchanges.flush();
            return stop;
        }
        exchanges.catchUpRow(i);
        const double size = std::fabs(lines[i][i]);
        if (size < pivotMini) pivotMini = size;
        if (threshold.singular(size)) {
            exchanges.flush();
            return kSingularAt + static_cast<int>(i);
        }
        exchanges.exchange(i, {0, n});
    }
    exchanges.flush();
    if ((opt & 4) && diagonalNotPositive(lines, n)) return kNotPositive;
    return kInverted;
}
