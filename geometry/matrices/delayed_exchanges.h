#pragma once
// Gauss-Jordan exchange steps on the diagonal in order, a panel of them at a time. The panel's pivot rows and
// pivot columns are kept current; the rest of every other row takes the panel's updates together when the
// panel is full, while the row is in cache, instead of the whole table being streamed once per step. Each
// element receives the same operations in the same order as with one exchange at a time, so the results are
// the same to the bit.
//
// Rows gives `RowSpan row(r)` and `bool cover(r, first, last)` (the row grown to hold those columns, false
// when it cannot grow).
#include "geometry/matrices/inversion_rules.h"
#include "geometry/matrices/matrice.h"
#include "geometry/matrices/profile_rows.h"
#include "geometry/matrices/row_updates.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace geometry::matrices {

// The values of columns first..last of a row (null for a row of zeros).
struct RowSpan {
    double* values = nullptr;
    std::int32_t first = 0;
    std::int32_t last = -1;

    double at(std::int32_t j) const { return values && j >= first && j <= last ? values[j - first] : 0; }
};

template <class Rows> class DelayedExchanges {
public:
    static constexpr std::uint32_t kPanel = 32;

    DelayedExchanges(Rows& rows, std::uint32_t n)
        : m_rows(rows), m_n(n), m_pivotRows(table<double>(std::size_t{kPanel} * n)),
          m_factors(table<double>(std::size_t{kPanel} * n)),
          m_active(table<unsigned char>(std::size_t{kPanel} * n)), m_current(table<unsigned char>(n)),
          m_listed(table<unsigned char>(n)), m_touched(table<std::uint32_t>(n)) {
        if (!allocated()) return;
        std::fill(m_active.get(), m_active.get() + std::size_t{kPanel} * n, 0);
        std::fill(m_current.get(), m_current.get() + n, 0);
        std::fill(m_listed.get(), m_listed.get() + n, 0);
    }

    // Scratch is taken from the heap like the matrices: on failure g_CalculState is -100.
    bool allocated() const {
        return m_pivotRows && m_factors && m_active && m_current && m_listed && m_touched;
    }

    // Row e with every pending update applied; its values may be read from then on.
    void catchUpRow(std::uint32_t e) {
        if (m_current[e]) return;
        applyPending(e);
        m_current[e] = 1;
    }

    // The exchange at (k, k) over the rows of `reduced`; k is the diagonal after the last one exchanged.
    // False when a row cannot grow.
    bool exchange(std::uint32_t k, ColumnRange reduced) {
        catchUpRow(k);
        catchUpColumn(k);
        const RowSpan pivot = m_rows.row(k);
        const auto column = static_cast<std::int32_t>(k);
        const double h = 1 / pivot.at(column);
        const std::uint32_t t = m_count;
        double* snapshot = m_pivotRows.get() + std::size_t{t} * m_n;
        std::copy(pivot.values, pivot.values + (pivot.last - pivot.first + 1), snapshot + pivot.first);
        m_range[t] = {pivot.first, pivot.last};
        const auto panelFirst = static_cast<std::int32_t>(m_first);
        for (std::uint32_t r = reduced.begin; r < reduced.end; ++r) {
            const double a = m_rows.row(r).at(column);
            if (r == k || a == 0) continue;
            const double f = a * h;
            // The row takes the pivot row's whole range before any value is read through its pointer.
            if (!m_rows.cover(r, pivot.first, pivot.last)) return false;
            const RowSpan row = m_rows.row(r);
            if (m_current[r]) {
                subtract(row, f, snapshot, pivot.first, pivot.last + 1);
            } else {
                subtract(row, f, snapshot, std::max(pivot.first, panelFirst),
                         std::min(pivot.last, column) + 1);
                note(t, r, f);
            }
            row.values[column - row.first] = f;
        }
        for (std::int32_t j = 0; j <= pivot.last - pivot.first; ++j)
            pivot.values[j] *= -h;
        pivot.values[column - pivot.first] = h;
        if (++m_count == kPanel) flush();
        return true;
    }

    // Every pending update applied: the table is what one exchange at a time gives.
    void flush() {
        for (std::uint32_t i = 0; i < m_touchedCount; ++i) {
            const std::uint32_t r = m_touched[i];
            if (!m_current[r]) applyPending(r);
            std::fill(m_active.get() + slot(r, 0), m_active.get() + slot(r, m_count), 0);
            m_current[r] = 0;
            m_listed[r] = 0;
        }
        for (std::uint32_t k = m_first; k < m_first + m_count; ++k)
            m_current[k] = 0;
        m_touchedCount = 0;
        m_first += m_count;
        m_count = 0;
    }

private:
    struct Range {
        std::int32_t first = 0;
        std::int32_t last = -1;
    };

    template <class T> static HeapArray<T> table(std::size_t count) {
        HeapArray<T> array(static_cast<T*>(std::malloc(std::max<std::size_t>(count, 1) * sizeof(T))));
        if (!array) g_CalculState = -100;
        return array;
    }

    // row[j] -= f * pivot[j] for j in [begin, end).
    static void subtract(const RowSpan& row, double f, const double* pivot, std::int32_t begin,
                         std::int32_t end) {
        if (begin >= end) return;
        const double* source = pivot + begin;
        subtractRows<1>(row.values + (begin - row.first), &source, &f, end - begin);
    }

    // The same over the part of [begin, end) outside the panel's columns, which are current.
    void subtractOutsidePanel(const RowSpan& row, double f, const double* pivot, std::int32_t begin,
                              std::int32_t end) const {
        subtract(row, f, pivot, begin, std::min(end, static_cast<std::int32_t>(m_first)));
        subtract(row, f, pivot, std::max(begin, static_cast<std::int32_t>(m_first + m_count)), end);
    }

    const double* pivotRow(std::uint32_t t) const { return m_pivotRows.get() + std::size_t{t} * m_n; }
    // Where the factor and the flag of row r at the panel's t-th exchange are kept: a row's together.
    static std::size_t slot(std::uint32_t r, std::uint32_t t) { return std::size_t{r} * kPanel + t; }

    // kGroup of row r's pending exchanges, in order, over the columns they all reach in one pass.
    template <int kGroup>
    void applyGroup(const RowSpan& row, std::uint32_t r, const std::uint32_t* owed) const {
        std::int32_t begin = m_range[owed[0]].first;
        std::int32_t end = m_range[owed[0]].last + 1;
        for (int g = 1; g < kGroup; ++g) {
            begin = std::max(begin, m_range[owed[g]].first);
            end = std::min(end, m_range[owed[g]].last + 1);
        }
        end = std::max(begin, end);
        double factors[kGroup];
        const double* pivots[kGroup];
        // Columns outside the shared range take each exchange that reaches them, in order.
        for (int g = 0; g < kGroup; ++g) {
            const Range reach = m_range[owed[g]];
            factors[g] = m_factors[slot(r, owed[g])];
            subtractOutsidePanel(row, factors[g], pivotRow(owed[g]), reach.first,
                                 std::min(reach.last + 1, begin));
            subtractOutsidePanel(row, factors[g], pivotRow(owed[g]), std::max(reach.first, end),
                                 reach.last + 1);
        }
        const auto shared = [&](std::int32_t from, std::int32_t to) {
            if (from >= to) return;
            for (int g = 0; g < kGroup; ++g)
                pivots[g] = pivotRow(owed[g]) + from;
            subtractRows<kGroup>(row.values + (from - row.first), pivots, factors, to - from);
        };
        shared(begin, std::min(end, static_cast<std::int32_t>(m_first)));
        shared(std::max(begin, static_cast<std::int32_t>(m_first + m_count)), end);
    }

    void note(std::uint32_t t, std::uint32_t r, double f) {
        if (!m_listed[r]) {
            m_listed[r] = 1;
            m_touched[m_touchedCount++] = r;
        }
        m_active[slot(r, t)] = 1;
        m_factors[slot(r, t)] = f;
    }

    // The updates row r still owes, outside the panel's columns, which are current: eight at a time, then
    // four, then one by one.
    void applyPending(std::uint32_t r) {
        std::uint32_t owed[kPanel];
        std::uint32_t count = 0;
        for (std::uint32_t t = 0; t < m_count; ++t)
            if (m_active[slot(r, t)]) owed[count++] = t;
        const RowSpan row = m_rows.row(r);
        std::uint32_t g = 0;
        for (; g + 8 <= count; g += 8)
            applyGroup<8>(row, r, owed + g);
        for (; g + 4 <= count; g += 4)
            applyGroup<4>(row, r, owed + g);
        for (; g < count; ++g)
            applyGroup<1>(row, r, owed + g);
    }

    // Column k, about to join the panel, with the updates every other row owes it, each in order.
    void catchUpColumn(std::uint32_t k) {
        const auto column = static_cast<std::int32_t>(k);
        for (std::uint32_t i = 0; i < m_touchedCount; ++i) {
            const std::uint32_t r = m_touched[i];
            if (m_current[r]) continue;
            const RowSpan row = m_rows.row(r);
            for (std::uint32_t t = 0; t < m_count; ++t)
                if (m_active[slot(r, t)] && column >= m_range[t].first && column <= m_range[t].last)
                    row.values[column - row.first] -= m_factors[slot(r, t)] * pivotRow(t)[k];
        }
    }

    Rows& m_rows;
    std::uint32_t m_n;
    std::uint32_t m_first = 0; // the panel's first pivot; its columns are m_first .. m_first + m_count - 1
    std::uint32_t m_count = 0;
    HeapArray<double> m_pivotRows;      // kPanel x n: each pivot row as it stood at its exchange
    HeapArray<double> m_factors;        // kPanel x n: the factor of each row at each exchange
    HeapArray<unsigned char> m_active;  // kPanel x n: the row took part (its pivot column element was not 0)
    HeapArray<unsigned char> m_current; // n: the panel's pivot rows, kept current
    HeapArray<unsigned char> m_listed;  // n: the row is in m_touched
    HeapArray<std::uint32_t> m_touched; // the rows that took part in the panel
    std::uint32_t m_touchedCount = 0;
    Range m_range[kPanel]; // each pivot row's columns
};

} // namespace geometry::matrices
