#include "entity/editing/plan_meetings.h"

#include "geometry/points/vertex.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Cells far beyond any survey are merged: neighbours stay neighbours, and no cell number overflows.
constexpr double kFarthestCell = 4503599627370496.0; // 2^52

struct Entry {
    std::int64_t cellX;
    std::int64_t cellY;
    int position;
};

// A cell's entries: [begin, end) of the sorted entries.
struct Run {
    std::int64_t cellX;
    std::int64_t cellY;
    int begin;
    int end;
};

std::int64_t cellOf(double offset, double width) {
    double q = std::floor(offset / width);
    if (!(q > -kFarthestCell)) q = -kFarthestCell; // NaN included: such a point meets nothing anyway
    if (q > kFarthestCell) q = kFarthestCell;
    return static_cast<std::int64_t>(q);
}

class Sweep {
public:
    Sweep(const std::vector<P_Vertex*>& nodes, double tolerance, int gap)
        : m_tolerance(tolerance), m_gap(gap), m_first(nodes.size(), -1) {
        // Twice the tolerance: vertices that meet lie in the same or in neighbouring cells, rounding
        // included.
        const double width = tolerance > 0 ? 2 * tolerance : 1.0;
        m_points.reserve(nodes.size());
        m_sorted.reserve(nodes.size());
        // Offsets from the first vertex keep survey coordinates from losing their decimals in the division.
        const CPoint3d origin = nodes.empty() ? CPoint3d() : CPoint3d(nodes.front()->pt);
        for (const P_Vertex* v : nodes) {
            const CPoint3d p = v->pt;
            m_sorted.push_back({cellOf(p.x - origin.x, width), cellOf(p.y - origin.y, width),
                                static_cast<int>(m_points.size())});
            m_points.push_back(p);
        }
        std::sort(m_sorted.begin(), m_sorted.end(), [](const Entry& a, const Entry& b) {
            if (a.cellX != b.cellX) return a.cellX < b.cellX;
            if (a.cellY != b.cellY) return a.cellY < b.cellY;
            return a.position < b.position;
        });
        for (int begin = 0; begin < static_cast<int>(m_sorted.size());) {
            int end = begin + 1;
            while (end < static_cast<int>(m_sorted.size()) && m_sorted[end].cellX == m_sorted[begin].cellX &&
                   m_sorted[end].cellY == m_sorted[begin].cellY)
                ++end;
            m_runs.push_back({m_sorted[begin].cellX, m_sorted[begin].cellY, begin, end});
            begin = end;
        }
    }

    std::vector<int> run() {
        // Runs are in column order, and by row within a column. For the column before, the same and the one
        // after, a cursor rises with the row: each run is reached from its neighbours in one pass.
        std::size_t columns[3] = {0, 0, 0};
        for (const Run& cell : m_runs)
            for (int dx = -1; dx <= 1; ++dx) {
                std::size_t& cursor = columns[dx + 1];
                const std::int64_t column = cell.cellX + dx;
                while (cursor < m_runs.size() &&
                       (m_runs[cursor].cellX < column ||
                        (m_runs[cursor].cellX == column && m_runs[cursor].cellY < cell.cellY - 1)))
                    ++cursor;
                for (std::size_t n = cursor;
                     n < m_runs.size() && m_runs[n].cellX == column && m_runs[n].cellY <= cell.cellY + 1; ++n)
                    pair(cell, m_runs[n]);
            }
        return std::move(m_first);
    }

private:
    bool meet(int a, int b) const { return m_points[a].isEq2dTol(m_points[b], m_tolerance); }

    // For each vertex of `cell`, the first vertex of `other` far enough on in the list that meets it.
    void pair(const Run& cell, const Run& other) {
        int from = other.begin; // rises with the positions of `cell`
        for (int i = cell.begin; i < cell.end; ++i) {
            const int at = m_sorted[i].position;
            while (from < other.end && m_sorted[from].position < at + m_gap)
                ++from;
            int& first = m_first[at];
            for (int j = from; j < other.end; ++j) {
                const int candidate = m_sorted[j].position;
                if (first >= 0 && candidate >= first) break;
                if (meet(at, candidate)) {
                    first = candidate;
                    break;
                }
            }
        }
    }

    double m_tolerance;
    int m_gap;
    std::vector<CPoint3d> m_points; // by position
    std::vector<Entry> m_sorted;
    std::vector<Run> m_runs;
    std::vector<int> m_first;
};

} // namespace

std::vector<int> firstLaterMeetings(const std::vector<P_Vertex*>& nodes, double tolerance, int gap) {
    return Sweep(nodes, tolerance, gap).run();
}
