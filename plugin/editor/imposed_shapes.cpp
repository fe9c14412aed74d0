// Imposed shapes: the digitised vertices become a circle by its centre, a circle through three points, a
// rectangle by three points or a box along the UCS X axis.
#include <algorithm>
#include <cmath>
#include <cwchar>

#include "cadutil/database/host_variables.h"
#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_units.h"
#include "plugin/editor/editor_prompts.h"
#include "plugin/editor/qpoly_edit.h"
#include "plugin/editor/segment_jig.h"
#include "plugin/editor/shape_memory.h"

namespace {

constexpr double kNoTangent = SegmentJig::kNoTangent;
constexpr double kLargestRadius = 1000;
constexpr short kCurvePoint = 8;

double planDistance(const P_Vertex* a, const P_Vertex* b) {
    return std::hypot(a->pt.x - b->pt.x, a->pt.y - b->pt.y);
}

void deleteVertex(CPolyArc3D& poly, P_Vertex* v) {
    poly.POLYModif(1);
    poly.D(v);
}

void deleteBetween(CPolyArc3D& poly, P_Vertex* after, const P_Vertex* stop) {
    while (after->pVN && after->pVN != stop)
        deleteVertex(poly, after->pVN);
}

// Deletes the vertices after the head that lie within _ecpt in plan of the head (or the tail when asked)
// while at least 4 remain; the first vertex kept.
P_Vertex* secondCorner(CPolyArc3D& poly, bool nearTailToo) {
    P_Vertex* head = poly.H();
    P_Vertex* second = head->pVN;
    while (
        poly.GetCount() >= 4 && second && second != poly.T() &&
        (planDistance(second, head) <= _ecpt || (nearTailToo && planDistance(second, poly.T()) <= _ecpt))) {
        deleteVertex(poly, second);
        second = head->pVN;
    }
    return second;
}

void closeAndSmooth(CPolyArc3D& poly) {
    poly.f70(static_cast<short>(poly.f70() | 1));
    poly.lisse(nullptr, nullptr, kNoTangent, kNoTangent);
}

void clearShape(P_Vertex* v) {
    v->bulge = 0;
    v->flags = 0;
}

double heightOf(const P_Vertex* tail, const P_Vertex* head) {
    return tail->pt.z != 0 ? tail->pt.z : head->pt.z;
}

P_Vertex* appendCopy(CPolyArc3D& poly, const P_Vertex* source, const CPoint3d& at, double z) {
    P_Vertex* copy = poly.A(source);
    copy->pt = at;
    copy->pt.z = z;
    return copy;
}

int circleByCentre(CPolyArc3D& poly, const SegmentJig* jig) {
    if (poly.GetCount() < 2) return -1;
    const CPoint3d centre = shape_memory::values().firstPoint;
    P_Vertex* head = poly.H();
    P_Vertex* tail = poly.T();
    const wchar_t* typed = jig ? jig->m_typed : L"";
    double radius = 0;
    leadingNumber(typed, host::kLargestCoordinate, radius);
    double bearing = 0;
    if (radius == 0 || std::wcschr(typed, L',')) {
        bearing = centre.gisTo(tail->pt, &radius);
        radius = std::min(radius, kLargestRadius);
    }
    deleteBetween(poly, head, tail);
    P_Vertex* middle = poly.I(head, head);
    head->pt = centre.polar(bearing, radius);
    middle->pt = centre.polar(bearing + _400rd / 1.5, radius);
    tail->pt = centre.polar(bearing + _400rd / 3, radius);
    head->flags = kCurvePoint;
    closeAndSmooth(poly);
    return 3;
}

int circleThroughThreePoints(CPolyArc3D& poly) {
    if (poly.GetCount() < 3) return -1;
    P_Vertex* second = secondCorner(poly, true);
    deleteBetween(poly, second, poly.T());
    if (poly.GetCount() < 3) return -1;
    for (P_Vertex* v : {poly.H(), second, poly.T()})
        v->flags = kCurvePoint;
    const int corners = poly.GetCount();
    closeAndSmooth(poly);
    return corners;
}

int rectangleByThreePoints(CPolyArc3D& poly) {
    if (poly.GetCount() < 3) return -1;
    P_Vertex* head = poly.H();
    P_Vertex* second = secondCorner(poly, false);
    if (poly.GetCount() < 3) return -1;
    P_Vertex* tail = poly.T();
    for (P_Vertex* v : {head, second, tail})
        clearShape(v);
    poly.f70(static_cast<short>(poly.f70() | 1));
    const double z = heightOf(tail, head);
    CArc3d side(head->pt, second->pt, 0.0);
    CPoint3d foot;
    double offset = 0;
    side.ptprox(tail->pt, foot, nullptr, &offset);
    const double across = side.chordGis - _100rd;
    deleteBetween(poly, second, nullptr);
    const CPoint3d third = second->pt.polar(across, offset);
    const CPoint3d fourth = head->pt.polar(across, offset);
    appendCopy(poly, head, third, z);
    appendCopy(poly, head, fourth, z);
    return poly.GetCount();
}

int boxAlongUcs(CPolyArc3D& poly) {
    if (poly.GetCount() < 2) return -1;
    P_Vertex* head = poly.H();
    P_Vertex* tail = poly.T();
    deleteBetween(poly, head, tail);
    clearShape(head);
    clearShape(tail);
    poly.f70(static_cast<short>(poly.f70() | 1));
    resbuf xdir{};
    double axis = 0;
    if (getVar("UCSXDIR", &xdir) == RTNORM) axis = std::atan2(xdir.resval.rpoint[1], xdir.resval.rpoint[0]);
    double distance = 0;
    const double bearing = head->pt.gisTo(tail->pt, &distance);
    const double length = distance * std::cos(bearing - axis);
    const double z = heightOf(tail, head);
    P_Vertex* alongHead = poly.I(head, head);
    alongHead->pt = head->pt.polar(axis, length);
    alongHead->pt.z = z;
    appendCopy(poly, tail, tail->pt.polar(axis, -length), z);
    return poly.GetCount();
}

} // namespace

int qpoly_edit::finishShape(CPolyArc3D* poly) {
    if (shapeMode == 0 || !poly) return 0;
    if (poly->GetCount() == 1) shape_memory::values().firstPoint = poly->H()->pt;
    switch (shapeMode) {
    case 1:
        return circleByCentre(*poly, jig);
    case 2:
        return circleThroughThreePoints(*poly);
    case 3:
        return rectangleByThreePoints(*poly);
    case 4:
        return boxAlongUcs(*poly);
    default:
        return 0;
    }
}
