#pragma once
// The first line of a ".MNT" grid, shared by the translation and the height grids:
// "lonmin lonmax latmin latmax lonstep latstep k1 k2 k3 k4" (degrees, then four integers).
#include <cmath>
#include <cstddef>
#include <string_view>

namespace geometry::projections {

// More nodes than this is not a grid of this system but a damaged header.
constexpr double kMaxGridNodes = 16e6;

struct MntHeader {
    double lonMin = 0, lonMax = 0, latMin = 0, latMax = 0;
    double lonStep = 0, latStep = 0;
    int k[4] = {};

    // False when a field is missing.
    bool read(std::string_view line);
    // Steps from 0.01 to 2 degrees, finite bounds.
    bool conforms() const;
};

// A node count along one axis, or -1 when it does not fit an int.
inline int nodeCount(double count) {
    return count >= 0 && count < kMaxGridNodes ? static_cast<int>(count) : -1;
}

// The cell index of a value, or -1 below 0, for NaN and beyond the int range.
inline int cellIndex(double position) {
    return position >= 0 && position < kMaxGridNodes ? static_cast<int>(position) : -1;
}

} // namespace geometry::projections
