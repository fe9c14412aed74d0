// Polylines read from splines and hatch boundaries: curves that have no vertices of their own.
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "entity/conversion/curve_to_arc3d.h"
#include "entity/conversion/host_sources.h"
#include "entity/core/poly_arc3d.h"
#include "host/entities/hatch.h"
#include "host/entities/spline.h"

namespace host_sources {

namespace {

// Control points nearer than this to the previous one add no parameter.
constexpr double kSameControlPoint = 5e-4;
// Parameters this close are one.
constexpr double kSameParameter = 1e-4;
// A spline step whose middle strays further than this from its chord is cut into smaller steps.
constexpr double kStepDeviation = 0.001;
// Flag word of the vertices in the middle of a spline step.
constexpr short kMidStepFlag = 2;

// The curve's parameters at its control points. A control point off the curve has none: the parameters of
// the control points since the last known one are spread evenly up to the next one known.
std::vector<double> controlParameters(const AcDbSpline& source, double startParam, double endParam) {
    std::vector<double> params;
    double known = -1;
    int since = 0;
    AcGePoint3d previous;
    const int count = source.numControlPoints();
    for (int i = 0; i < count; ++i) {
        AcGePoint3d control;
        if (source.getControlPointAt(i, control) != Acad::eOk) continue;
        if (i > 0 && control.distanceTo(previous) <= kSameControlPoint) continue;
        previous = control;
        ++since;
        double p = 0;
        const bool found = source.getParamAtPoint(control, p) == Acad::eOk;
        if (found && i == count - 1 && p < known) p = endParam;
        if (!found || !(p > known) || p > endParam) continue;
        for (int k = 1; k <= since; ++k) {
            const double spread = known + k * (p - known) / since;
            if (spread > p + kSameParameter) break;
            params.push_back(spread);
        }
        known = p;
        since = 0;
    }
    // The curve's own ends where the search found them nearly.
    if (!params.empty() && params.front() < startParam + kSameParameter) params.front() = startParam;
    // The end itself, unless the last control point found it (within the search's precision).
    if (endParam > known + kSameParameter)
        params.push_back(endParam);
    else if (!params.empty())
        params.back() = endParam;
    return params;
}

// How far the middle of the step from a to b strays from the line from a through its end, in plan.
double stepDeviation(const AcGePoint3d& a, const AcGePoint3d& middle, const AcGePoint3d& end) {
    const double toEnd = std::atan2(end.y - a.y, end.x - a.x);
    const double toMiddle = std::atan2(middle.y - a.y, middle.x - a.x);
    return std::fabs(std::sin(toEnd - toMiddle)) * std::hypot(middle.x - a.x, middle.y - a.y);
}

void appendAt(CPolyArc3D& poly, const AcDbSpline& source, double param, short flags = 0) {
    AcGePoint3d p;
    if (source.getPointAtParam(param, p) == Acad::eOk) appendWorld(poly, p)->flags = flags;
}

// Appends the points of one bulged loop point, passing the bulge on when the point repeats the last vertex.
void appendLoopPoint(CPolyArc3D& poly, const AcGePoint2d& point, double bulge, double elevation) {
    const CPoint3d p(point.x, point.y, elevation);
    P_Vertex* last = poly.T();
    if (last && AcGePoint2d(last->pt.x, last->pt.y).isEqualTo(point)) {
        last->bulge = bulge;
        return;
    }
    P_Vertex* v = poly.A();
    v->pt = p;
    v->bulge = bulge;
}

CPoint3d flat(const AcGePoint2d& p) {
    return CPoint3d(p.x, p.y, 0);
}

struct LoopPoint {
    AcGePoint2d point;
    double bulge;
};

// A loop's points with their bulges: a polyline loop as it is, else its line and arc edges end to end.
std::vector<LoopPoint> loopPoints(const AcDbHatch& source, int index) {
    std::vector<LoopPoint> points;
    Adesk::Int32 type = 0;
    if (source.loopTypeAt(index) & AcDbHatch::kPolyline) {
        AcGePoint2dArray vertices;
        AcGeDoubleArray bulges;
        if (source.getLoopAt(index, type, vertices, bulges) != Acad::eOk) return points;
        for (int i = 0; i < vertices.length(); ++i)
            points.push_back({vertices[i], i < bulges.length() ? bulges[i] : 0});
        return points;
    }
    AcGeVoidPointerArray edges;
    AcGeIntArray types;
    if (source.getLoopAt(index, type, edges, types) != Acad::eOk) return points;
    for (int i = 0; i < edges.length(); ++i) {
        std::unique_ptr<AcGeCurve2d> edge(static_cast<AcGeCurve2d*>(edges[i]));
        const AcGePoint2d start = edge->startPoint(), end = edge->endPoint();
        if (types[i] == AcDbHatch::kLine) {
            points.push_back({start, 0});
            points.push_back({end, 0});
            continue;
        }
        // The point at a fraction of the way along a circular or elliptic edge.
        std::function<AcGePoint2d(double)> along;
        if (auto* circular = dynamic_cast<const AcGeCircArc2d*>(edge.get()))
            along = [circular](double t) { return circular->pointAtSweep(t * circular->sweep()); };
        else if (auto* elliptic = dynamic_cast<const AcGeEllipArc2d*>(edge.get()))
            along = [elliptic](double t) {
                return elliptic->pointAtParam(elliptic->startAng() +
                                              t * (elliptic->endAng() - elliptic->startAng()));
            };
        else
            continue;
        // A whole circle or ellipse ends where it starts: two halves, or nothing of it would remain.
        const bool whole = start.isEqualTo(end);
        const std::vector<double> cuts = whole ? std::vector<double>{0, 0.5, 1} : std::vector<double>{0, 1};
        for (std::size_t k = 0; k + 1 < cuts.size(); ++k)
            points.push_back(
                {along(cuts[k]), bulgeThrough(flat(along(cuts[k])), flat(along((cuts[k] + cuts[k + 1]) / 2)),
                                              flat(along(cuts[k + 1])))});
        points.push_back({end, 0});
    }
    return points;
}

} // namespace

void readSpline(CPolyArc3D& poly, const AcDbSpline& source) {
    double start = 0, end = 0;
    if (source.getStartParam(start) != Acad::eOk || source.getEndParam(end) != Acad::eOk) return;
    const std::vector<double> params = controlParameters(source, start, end);
    for (std::size_t i = 0; i < params.size(); ++i) {
        if (i == 0) {
            appendAt(poly, source, params[0]);
            continue;
        }
        const double p0 = params[i - 1], p1 = params[i];
        AcGePoint3d a, middle, b;
        if (source.getPointAtParam(p0, a) == Acad::eOk &&
            source.getPointAtParam((p0 + p1) / 2, middle) == Acad::eOk &&
            source.getPointAtParam(p1, b) == Acad::eOk) {
            const double d = stepDeviation(a, middle, b);
            if (d > kStepDeviation) {
                const int steps = 1 + static_cast<int>(std::floor(std::sqrt(200 * d) / 2));
                const double h = (p1 - p0) / steps;
                for (int k = 0; k < steps; ++k) {
                    appendAt(poly, source, p0 + (k + 0.5) * h, kMidStepFlag);
                    if (k + 1 < steps) appendAt(poly, source, p0 + (k + 1) * h);
                }
            }
        }
        appendAt(poly, source, p1);
    }
    closeWhen(poly, source.isClosed());
    poly.lisse(nullptr, nullptr, -1000.0, -1000.0);
}

void readHatch(CPolyArc3D& poly, const AcDbHatch& source) {
    const double elevation = source.elevation();
    for (int index = 0; index < source.numLoops(); ++index) {
        const std::vector<LoopPoint> points = loopPoints(source, index);
        if (points.empty()) continue;
        // An inner loop that does not go on from the last vertex starts a ring of its own.
        P_Vertex* last = poly.T();
        if (last && !AcGePoint2d(last->pt.x, last->pt.y).isEqualTo(points.front().point)) {
            last->tef1 = 6;
            last->tef2 = 1;
        }
        for (const LoopPoint& p : points)
            appendLoopPoint(poly, p.point, p.bulge, elevation);
        // Back to the loop's start: a loop given without its closing point is closed all the same.
        appendLoopPoint(poly, points.front().point, 0, elevation);
    }
    poly.MajClosed();
    poly.lisse(nullptr, nullptr, -1000.0, -1000.0);
    // The loop points lie in the hatch's plane at its elevation already.
    poly.setSNormal(source.normal(), 0);
}

} // namespace host_sources
