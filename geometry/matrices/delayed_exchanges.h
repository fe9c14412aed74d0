#pragma once
// Gauss-Jordan exchange steps on the diagonal in order, a panel of them at a time. The panel's pivot columns
// are kept current, and each pivot row is made current when its turn comes; the rest of every row takes the
// panel's updates together when the panel is full, while the row is in cache, instead of the whole table
// being streamed once per step. Each
// element receives the same operations in the same order as with one exchange at a time, so the results are
// the same to the bit.
//
// Rows gives `RowSpan row(r)` and `bool cover(r, first, last)` (the row grown to hold those columns, false
// when it cannot grow).
#include "geometry/matrices/inversion_rules.h"
#include "geometry/matrices/profile_rows.h"
#include "geometry/matrices/row_updates.h"

#include <algorithm>
#include <cstdint>

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
        : m_rows(rows), m_n(n), m_pivotRows(heapArray<double>(std::size_t{kPanel} * n)),
          m_factors(heapArray<double>(std::size_t{kPanel} * n)),
          m_active(heapArray<unsigned char>(std::size_t{kPanel} * n)), m_listed(heapArray<unsigned char>(n)),
          m_touched(heapArray<std::uint32_t>(n)) {
        if (!allocated()) return;
        std::fill(m_active.get(), m_active.get() + std::size_t{kPanel} * n, 0);
        std::fill(m_listed.get(), m_listed.get() + n, 0);
    }

    // Scratch is taken from the heap like the matrices: on failure g_CalculState is -100.
    bool allocated() const { return m_pivotRows && m_factors && m_active && m_listed && m_touched; }

    // Row e with every pending update applied: its values may be read until the next exchange.
    void catchUpRow(std::uint32_t e) {
        applyPending<1>(&e);
        std::fill(m_active.get() + slot(e, 0), m_active.get() + slot(e, m_count), 0);
    }

    // The exchange at (k, k) over the rows of `reduced`; k is the diagonal after the last one exchanged.
    // False when a row cannot grow.
    bool exchange(std::uint32_t k, ColumnRange reduced) {
        catchUpRow(k);
        // Column k joins the panel: every other row's element in it made current, those of the reduced rows
        // as the loop below reads them.
        for (std::uint32_t i = 0; i < m_touchedCount; ++i)
            if (m_touched[i] < reduced.begin || m_touched[i] >= reduced.end) catchUpElement(m_touched[i], k);
        const RowSpan pivot = m_rows.row(k);
        const auto column = static_cast<std::int32_t>(k);
        const double h = 1 / pivot.at(column);
        const std::uint32_t t = m_count;
        double* snapshot = m_pivotRows.get() + std::size_t{t} * m_n;
        std::copy(pivot.values, pivot.values + (pivot.last - pivot.first + 1), snapshot + pivot.first);
        m_range[t] = {pivot.first, pivot.last};
        const auto panelFirst = static_cast<std::int32_t>(m_first);
        for (std::uint32_t r = reduced.begin; r < reduced.end; ++r) {
            if (r + kAhead < reduced.end) prefetchElement(r + kAhead, column);
            catchUpElement(r, k);
            const double a = m_rows.row(r).at(column);
            if (r == k || a == 0) continue;
            const double f = a * h;
            // The row takes the pivot row's whole range before any value is read through its pointer.
            if (!m_rows.cover(r, pivot.first, pivot.last)) return false;
            const RowSpan row = m_rows.row(r);
            subtract(row, f, snapshot, std::max(pivot.first, panelFirst), std::min(pivot.last, column) + 1);
            note(t, r, f);
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
        // Rows that owe the same exchanges go through them in pairs.
        std::uint32_t waiting = kNone;
        for (std::uint32_t i = 0; i < m_touchedCount; ++i) {
            const std::uint32_t r = m_touched[i];
            if (waiting == kNone) {
                waiting = r;
            } else if (std::equal(m_active.get() + slot(r, 0), m_active.get() + slot(r, m_count),
                                  m_active.get() + slot(waiting, 0))) {
                const std::uint32_t pair[2] = {waiting, r};
                applyPending<2>(pair);
                waiting = kNone;
            } else {
                applyPending<1>(&waiting);
                waiting = r;
            }
        }
        if (waiting != kNone) applyPending<1>(&waiting);
        for (std::uint32_t i = 0; i < m_touchedCount; ++i) {
            const std::uint32_t r = m_touched[i];
            std::fill(m_active.get() + slot(r, 0), m_active.get() + slot(r, m_count), 0);
            m_listed[r] = 0;
        }
        m_touchedCount = 0;
        m_first += m_count;
        m_count = 0;
    }

private:
    struct Range {
        std::int32_t first = 0;
        std::int32_t last = -1;
    };

    // row[j] -= f * pivot[j] for j in [begin, end).
    static void subtract(const RowSpan& row, double f, const double* pivot, std::int32_t begin,
                         std::int32_t end) {
        if (begin >= end) return;
        const double* source = pivot + begin;
        double* target = row.values + (begin - row.first);
        subtractRows<1>(&target, &source, &f, end - begin);
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

    // kGroup of the pending exchanges that kTargets rows owe alike, in order, over the columns they all reach
    // in one pass.
    template <int kGroup, int kTargets>
    void applyGroup(const RowSpan* rows, const std::uint32_t* ids, const std::uint32_t* owed) const {
        std::int32_t begin = m_range[owed[0]].first;
        std::int32_t end = m_range[owed[0]].last + 1;
        for (int g = 1; g < kGroup; ++g) {
            begin = std::max(begin, m_range[owed[g]].first);
            end = std::min(end, m_range[owed[g]].last + 1);
        }
        end = std::max(begin, end);
        double factors[kTargets * kGroup];
        for (int q = 0; q < kTargets; ++q)
            for (int g = 0; g < kGroup; ++g)
                factors[q * kGroup + g] = m_factors[slot(ids[q], owed[g])];
        // Columns outside the shared range take each exchange that reaches them, in order.
        for (int q = 0; q < kTargets; ++q)
            for (int g = 0; g < kGroup; ++g) {
                const Range reach = m_range[owed[g]];
                const double f = factors[q * kGroup + g];
                subtractOutsidePanel(rows[q], f, pivotRow(owed[g]), reach.first,
                                     std::min(reach.last + 1, begin));
                subtractOutsidePanel(rows[q], f, pivotRow(owed[g]), std::max(reach.first, end),
                                     reach.last + 1);
            }
        const auto shared = [&](std::int32_t from, std::int32_t to) {
            if (from >= to) return;
            const double* pivots[kGroup];
            for (int g = 0; g < kGroup; ++g)
                pivots[g] = pivotRow(owed[g]) + from;
            double* targets[kTargets];
            for (int q = 0; q < kTargets; ++q)
                targets[q] = rows[q].values + (from - rows[q].first);
            subtractRows<kGroup, kTargets>(targets, pivots, factors, to - from);
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

    // The updates that kTargets rows owing the same exchanges still owe, outside the panel's columns, which
    // are current: several exchanges at a time, then one by one.
    template <int kTargets> void applyPending(const std::uint32_t* ids) {
        constexpr int kWide = kTargets == 1 ? 8 : 4; // as many as the registers hold
        std::uint32_t owed[kPanel];
        std::uint32_t count = 0;
        for (std::uint32_t t = 0; t < m_count; ++t)
            if (m_active[slot(ids[0], t)]) owed[count++] = t;
        RowSpan rows[kTargets];
        for (int q = 0; q < kTargets; ++q)
            rows[q] = m_rows.row(ids[q]);
        std::uint32_t g = 0;
        for (; g + kWide <= count; g += kWide)
            applyGroup<kWide, kTargets>(rows, ids, owed + g);
        for (; g + 4 <= count; g += 4)
            applyGroup<4, kTargets>(rows, ids, owed + g);
        for (; g < count; ++g)
            applyGroup<1, kTargets>(rows, ids, owed + g);
    }

    // Each row is a block of its own, so that walking down a column is out of the hardware prefetcher's
    // sight: the element kAhead rows down is asked for while this one is worked on.
    static constexpr std::uint32_t kAhead = 8;
    void prefetchElement(std::uint32_t r, std::int32_t column) const {
        const RowSpan row = m_rows.row(r);
        if (column >= row.first && column <= row.last)
            __builtin_prefetch(row.values + (column - row.first), 1);
    }

    // Element (r, k) with the updates it owes, in order.
    void catchUpElement(std::uint32_t r, std::uint32_t k) {
        if (!m_listed[r]) return;
        const auto column = static_cast<std::int32_t>(k);
        const RowSpan row = m_rows.row(r);
        // Every exchange the row took part in grew it over the pivot row's columns: one that does not reach
        // column k owes it nothing.
        if (column < row.first || column > row.last) return;
        // Summed in a register: for all the compiler knows, the tables might overlap the element.
        double x = row.values[column - row.first];
        for (std::uint32_t t = 0; t < m_count; ++t)
            if (m_active[slot(r, t)] && column >= m_range[t].first && column <= m_range[t].last)
                x -= m_factors[slot(r, t)] * pivotRow(t)[k];
        row.values[column - row.first] = x;
    }

    Rows& m_rows;
    std::uint32_t m_n;
    std::uint32_t m_first = 0; // the panel's first pivot; its columns are m_first .. m_first + m_count - 1
    std::uint32_t m_count = 0;
    HeapArray<double> m_pivotRows;      // kPanel x n: each pivot row as it stood at its exchange
    HeapArray<double> m_factors;        // n x kPanel: the factor of each row at each exchange
    HeapArray<unsigned char> m_active;  // n x kPanel: the row took part (its pivot column element was not 0)
    HeapArray<unsigned char> m_listed;  // n: the row is in m_touched
    HeapArray<std::uint32_t> m_touched; // the rows that took part in the panel
    std::uint32_t m_touchedCount = 0;
    Range m_range[kPanel]; // each pivot row's columns
};

} // namespace geometry::matrices
