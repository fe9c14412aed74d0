#pragma once
// The line families of a hatch pattern and the dashes they draw inside a hatch's loops.
#include <array>
#include <cstddef>
#include <vector>

#include "host/ge/ge.h"

namespace host {

// One line family, in the hatch's plane with the pattern's angle and scale applied: the lines along `angle`
// through base + k * offset for every whole k, each drawn with `dashes` from that point (dashes positive,
// gaps negative, dots 0; none: a solid line).
struct PatternLine {
    double angle = 0;
    AcGePoint2d base;
    AcGeVector2d offset;
    std::vector<double> dashes;
};

// The family carried by a transform of the plane (points of the plane at z 0 to points at z 0) that scales
// its lengths by `scale`.
PatternLine transformed(const PatternLine& line, const AcGeMatrix3d& step, double scale);

using PatternSegment = std::array<AcGePoint2d, 2>;

// The dashes of the families inside the loops (closed outlines; a point is inside when the loops around it
// are odd in number), at most `limit` of them, so that a pattern far finer than its hatch costs no more.
// Dots, which have no length, are left out.
std::vector<PatternSegment> patternSegments(const std::vector<PatternLine>& lines,
                                            const std::vector<std::vector<AcGePoint2d>>& loops,
                                            std::size_t limit);

} // namespace host
