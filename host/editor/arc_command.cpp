#include "host/editor/arc_command.h"

#include <cmath>
#include <numbers>
#include <optional>
#include <utility>

#include "host/editor/command_input.h"
#include "host/editor/ucs.h"
#include "host/entities/circle_arc.h"
#include "host/entities/curve.h"
#include "host/input/prompt_input.h"
#include "host/lisp/entity_lists.h"

namespace host {

namespace {

constexpr double kFullTurn = 2 * std::numbers::pi;

// The arc of centre `c` from `start` counter-clockwise to the direction of `end`.
void addArc(const AcGePoint3d& c, const AcGePoint3d& start, const AcGePoint3d& end) {
    const double radius = c.distanceTo(start);
    if (radius <= 0) {
        printText(L"\nLe rayon doit être positif.");
        return;
    }
    appendFromUcs(new AcDbArc(c, AcGeVector3d(0, 0, 1), radius, planAngle(c, start), planAngle(c, end)));
}

bool turnsLessThanWhole(double included) {
    if (included != 0 && std::fabs(included) < kFullTurn) return true;
    printText(L"\nL'angle décrit doit être non nul et inférieur à 360 degrés.");
    return false;
}

// A point of the plane turned a quarter counter-clockwise.
AcGeVector3d leftOf(const AcGeVector3d& v) {
    return AcGeVector3d(-v.y, v.x, 0);
}

// The arc of centre `c` from `start` through `included` radians, clockwise when negative.
void addArcTurning(const AcGePoint3d& c, const AcGePoint3d& start, double included) {
    if (!turnsLessThanWhole(included)) return;
    const AcGeVector3d radial = start - c;
    const AcGePoint3d end = c + radial * std::cos(included) + leftOf(radial) * std::sin(included);
    if (included > 0)
        addArc(c, start, end);
    else
        addArc(c, end, start);
}

// The arc from `start` to `end` through `included` radians, clockwise when negative.
void addArcBetween(AcGePoint3d start, AcGePoint3d end, double included) {
    if (!turnsLessThanWhole(included)) return;
    if (included < 0) {
        std::swap(start, end);
        included = -included;
    }
    const AcGeVector3d chord = end - start;
    const double length = chord.length();
    if (length <= 0) {
        printText(L"\nLes extrémités de l'arc sont confondues.");
        return;
    }
    const AcGePoint3d middle = start + chord / 2;
    addArc(middle + leftOf(chord) / length * (length / 2 / std::tan(included / 2)), start, end);
}

// The angle an arc of radius `radius` spans over a chord of `chord`: the smaller arc when `larger` is false.
std::optional<double> spannedAngle(double chord, double radius, bool larger) {
    if (chord <= 0 || chord > 2 * radius) {
        printText(L"\nLa corde doit être non nulle et ne pas dépasser le diamètre.");
        return std::nullopt;
    }
    const double smaller = 2 * std::asin(std::min(1.0, chord / (2 * radius)));
    return larger ? kFullTurn - smaller : smaller;
}

// The arc leaving `start` along the direction `tangent` (radians) and ending at `end`.
void addArcTangent(const AcGePoint3d& start, const AcGePoint3d& end, double tangent) {
    const AcGeVector3d normal(-std::sin(tangent), std::cos(tangent), 0);
    const AcGeVector3d toEnd = end - start;
    const double across = toEnd.dotProduct(normal);
    if (std::fabs(across) <= 1e-12 * toEnd.length()) {
        printText(L"\nL'extrémité est sur la tangente: aucun arc ne passe par elle.");
        return;
    }
    const AcGePoint3d centre = start + normal * (toEnd.dotProduct(toEnd) / (2 * across));
    if (across > 0)
        addArc(centre, start, end);
    else
        addArc(centre, end, start);
}

void arcFromStartAndCentre(const AcGePoint3d& start, const AcGePoint3d& centre) {
    const PointAnswer a = askPointOr(L"\nSpécifiez l'extrémité de l'arc ou [Angle/Longueur de corde]: ",
                                     L"Angle Longueur _ Angle Length", centre);
    if (a.kind == PointAnswer::Point) {
        addArc(centre, start, a.point);
    } else if (a.kind == PointAnswer::Keyword && a.keyword == L"Angle") {
        if (const auto included = askAngle(L"\nSpécifiez l'angle décrit: ", centre))
            addArcTurning(centre, start, *included);
    } else if (a.kind == PointAnswer::Keyword) {
        const auto chord = askDistance(L"\nSpécifiez la longueur de la corde: ", start);
        if (!chord) return;
        if (const auto included = spannedAngle(std::fabs(*chord), centre.distanceTo(start), *chord < 0))
            addArcTurning(centre, start, *included);
    }
}

void arcFromStartAndEnd(const AcGePoint3d& start, const AcGePoint3d& end) {
    const PointAnswer a = askPointOr(L"\nSpécifiez le centre de l'arc ou [Angle/Direction/Rayon]: ",
                                     L"Angle Direction Rayon _ Angle Direction Radius", end);
    if (a.kind == PointAnswer::Point) {
        addArc(a.point, start, end);
    } else if (a.kind == PointAnswer::Keyword && a.keyword == L"Angle") {
        if (const auto included = askAngle(L"\nSpécifiez l'angle décrit: ", start))
            addArcBetween(start, end, *included);
    } else if (a.kind == PointAnswer::Keyword && a.keyword == L"Direction") {
        if (const auto tangent =
                askAngle(L"\nSpécifiez la direction de la tangente au point de départ de l'arc: ", start))
            addArcTangent(start, end, *tangent);
    } else if (a.kind == PointAnswer::Keyword) {
        const auto radius = askDistance(L"\nSpécifiez le rayon de l'arc: ", end);
        if (!radius) return;
        if (const auto included = spannedAngle(start.distanceTo(end), std::fabs(*radius), *radius < 0))
            addArcBetween(start, end, *included);
    }
}

// The arc through three points, counter-clockwise from the first unless they turn clockwise.
void arcThrough(const AcGePoint3d& first, const AcGePoint3d& second, const AcGePoint3d& end) {
    const auto centre = circleCentre(first, second, end);
    if (!centre) {
        printText(L"\nLes trois points sont alignés: aucun arc ne passe par eux.");
        return;
    }
    const bool clockwise =
        (second.x - first.x) * (end.y - second.y) - (second.y - first.y) * (end.x - second.x) < 0;
    if (clockwise)
        addArc(*centre, end, first);
    else
        addArc(*centre, first, end);
}

// Where the drawing's last entity ends, when it is an open curve, and its direction there, in user
// coordinates.
std::optional<std::pair<AcGePoint3d, double>> lastCurveEnd() {
    ads_name last;
    AcDbObjectId id;
    AcDbCurve* curve = nullptr;
    if (acdbEntLast(last) != RTNORM || acdbGetObjectId(id, last) != Acad::eOk ||
        acdbOpenObject(curve, id, AcDb::kForRead) != Acad::eOk)
        return std::nullopt;
    double param = 0;
    AcGePoint3d end;
    AcGeVector3d along;
    const bool found = !curve->isClosed() && curve->getEndParam(param) == Acad::eOk &&
                       curve->getEndPoint(end) == Acad::eOk &&
                       curve->getFirstDeriv(param, along) == Acad::eOk && !along.isZeroLength();
    curve->close();
    if (!found) return std::nullopt;
    const AcGePoint3d start = worldToUcs(end);
    return std::pair(start, planAngle(start, worldToUcs(end + along)));
}

// Enter at the start: the arc goes on from the end of the last line, arc or polyline, tangent to it.
void arcContinued() {
    const auto from = lastCurveEnd();
    if (!from) {
        printText(L"\nAucune ligne ni aucun arc à prolonger.");
        return;
    }
    if (const auto end = askUcsPoint(L"\nSpécifiez l'extrémité de l'arc: ", from->first))
        addArcTangent(from->first, *end, from->second);
}

} // namespace

void arcCommand() {
    const PointAnswer first =
        askPointOr(L"\nSpécifiez le point de départ de l'arc ou [CEntre]: ", L"CEntre _ Center");
    if (first.kind == PointAnswer::None) {
        arcContinued();
        return;
    }
    if (first.kind == PointAnswer::Keyword) {
        const auto centre = askUcsPoint(L"\nSpécifiez le centre de l'arc: ");
        if (!centre) return;
        if (const auto start = askUcsPoint(L"\nSpécifiez le point de départ de l'arc: ", centre))
            arcFromStartAndCentre(*start, *centre);
        return;
    }
    if (first.kind != PointAnswer::Point) return;
    const PointAnswer second = askPointOr(L"\nSpécifiez le deuxième point de l'arc ou [CEntre/FIn]: ",
                                          L"CEntre FIn _ Center End", first.point);
    if (second.kind == PointAnswer::Keyword && second.keyword == L"Center") {
        if (const auto centre = askUcsPoint(L"\nSpécifiez le centre de l'arc: ", first.point))
            arcFromStartAndCentre(first.point, *centre);
    } else if (second.kind == PointAnswer::Keyword) {
        if (const auto end = askUcsPoint(L"\nSpécifiez l'extrémité de l'arc: ", first.point))
            arcFromStartAndEnd(first.point, *end);
    } else if (second.kind == PointAnswer::Point) {
        if (const auto end = askUcsPoint(L"\nSpécifiez l'extrémité de l'arc: ", second.point))
            arcThrough(first.point, second.point, *end);
    }
}

} // namespace host
