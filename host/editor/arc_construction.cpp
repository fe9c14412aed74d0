#include "host/editor/arc_construction.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/editor/command_input.h"
#include "host/ge/curve_geometry.h"
#include "host/input/prompt_input.h"

namespace host {

namespace {

constexpr double kFullTurn = 2 * std::numbers::pi;

std::optional<SweptArc> arcOf(const AcGePoint3d& centre, const AcGePoint3d& start, const AcGePoint3d& end,
                              double included) {
    if (centre.distanceTo(start) <= 0) {
        printText(L"\nLe rayon doit être positif.");
        return std::nullopt;
    }
    return SweptArc{centre, start, end, included};
}

// The sweep from `start` to `end` around `centre`, counter-clockwise or clockwise (negative).
double sweepAround(const AcGePoint3d& centre, const AcGePoint3d& start, const AcGePoint3d& end,
                   bool counterClockwise) {
    return counterClockwise ? sweepAngle(planAngle(centre, start), planAngle(centre, end))
                            : -sweepAngle(planAngle(centre, end), planAngle(centre, start));
}

bool turnsLessThanWhole(double included) {
    if (included != 0 && std::fabs(included) < kFullTurn) return true;
    printText(L"\nL'angle décrit doit être non nul et inférieur à 360 degrés.");
    return false;
}

// A vector of the plane turned a quarter counter-clockwise.
AcGeVector3d leftOf(const AcGeVector3d& v) {
    return AcGeVector3d(-v.y, v.x, 0);
}

} // namespace

std::optional<SweptArc> arcAroundTo(const AcGePoint3d& centre, const AcGePoint3d& start,
                                    const AcGePoint3d& towards) {
    const double radius = centre.distanceTo(start), angle = planAngle(centre, towards);
    const AcGePoint3d end = centre + AcGeVector3d(std::cos(angle), std::sin(angle), 0) * radius;
    return arcOf(centre, start, end, sweepAngle(planAngle(centre, start), angle));
}

std::optional<SweptArc> arcTurning(const AcGePoint3d& centre, const AcGePoint3d& start, double included) {
    if (!turnsLessThanWhole(included)) return std::nullopt;
    const AcGeVector3d radial = start - centre;
    return arcOf(centre, start, centre + radial * std::cos(included) + leftOf(radial) * std::sin(included),
                 included);
}

std::optional<SweptArc> arcBetween(const AcGePoint3d& start, const AcGePoint3d& end, double included) {
    if (!turnsLessThanWhole(included)) return std::nullopt;
    const AcGeVector3d chord = end - start;
    const double length = chord.length();
    if (length <= 0) {
        printText(L"\nLes extrémités de l'arc sont confondues.");
        return std::nullopt;
    }
    // The centre lies left of the chord for a counter-clockwise arc, right of it for a clockwise one.
    const AcGePoint3d middle = start + chord / 2;
    return arcOf(middle + leftOf(chord) / length * (length / 2 / std::tan(included / 2)), start, end,
                 included);
}

std::optional<SweptArc> arcTangent(const AcGePoint3d& start, const AcGePoint3d& end, double tangent) {
    const AcGeVector3d normal(-std::sin(tangent), std::cos(tangent), 0);
    const AcGeVector3d toEnd = end - start;
    const double across = toEnd.dotProduct(normal);
    if (std::fabs(across) <= 1e-12 * toEnd.length()) {
        printText(L"\nL'extrémité est sur la tangente: aucun arc ne passe par elle.");
        return std::nullopt;
    }
    const AcGePoint3d centre = start + normal * (toEnd.dotProduct(toEnd) / (2 * across));
    return arcOf(centre, start, end, sweepAround(centre, start, end, across > 0));
}

std::optional<SweptArc> arcThroughPoints(const AcGePoint3d& first, const AcGePoint3d& second,
                                         const AcGePoint3d& end) {
    const auto centre = circleCentre(first, second, end);
    if (!centre) {
        printText(L"\nLes trois points sont alignés: aucun arc ne passe par eux.");
        return std::nullopt;
    }
    const bool counterClockwise =
        (second.x - first.x) * (end.y - second.y) - (second.y - first.y) * (end.x - second.x) > 0;
    return arcOf(*centre, first, end, sweepAround(*centre, first, end, counterClockwise));
}

std::optional<double> spannedAngle(double chord, double radius, bool larger) {
    if (chord <= 0 || chord > 2 * radius) {
        printText(L"\nLa corde doit être non nulle et ne pas dépasser le diamètre.");
        return std::nullopt;
    }
    const double smaller = 2 * std::asin(std::min(1.0, chord / (2 * radius)));
    return larger ? kFullTurn - smaller : smaller;
}

} // namespace host
