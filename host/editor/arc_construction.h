#pragma once
// The ways a CAD program builds a circular arc from what the user gives (a centre and a start, a start and an
// end with an included angle, a tangent, a radius or a chord), shared by ARC and PLINE's arcs. Each prints
// why no arc fits and gives nothing when the answers admit none.
#include <optional>

#include "host/ge/ge.h"

namespace host {

// An arc in the plane: from `start` around `centre` through `included` radians (clockwise when negative)
// to `end`.
struct SweptArc {
    AcGePoint3d centre, start, end;
    double included = 0;
};

// From `start` counter-clockwise around `centre` to the direction of `towards`.
std::optional<SweptArc> arcAroundTo(const AcGePoint3d& centre, const AcGePoint3d& start,
                                    const AcGePoint3d& towards);
// From `start` around `centre` through `included` radians.
std::optional<SweptArc> arcTurning(const AcGePoint3d& centre, const AcGePoint3d& start, double included);
// From `start` to `end` through `included` radians.
std::optional<SweptArc> arcBetween(const AcGePoint3d& start, const AcGePoint3d& end, double included);
// Leaving `start` along the direction `tangent` (radians) and ending at `end`.
std::optional<SweptArc> arcTangent(const AcGePoint3d& start, const AcGePoint3d& end, double tangent);
// Through three points, counter-clockwise from the first unless they turn clockwise.
std::optional<SweptArc> arcThroughPoints(const AcGePoint3d& first, const AcGePoint3d& second,
                                         const AcGePoint3d& end);
// The angle an arc of `radius` spans over a chord of `chord`: the smaller arc unless `larger`.
std::optional<double> spannedAngle(double chord, double radius, bool larger);

} // namespace host
