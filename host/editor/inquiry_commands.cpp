#include "host/editor/inquiry_commands.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "host/db/system_variables.h"
#include "host/editor/acut.h"
#include "host/editor/command_input.h"
#include "host/editor/point_sequence.h"
#include "host/entities/curve.h"
#include "host/filing/group.h"
#include "host/input/prompt_input.h"
#include "host/input/text_numbers.h"
#include "host/selection/ssget.h"

namespace host {

namespace {

// Degrees from 0 to 360 with AUPREC decimals (whole degrees by default).
std::wstring degrees(double radians) {
    return formatFixed(std::fmod(radians * 180 / std::numbers::pi + 360, 360), L"AUPREC", 0);
}

// An open curve's perimeter is its length, and the command line says so.
void reportArea(double area, double perimeter, bool closed = true) {
    setSessionVariable(L"AREA", {40, area});
    setSessionVariable(L"PERIMETER", {40, perimeter});
    printText(L"\nAire = " + formatLength(area) + (closed ? L", Périmètre = " : L", Longueur = ") +
              formatLength(perimeter));
}

// The area and length of the curve chosen.
void areaOfObject() {
    ads_name name;
    ads_point at;
    if (acedEntSel(L"\nChoix des objets: ", name, at) != RTNORM) return;
    AcDbObjectId id;
    AcDbCurve* curve = nullptr;
    if (acdbGetObjectId(id, name) != Acad::eOk || acdbOpenObject(curve, id, AcDb::kForRead) != Acad::eOk) {
        printText(L"\nL'objet choisi n'a pas d'aire.");
        return;
    }
    double area = 0, end = 0, length = 0;
    const bool measured = curve->getArea(area) == Acad::eOk && curve->getEndParam(end) == Acad::eOk &&
                          curve->getDistAtParam(end, length) == Acad::eOk;
    const bool closed = curve->isClosed();
    curve->close();
    if (measured)
        reportArea(std::fabs(area), length, closed);
    else
        printText(L"\nL'objet choisi n'a pas d'aire.");
}

// The area and perimeter of the polygon through the points, closed back to the first.
void reportPolygon(const std::vector<AcGePoint3d>& points) {
    double twiceArea = 0, perimeter = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const AcGePoint3d& a = points[i];
        const AcGePoint3d& b = points[(i + 1) % points.size()];
        twiceArea += a.x * b.y - b.x * a.y;
        perimeter += a.distanceTo(b);
    }
    reportArea(std::fabs(twiceArea) / 2, perimeter);
}

} // namespace

void idCommand() {
    const auto p = askUcsPoint(L"\nSpécifiez le point: ");
    if (!p) return;
    printText(L"\nX = " + formatLength(p->x) + L"     Y = " + formatLength(p->y) + L"     Z = " +
              formatLength(p->z));
}

void distCommand() {
    const auto a = askUcsPoint(L"\nSpécifiez le premier point: ");
    if (!a) return;
    const auto b = askUcsPoint(L"\nSpécifiez le deuxième point: ", a);
    if (!b) return;
    const AcGeVector3d d = *b - *a;
    const double distance = d.length();
    setSessionVariable(L"DISTANCE", {40, distance});
    const double rise = distance > 0 ? std::asin(d.z / distance) : 0;
    printText(L"\nDistance = " + formatLength(distance) + L",  Angle dans le plan XY = " +
              degrees(planAngle(*a, *b)) + L",  Angle par rapport au plan XY = " + degrees(rise) +
              L"\nDelta X = " + formatLength(d.x) + L",  Delta Y = " + formatLength(d.y) + L",  Delta Z = " +
              formatLength(d.z));
}

void areaCommand() {
    const PointAnswer first =
        askPointOr(L"\nSpécifiez le premier coin ou [Objet] <Objet>: ", L"Objet _ Object");
    if (first.kind == PointAnswer::Keyword || first.kind == PointAnswer::None) {
        areaOfObject();
        return;
    }
    if (first.kind != PointAnswer::Point) return;
    PointSequence sequence(first.point);
    for (;;) {
        const PointAnswer a = sequence.askNext(
            {L"\nSpécifiez le point suivant ou [annUler]: ", L"annUler _ Undo"},
            {L"\nSpécifiez le point suivant ou [annUler/Total] <Total>: ", L"annUler Total _ Undo Total"});
        if (a.kind == PointAnswer::Cancel) return;
        if (a.kind != PointAnswer::Point && a.keyword != L"Undo") break;
    }
    const std::vector<AcGePoint3d>& points = sequence.points();
    if (points.size() < 3) {
        printText(L"\nIl faut au moins trois points pour une aire.");
        return;
    }
    reportPolygon(points);
}

} // namespace host
