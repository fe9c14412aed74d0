#include "host/selection/pick_box.h"

#include <algorithm>
#include <array>
#include <limits>
#include <span>
#include <vector>

#include "host/editor/editor_variables.h"
#include "host/graphics/graphics_recorder.h"
#include "host/selection/osnap.h"

namespace host {

namespace {

constexpr double kNowhere = std::numeric_limits<double>::infinity();

AcGePoint2d plan(const AcGePoint3d& p) {
    return AcGePoint2d(p.x, p.y);
}

double distanceToSegment(const AcGePoint2d& p, const AcGePoint2d& a, const AcGePoint2d& b) {
    const AcGeVector2d ab = b - a;
    const double length2 = ab.dotProduct(ab);
    const double t = length2 > 0 ? std::clamp((p - a).dotProduct(ab) / length2, 0.0, 1.0) : 0.0;
    return p.distanceTo(a + ab * t);
}

// The distance from `p` to the chain of `points`, closed back to the first when asked.
double distanceToChain(const AcGePoint2d& p, std::span<const AcGePoint2d> points, bool closed) {
    if (points.empty()) return std::numeric_limits<double>::infinity();
    double best = p.distanceTo(points.front());
    for (std::size_t i = 1; i < points.size(); ++i)
        best = std::min(best, distanceToSegment(p, points[i - 1], points[i]));
    if (closed && points.size() > 2)
        best = std::min(best, distanceToSegment(p, points.back(), points.front()));
    return best;
}

// Even-odd rule, as a filled polygon is drawn.
bool inside(const AcGePoint2d& p, std::span<const AcGePoint2d> points) {
    bool in = false;
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const AcGePoint2d &a = points[i], &b = points[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
}

std::vector<AcGePoint2d> planPoints(const std::vector<AcGePoint3d>& points) {
    std::vector<AcGePoint2d> out;
    out.reserve(points.size());
    for (const AcGePoint3d& q : points)
        out.push_back(plan(q));
    return out;
}

// The mesh's lines along its rows and along its columns.
double distanceToMesh(const AcGePoint2d& p, const Primitive& mesh) {
    const std::vector<AcGePoint2d> points = planPoints(mesh.points);
    double best = std::numeric_limits<double>::infinity();
    if (points.size() < std::size_t(mesh.rows) * mesh.columns) return best;
    for (Adesk::UInt32 r = 0; r < mesh.rows; ++r)
        best = std::min(best,
                        distanceToChain(p, std::span(points).subspan(r * mesh.columns, mesh.columns), false));
    for (Adesk::UInt32 c = 0; c < mesh.columns; ++c) {
        std::vector<AcGePoint2d> column;
        for (Adesk::UInt32 r = 0; r < mesh.rows; ++r)
            column.push_back(points[r * mesh.columns + c]);
        best = std::min(best, distanceToChain(p, column, false));
    }
    return best;
}

// The plan distance from p to what the primitive draws: 0 inside a filled polygon or a text's box.
double primitiveDistance(const Primitive& primitive, const AcGePoint2d& p) {
    switch (primitive.kind) {
    case PrimitiveKind::Polyline:
    case PrimitiveKind::Arc:
        return distanceToChain(p, planPoints(primitive.points), false);
    case PrimitiveKind::Circle:
        return distanceToChain(p, planPoints(primitive.points), true);
    case PrimitiveKind::Polygon: {
        const std::vector<AcGePoint2d> points = planPoints(primitive.points);
        return points.size() > 2 && inside(p, points) ? 0 : distanceToChain(p, points, true);
    }
    case PrimitiveKind::Mesh:
        return distanceToMesh(p, primitive);
    case PrimitiveKind::Text: {
        const std::array<AcGePoint3d, 4> box = textBox(primitive);
        const std::vector<AcGePoint2d> corners = planPoints({box.begin(), box.end()});
        return inside(p, corners) ? 0 : distanceToChain(p, corners, true);
    }
    case PrimitiveKind::Ray: {
        if (primitive.points.size() < 2) return kNowhere;
        const AcGePoint2d base = plan(primitive.points[0]);
        const AcGeVector2d along = plan(primitive.points[1]) - base;
        const double length2 = along.dotProduct(along);
        const double t = length2 > 0 ? std::max(0.0, (p - base).dotProduct(along) / length2) : 0.0;
        return p.distanceTo(base + along * t);
    }
    }
    return kNowhere;
}

} // namespace

PickHit pickHit(AcDbEntity* entity, const AcGePoint3d& worldPoint, double tolerance) {
    // Curves are drawn with chords close enough to the curve for the pick box.
    GraphicsRecorder recorder(kAcGiStandardDisplay, tolerance / 2);
    recorder.recordEntity(entity);
    if (recorder.primitives().empty()) return PickHit::DrawsNothing;
    const AcGePoint2d p = plan(worldPoint);
    const bool near = std::ranges::any_of(recorder.primitives(), [&](const Primitive& primitive) {
        return primitiveDistance(primitive, p) <= tolerance;
    });
    return near ? PickHit::Drawn : PickHit::Missed;
}

Adesk::GsMarker nearestMarker(AcDbEntity* entity, const AcGePoint3d& worldPoint) {
    GraphicsRecorder recorder(kAcGiStandardDisplay, pickTolerance() / 2);
    recorder.recordEntity(entity);
    const AcGePoint2d p = plan(worldPoint);
    Adesk::GsMarker marker = 0;
    double best = kNowhere;
    for (const Primitive& primitive : recorder.primitives()) {
        const double distance = primitiveDistance(primitive, p);
        if (distance < best) {
            best = distance;
            marker = primitive.traits.marker;
        }
    }
    return marker;
}

double pickTolerance() {
    return std::max(1, shortVariable(L"PICKBOX")) * unitsPerPixel();
}

} // namespace host
