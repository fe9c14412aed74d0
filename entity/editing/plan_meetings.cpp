#include "entity/editing/plan_meetings.h"

#include "geometry/points/vertex.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

// Cells far beyond any survey are merged: neighbours stay neighbours, and a cell + 1 cannot overflow.
constexpr double kFarthestCell = 4503599627370496.0; // 2^52

std::int64_t cellOf(double offset, double width) {
    double q = std::floor(offset / width);
    if (!(q > -kFarthestCell)) q = -kFarthestCell; // NaN included: such a point meets nothing anyway
    if (q > kFarthestCell) q = kFarthestCell;
    return static_cast<std::int64_t>(q);
}

} // namespace

PlanMeetings::PlanMeetings(const std::vector<P_Vertex*>& nodes, double tolerance)
    : m_tolerance(tolerance),
      // Twice the tolerance: points that meet lie in the same or in neighbouring cells, rounding included.
      m_cellWidth(tolerance > 0 ? 2 * tolerance : 1.0) {
    m_points.reserve(nodes.size());
    for (const P_Vertex* v : nodes) {
        const CPoint3d p = v->pt;
        m_points.push_back({p.x, p.y});
    }
    // Offsets from the first point keep survey coordinates from losing their decimals in the division.
    if (!m_points.empty()) m_origin = m_points.front();
    m_sorted.reserve(nodes.size());
    for (int i = 0; i < static_cast<int>(m_points.size()); ++i)
        m_sorted.push_back(entryOf(i));
    std::sort(m_sorted.begin(), m_sorted.end(), before);
}

bool PlanMeetings::before(const Entry& a, const Entry& b) {
    return std::tie(a.cellX, a.cellY, a.position) < std::tie(b.cellX, b.cellY, b.position);
}

PlanMeetings::Entry PlanMeetings::entryOf(int position) const {
    const Plan& p = m_points[position];
    return {cellOf(p.x - m_origin.x, m_cellWidth), cellOf(p.y - m_origin.y, m_cellWidth), position};
}

bool PlanMeetings::meet(int a, int b) const {
    return std::fabs(m_points[a].x - m_points[b].x) <= m_tolerance &&
           std::fabs(m_points[a].y - m_points[b].y) <= m_tolerance;
}

int PlanMeetings::firstInCell(std::int64_t cellX, std::int64_t cellY, int at, int from) const {
    for (auto e = std::lower_bound(m_sorted.begin(), m_sorted.end(), Entry{cellX, cellY, from}, before);
         e != m_sorted.end() && e->cellX == cellX && e->cellY == cellY; ++e)
        if (meet(at, e->position)) return e->position;
    return -1;
}

int PlanMeetings::firstFrom(int at, int from) const {
    if (from >= static_cast<int>(m_points.size())) return -1;
    const Entry own = entryOf(at);
    int first = -1;
    for (std::int64_t dx = -1; dx <= 1; ++dx)
        for (std::int64_t dy = -1; dy <= 1; ++dy) {
            const int found = firstInCell(own.cellX + dx, own.cellY + dy, at, from);
            if (found >= 0 && (first < 0 || found < first)) first = found;
        }
    return first;
}
