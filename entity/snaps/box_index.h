#pragma once
// A packed tree over boxes in plan, built once (sort-tile-recursive), answering which boxes meet a given
// one: what lets the intersections of two long polylines try only the segments that come near each other.
#include <cstdint>
#include <vector>

struct PlanBox {
    double xmin = 0;
    double ymin = 0;
    double xmax = 0;
    double ymax = 0;

    static PlanBox wholePlane();

    // Whether the two boxes share a point (touching counts).
    bool meets(const PlanBox& other) const {
        return xmin <= other.xmax && other.xmin <= xmax && ymin <= other.ymax && other.ymin <= ymax;
    }
    PlanBox& grow(double margin);
    PlanBox& take(const PlanBox& other);
    // A box that is not a number on some side is made to meet everything.
    PlanBox& wholePlaneUnlessFinite();
};

class BoxIndex {
public:
    explicit BoxIndex(const std::vector<PlanBox>& boxes);

    // The positions (in the vector given at construction) of the boxes that meet `box`, ascending.
    void meeting(const PlanBox& box, std::vector<std::uint32_t>& found) const;

private:
    struct Level {
        std::vector<PlanBox> boxes;
    };
    void search(std::size_t level, std::size_t node, const PlanBox& box,
                std::vector<std::uint32_t>& found) const;

    std::vector<std::uint32_t> m_order; // the boxes' positions in the order of the lowest level
    std::vector<Level> m_levels;        // lowest first; node k of a level covers entries k*fanout.. below
};
