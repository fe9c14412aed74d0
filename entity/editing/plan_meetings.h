#pragma once
// Which later vertex of a list meets a given one in plan (both coordinates within a tolerance), without
// comparing every pair: the vertices are sorted by the cell of a grid twice the tolerance wide, then by their
// position in the list, so that one question reads the nine cells around the vertex and stops in each at the
// first position that meets it.
#include <cstdint>
#include <vector>

class P_Vertex;

class PlanMeetings {
public:
    PlanMeetings(const std::vector<P_Vertex*>& nodes, double tolerance);

    // The first position from `from` on whose vertex meets the one at position `at`; -1 when none does.
    int firstFrom(int at, int from) const;

private:
    struct Plan {
        double x;
        double y;
    };
    struct Entry {
        std::int64_t cellX;
        std::int64_t cellY;
        int position;
    };
    static bool before(const Entry& a, const Entry& b);
    Entry entryOf(int position) const;
    bool meet(int a, int b) const;
    // The first position from `from` on in one cell whose vertex meets `at`, or -1.
    int firstInCell(std::int64_t cellX, std::int64_t cellY, int at, int from) const;

    double m_tolerance;
    double m_cellWidth;
    Plan m_origin{};
    std::vector<Plan> m_points; // by position
    std::vector<Entry> m_sorted;
};
