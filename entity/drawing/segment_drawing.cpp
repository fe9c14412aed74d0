#include "entity/drawing/segment_drawing.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "entity/core/poly_arc3d.h"
#include "entity/drawing/tef_color.h"
#include "geometry/arcs/arc3d.h"
#include "geometry/points/point3d_array.h"

namespace {

constexpr double kPi = std::numbers::pi;
// Below this cosine of the half turn (a turn of about 168.5 degrees) a corner is not mitred: the mitre
// would run far past the corner.
constexpr double kSmallestMitreCosine = 0.1;
constexpr int kTefNoWidths = 0x20; // a vertex code whose segment keeps no widths nor heights

// The angle a brought within pi of reference by whole turns.
double withinHalfTurn(double a, double reference) {
    while (a - reference > kPi)
        a -= 2 * kPi;
    while (reference - a > kPi)
        a += 2 * kPi;
    return a;
}

} // namespace

SegmentDrawer::SegmentDrawer(const CPolyArc3D& poly, AcGiWorldDraw& draw, double displayWidth)
    : m_poly(poly), m_draw(draw), m_displayWidth(displayWidth) {}

void SegmentDrawer::drawAll() {
    P_Vertex* head = m_poly.H();
    P_Vertex* w = m_poly.N(head);
    if (!w) return;
    const CPoint3d headPoint = head->pt;
    m_previousPerpendicular =
        (m_poly.f70() & 1) ? headPoint.gisTo(m_poly.T()->pt) + kPi / 2 : headPoint.gisTo(w->pt) - kPi / 2;
    m_previousBulge = 0;
    int marker = 1;
    for (P_Vertex* v = head; v && (w = m_poly.N(v)); v = w, ++marker) {
        drawSegment(marker, v, w);
        m_previousBulge = v->bulge;
        if (v == m_poly.T()) break;
    }
}

SegmentDrawer::Offsets SegmentDrawer::offsetsOf(const P_Vertex* v, const P_Vertex* w) const {
    Offsets offsets;
    if (m_displayWidth != 0) {
        if (v != m_poly.T() && w != m_poly.T()) offsets.start = offsets.end = m_displayWidth;
        return offsets;
    }
    if (v->tefsbits() & kTefNoWidths) return offsets;
    offsets.start = v->f40();
    offsets.end = w->f40();
    offsets.startHeight = v->f39();
    offsets.endHeight = w->f39();
    if (m_poly.f42() != 0) {
        if (offsets.start == 0) offsets.start = m_poly.f42();
        if (offsets.end == 0) offsets.end = m_poly.f42();
    }
    return offsets;
}

void SegmentDrawer::drawSegment(int marker, P_Vertex* v, P_Vertex* w) {
    setTraits(marker, v);
    const Offsets offsets = offsetsOf(v, w);
    const CPoint3d start = v->pt, end = w->pt;
    // A degenerate arc (its bulge comes out 0) is drawn straight; the vertex is only read here.
    CArc3d arc;
    const bool isArc = v->bulge != 0 && (arc.set(v, end), arc.bulge != 0);
    CPoint3dArray base;
    if (isArc) {
        arc.segments(base, -1);
    } else {
        base.append(start);
        base.append(end);
    }
    drawPoints(base, offsets);
    if (offsets.start == 0 && offsets.end == 0) return;

    const double perpendicular = start.gisTo(end) - kPi / 2;
    CPoint3dArray offsetLine;
    if (isArc)
        arc.segments(offsetLine, offsets.start, offsets.end, -1);
    else
        mitredOffset(v, w, perpendicular, offsets, offsetLine);
    drawPoints(offsetLine, offsets);
    m_previousPerpendicular = perpendicular;
}

void SegmentDrawer::mitredOffset(const P_Vertex* v, const P_Vertex* w, double perpendicular, Offsets offsets,
                                 CPoint3dArray& points) const {
    const double u = withinHalfTurn(perpendicular, m_previousPerpendicular);
    double startDirection = m_previousBulge != 0 ? u : (u + m_previousPerpendicular) / 2;
    if (std::cos(startDirection - u) > kSmallestMitreCosine)
        offsets.start /= std::cos(startDirection - u);
    else
        startDirection = u;

    double endDirection = u;
    const P_Vertex* next = m_poly.N(const_cast<P_Vertex*>(w));
    if (next && v->bulge == 0 && w->bulge == 0) {
        const CPoint3d corner = w->pt;
        const double following = withinHalfTurn(corner.gisTo(next->pt) - kPi / 2, u);
        endDirection = (u + following) / 2;
        if (std::cos(endDirection - u) > kSmallestMitreCosine)
            offsets.end /= std::cos(endDirection - u);
        else
            endDirection = u;
    }
    const CPoint3d start = v->pt, end = w->pt;
    points.append(start.polar(startDirection, offsets.start));
    points.append(end.polar(endDirection, offsets.end));
}

void SegmentDrawer::drawPoints(const CPoint3dArray& points, const Offsets& offsets) const {
    const int n = points.length();
    if (n < 2) return;
    std::vector<AcGePoint3d> world;
    world.reserve(2 * static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        world.push_back(m_poly.WorldPoint(&points[i]));
    if (offsets.startHeight == 0 && offsets.endHeight == 0) {
        const AcGeVector3d normal = m_poly.Snormal();
        m_draw.geometry().polyline(static_cast<Adesk::UInt32>(n), world.data(), &normal);
        return;
    }
    // The band: the points, then the same points raised by the height interpolated along them.
    for (int j = 0; j < n; ++j) {
        CPoint3d raised = points[j];
        raised.z += offsets.startHeight + (offsets.endHeight - offsets.startHeight) * j / (n - 1);
        world.push_back(m_poly.WorldPoint(&raised));
    }
    m_draw.geometry().mesh(2, static_cast<Adesk::UInt32>(n), world.data());
}

void SegmentDrawer::setTraits(int marker, const P_Vertex* v) const {
    AcGiSubEntityTraits& traits = m_draw.subEntityTraits();
    traits.setSelectionMarker(marker);
    traits.setLayer(m_poly.layerId());
    traits.setColor(tefColor(v, m_poly.colorIndex()));
    traits.setLineType(m_displayWidth == 0 ? m_poly.linetypeId() : AcDbObjectId());
    traits.setLineTypeScale(m_poly.linetypeScale());
    traits.setLineWeight(m_poly.lineWeight());
}
