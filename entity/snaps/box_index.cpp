#include "entity/snaps/box_index.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

constexpr std::size_t kFanout = 16;

double centreX(const PlanBox& b) {
    const double c = (b.xmin + b.xmax) / 2;
    return std::isfinite(c) ? c : 0;
}

double centreY(const PlanBox& b) {
    const double c = (b.ymin + b.ymax) / 2;
    return std::isfinite(c) ? c : 0;
}

// Reorders `entries` so that runs of kFanout make compact tiles: vertical slices by x, each slice by y.
void tile(std::vector<std::uint32_t>& entries, const std::vector<PlanBox>& boxes) {
    const auto byX = [&](std::uint32_t a, std::uint32_t b) { return centreX(boxes[a]) < centreX(boxes[b]); };
    const auto byY = [&](std::uint32_t a, std::uint32_t b) { return centreY(boxes[a]) < centreY(boxes[b]); };
    std::sort(entries.begin(), entries.end(), byX);
    const std::size_t nodes = (entries.size() + kFanout - 1) / kFanout;
    const auto slices = static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(nodes))));
    const std::size_t perSlice = slices * kFanout;
    for (std::size_t begin = 0; begin < entries.size(); begin += perSlice) {
        const auto first = entries.begin() + static_cast<std::ptrdiff_t>(begin);
        std::sort(first, first + static_cast<std::ptrdiff_t>(std::min(perSlice, entries.size() - begin)),
                  byY);
    }
}

// The boxes of the nodes over `entries`, kFanout entries a node.
std::vector<PlanBox> parents(const std::vector<PlanBox>& entries) {
    std::vector<PlanBox> nodes;
    for (std::size_t begin = 0; begin < entries.size(); begin += kFanout) {
        PlanBox box = entries[begin];
        for (std::size_t k = begin + 1; k < std::min(begin + kFanout, entries.size()); ++k)
            box.take(entries[k]);
        nodes.push_back(box);
    }
    return nodes;
}

} // namespace

PlanBox PlanBox::wholePlane() {
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    return {-kInfinity, -kInfinity, kInfinity, kInfinity};
}

PlanBox& PlanBox::grow(double margin) {
    xmin -= margin;
    ymin -= margin;
    xmax += margin;
    ymax += margin;
    return *this;
}

PlanBox& PlanBox::take(const PlanBox& other) {
    xmin = std::min(xmin, other.xmin);
    ymin = std::min(ymin, other.ymin);
    xmax = std::max(xmax, other.xmax);
    ymax = std::max(ymax, other.ymax);
    return *this;
}

PlanBox& PlanBox::wholePlaneUnlessFinite() {
    if (!(std::isfinite(xmin) && std::isfinite(ymin) && std::isfinite(xmax) && std::isfinite(ymax)))
        *this = wholePlane();
    return *this;
}

BoxIndex::BoxIndex(const std::vector<PlanBox>& boxes) : m_order(boxes.size()) {
    std::iota(m_order.begin(), m_order.end(), 0u);
    tile(m_order, boxes);
    Level leaves;
    leaves.boxes.reserve(boxes.size());
    for (const std::uint32_t k : m_order)
        leaves.boxes.push_back(boxes[k]);
    m_levels.push_back(std::move(leaves));
    // Upper levels keep the order of the one below: its tiles are already compact.
    while (m_levels.back().boxes.size() > 1)
        m_levels.push_back({parents(m_levels.back().boxes)});
}

void BoxIndex::meeting(const PlanBox& box, std::vector<std::uint32_t>& found) const {
    found.clear();
    if (m_order.empty()) return;
    search(m_levels.size() - 1, 0, box, found);
    std::sort(found.begin(), found.end());
}

void BoxIndex::search(std::size_t level, std::size_t node, const PlanBox& box,
                      std::vector<std::uint32_t>& found) const {
    if (!m_levels[level].boxes[node].meets(box)) return;
    if (level == 0) {
        found.push_back(m_order[node]);
        return;
    }
    const std::size_t end = std::min((node + 1) * kFanout, m_levels[level - 1].boxes.size());
    for (std::size_t child = node * kFanout; child < end; ++child)
        search(level - 1, child, box, found);
}
