// The two in-place Gauss-Jordan inversions of the profile matrix. Rows grow as the elimination fills them.
#include "geometry/matrices/delayed_exchanges.h"
#include "geometry/matrices/inversion_rules.h"
#include "geometry/matrices/matrice_sym.h"
#include "geometry/matrices/profile_rows.h"
#include "geometry/matrices/row_updates.h"

#include <cmath>

namespace {

using namespace geometry::matrices;
using pLine = MatriceSym::pLine;

double diagonalOf(const MatriceSym& m, std::uint32_t i) {
    return m.table[i][static_cast<std::int32_t>(i)];
}

// The threshold of the stored values, or kSingularAt + i for the first row that holds none.
int scanThreshold(const MatriceSym& m, PivotThreshold& threshold) {
    for (std::uint32_t i = 0; i < m.rows; ++i) {
        const pLine row = m.table[i];
        if (!row.values) return kSingularAt + static_cast<int>(i);
        threshold.diagonal(diagonalOf(m, i));
        for (std::int32_t j = 0; j <= row.last - row.first; ++j)
            threshold.element(row.values[j]);
    }
    return std::isnan(threshold.value()) ? kNotANumber : 0;
}

// Exchange step at pivot (e, d) over the rows of `reduced`. False when a row cannot grow.
bool exchange(MatriceSym& m, std::uint32_t e, std::uint32_t d, ColumnRange reduced) {
    const pLine pivotRow = m.table[e];
    const auto column = static_cast<std::int32_t>(d);
    const double h = 1 / pivotRow[column];
    for (std::uint32_t i = reduced.begin; i < reduced.end; ++i) {
        const double a = m.table[i][column];
        if (i == e || a == 0) continue;
        const double f = a * h;
        // The row takes the pivot row's whole range before any value is read through its pointer.
        if (!m.table[i].pAtt(pivotRow.first) || !m.table[i].pAtt(pivotRow.last)) return false;
        const pLine row = m.table[i];
        double* target = row.values + (pivotRow.first - row.first);
        const double* source = pivotRow.values;
        subtractRows<1>(&target, &source, &f, pivotRow.last - pivotRow.first + 1);
        row.values[column - row.first] = f;
    }
    for (std::int32_t j = 0; j <= pivotRow.last - pivotRow.first; ++j)
        pivotRow.values[j] *= -h;
    pivotRow.values[column - pivotRow.first] = h;
    return true;
}

bool diagonalNotPositive(const MatriceSym& m) {
    for (std::uint32_t i = 0; i < m.rows; ++i)
        if (diagonalOf(m, i) <= 0) return true;
    return false;
}

Pivot searchPivot(const MatriceSym& m, const std::uint32_t* colOfRow, const std::uint32_t* rowOfCol,
                  bool diagonalOnly) {
    Pivot best;
    double largest = -1;
    for (std::uint32_t i = 0; i < m.rows; ++i) {
        if (colOfRow[i] != kNone) continue;
        const ColumnRange range = diagonalOnly ? ColumnRange{i, i + 1} : storedColumns(m.table[i], m.cols);
        for (std::uint32_t j = range.begin; j < range.end; ++j) {
            if (rowOfCol[j] != kNone) continue;
            const double size = std::fabs(m.table[i][static_cast<std::int32_t>(j)]);
            if (size > largest) {
                largest = size;
                best = {i, j, size};
            }
        }
    }
    return best;
}

// Row e of the finished table is row colOfRow[e] of the inverse, column d of it column rowOfCol[d]. False
// when a row cannot grow to its new range.
bool undoPermutations(MatriceSym& m, std::uint32_t* colOfRow, const std::uint32_t* rowOfCol,
                      double* scratch) {
    undoRowPermutation(m.table, m.rows, colOfRow);
    for (std::uint32_t i = 0; i < m.rows; ++i) {
        const pLine row = m.table[i];
        const ColumnRange old = storedColumns(row, m.cols);
        if (old.empty()) continue;
        ColumnRange moved = old;
        for (std::uint32_t d = old.begin; d < old.end; ++d) {
            moved.begin = std::min(moved.begin, rowOfCol[d]);
            moved.end = std::max(moved.end, rowOfCol[d] + 1);
        }
        std::fill(scratch + moved.begin, scratch + moved.end, 0.0);
        for (std::uint32_t d = old.begin; d < old.end; ++d)
            scratch[rowOfCol[d]] = row[static_cast<std::int32_t>(d)];
        if (!m.pAt(i, moved.begin) || !m.pAt(i, moved.end - 1)) return false;
        const pLine grown = m.table[i];
        for (std::uint32_t j = moved.begin; j < moved.end; ++j)
            grown.values[static_cast<std::int32_t>(j) - grown.first] = scratch[j];
    }
    return true;
}

// The inversion ran out of memory half way: nothing of the matrix is worth keeping.
int outOfMemory(MatriceSym& m) {
    m.SetNul(0, 0);
    g_CalculState = -100;
    return kNoMatrix;
}

// The profile's rows as the delayed exchanges walk them, grown on demand. A row filling up during the
// inversion grows its block geometrically, its `allocated` following pAtt's steps; the blocks are cut back to
// `allocated` when the inversion ends.
class ProfileRows {
public:
    explicit ProfileRows(MatriceSym& m) : m_m(m), m_capacity(heapArray<std::int32_t>(m.rows)) {
        if (!m_capacity) return;
        for (std::uint32_t i = 0; i < m.rows; ++i)
            m_capacity[i] = m.table[i].allocated;
    }
    ProfileRows(const ProfileRows&) = delete;
    ProfileRows& operator=(const ProfileRows&) = delete;
    ~ProfileRows() {
        // After running out of memory the table is gone.
        for (std::uint32_t i = 0; m_capacity && m_m.table && i < m_m.rows; ++i) {
            pLine& line = m_m.table[i];
            if (m_capacity[i] == line.allocated) continue;
            // Shrinking in place; should it fail, the larger block serves as well.
            if (void* cut =
                    std::realloc(line.values, static_cast<std::size_t>(line.allocated) * sizeof(double)))
                line.values = static_cast<double*>(cut);
        }
    }

    bool allocated() const { return m_capacity != nullptr; }
    RowSpan row(std::uint32_t i) const {
        const pLine line = m_m.table[i];
        return {line.values, line.first, line.last};
    }
    bool cover(std::uint32_t i, std::int32_t first, std::int32_t last) const {
        const auto widest = static_cast<std::int32_t>(m_m.cols);
        pLine& line = m_m.table[i];
        return growRow(line, first, m_capacity[i], widest) && growRow(line, last, m_capacity[i], widest);
    }

private:
    MatriceSym& m_m;
    HeapArray<std::int32_t> m_capacity;
};

} // namespace

int MatriceSym::Inverse(int opt, CProgressMeter* pm) {
    if (!table || rows == 0 || rows != cols) return kNoMatrix;
    pivotMini = 1e6;
    const std::uint32_t n = rows;
    PivotTables tables(n);
    if (!tables.allocated()) return kNoMatrix;
    std::uint32_t* colOfRow = tables.colOfRow.get();
    std::uint32_t* rowOfCol = tables.rowOfCol.get();
    PivotThreshold threshold;
    if (const int refused = scanThreshold(*this, threshold)) return refused;
    const bool diagonalOnly = (opt & 1) && n > 6 && threshold.value() >= 1e-30;
    for (std::uint32_t k = 0; k < n; ++k) {
        if (const int stop = progressAt(pm, k)) return stop;
        const Pivot pivot = searchPivot(*this, colOfRow, rowOfCol, diagonalOnly);
        if (pivot.size < pivotMini) pivotMini = pivot.size;
        if (pivot.row == kNone || threshold.singular(pivot.size)) {
            for (std::uint32_t i = 0; i < n; ++i) {
                const pLine row = table[i];
                const auto diagonal = static_cast<std::int32_t>(i);
                if (colOfRow[i] == kNone && row.values && diagonal >= row.first && diagonal <= row.last)
                    row.values[diagonal - row.first] = 0;
            }
            return kSingularAt + static_cast<int>(k);
        }
        if (!exchange(*this, pivot.row, pivot.col, {0, n})) return outOfMemory(*this);
        colOfRow[pivot.row] = pivot.col;
        rowOfCol[pivot.col] = pivot.row;
    }
    if ((opt & 4) && diagonalNotPositive(*this)) return kNotPositive;
    if (!undoPermutations(*this, colOfRow, rowOfCol, tables.scratch.get())) return outOfMemory(*this);
    return kInverted;
}

int MatriceSym::InverseSimple(int opt, CProgressMeter* pm) {
    if (!table || rows == 0 || rows != cols) return kNoMatrix;
    pivotMini = 1e6;
    PivotThreshold threshold;
    if (const int refused = scanThreshold(*this, threshold)) return refused;
    ProfileRows profile(*this);
    DelayedExchanges<ProfileRows> exchanges(profile, rows);
    if (!profile.allocated() || !exchanges.allocated()) return kNoMatrix;
    for (std::uint32_t i = 0; i < rows; ++i) {
        if (const int stop = progressAt(pm, i)) {
            exchanges.flush();
            return stop;
        }
        exchanges.catchUpRow(i);
        const double size = std::fabs(diagonalOf(*this, i));
        if (size < pivotMini) pivotMini = size;
        if (threshold.singular(size)) {
            exchanges.flush();
            return kSingularAt + static_cast<int>(i);
        }
        // In a symmetric profile the rows that meet the pivot column are those of the pivot row's range.
        const ColumnRange reduced = (opt & 2) ? storedColumns(table[i], rows) : ColumnRange{0, rows};
        if (!exchanges.exchange(i, reduced)) return outOfMemory(*this);
    }
    exchanges.flush();
    if ((opt & 4) && diagonalNotPositive(*this)) return kNotPositive;
    return kInverted;
}
