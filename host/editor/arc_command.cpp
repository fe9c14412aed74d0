#include "host/editor/arc_command.h"

#include <cmath>
#include <optional>
#include <utility>

#include "host/editor/arc_construction.h"
#include "host/editor/command_input.h"
#include "host/editor/ucs.h"
#include "host/entities/circle_arc.h"
#include "host/entities/curve.h"
#include "host/input/prompt_input.h"
#include "host/lisp/entity_lists.h"

namespace host {

namespace {

// The arc as an entity, which always turns counter-clockwise.
void addArc(const std::optional<SweptArc>& arc) {
    if (!arc) return;
    const bool clockwise = arc->included < 0;
    const AcGePoint3d& from = clockwise ? arc->end : arc->start;
    const AcGePoint3d& to = clockwise ? arc->start : arc->end;
    appendFromUcs(new AcDbArc(arc->centre, AcGeVector3d(0, 0, 1), arc->centre.distanceTo(arc->start),
                              planAngle(arc->centre, from), planAngle(arc->centre, to)));
}

void arcFromStartAndCentre(const AcGePoint3d& start, const AcGePoint3d& centre) {
    const PointAnswer a = askPointOr(L"\nSpécifiez l'extrémité de l'arc ou [Angle/Longueur de corde]: ",
                                     L"Angle Longueur _ Angle Length", centre);
    if (a.kind == PointAnswer::Point) {
        addArc(arcAroundTo(centre, start, a.point));
    } else if (a.kind == PointAnswer::Keyword && a.keyword == L"Angle") {
        if (const auto included = askAngle(L"\nSpécifiez l'angle décrit: ", centre))
            addArc(arcTurning(centre, start, *included));
    } else if (a.kind == PointAnswer::Keyword) {
        const auto chord = askDistance(L"\nSpécifiez la longueur de la corde: ", start);
        if (!chord) return;
        if (const auto included = spannedAngle(std::fabs(*chord), centre.distanceTo(start), *chord < 0))
            addArc(arcTurning(centre, start, *included));
    }
}

void arcFromStartAndEnd(const AcGePoint3d& start, const AcGePoint3d& end) {
    const PointAnswer a = askPointOr(L"\nSpécifiez le centre de l'arc ou [Angle/Direction/Rayon]: ",
                                     L"Angle Direction Rayon _ Angle Direction Radius", end);
    if (a.kind == PointAnswer::Point) {
        addArc(arcAroundTo(a.point, start, end));
    } else if (a.kind == PointAnswer::Keyword && a.keyword == L"Angle") {
        if (const auto included = askAngle(L"\nSpécifiez l'angle décrit: ", start))
            addArc(arcBetween(start, end, *included));
    } else if (a.kind == PointAnswer::Keyword && a.keyword == L"Direction") {
        if (const auto tangent =
                askAngle(L"\nSpécifiez la direction de la tangente au point de départ de l'arc: ", start))
            addArc(arcTangent(start, end, *tangent));
    } else if (a.kind == PointAnswer::Keyword) {
        const auto radius = askDistance(L"\nSpécifiez le rayon de l'arc: ", end);
        if (!radius) return;
        if (const auto included = spannedAngle(start.distanceTo(end), std::fabs(*radius), *radius < 0))
            addArc(arcBetween(start, end, *included));
    }
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
        addArc(arcTangent(from->first, *end, from->second));
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
            addArc(arcThroughPoints(first.point, second.point, *end));
    }
}

} // namespace host
