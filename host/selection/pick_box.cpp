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

bool primitiveNear(const Primitive& primitive, const AcGePoint2d& p, double tolerance) {
    switch (primitive.kind) {
    case PrimitiveKind::Polyline:
    case PrimitiveKind::Arc:
        return distanceToChain(p, planPoints(primitive.points), false) <= tolerance;
    case PrimitiveKind::Circle:
        return distanceToChain(p, planPoints(primitive.points), true) <= tolerance;
    case PrimitiveKind::Polygon: {
        const std::vector<AcGePoint2d> points = planPoints(primitive.points);
        return distanceToChain(p, points, true) <= tolerance || (points.size() > 2 && inside(p, points));
    }
    case PrimitiveKind::Mesh:
        return distanceToMesh(p, primitive) <= tolerance;
    case PrimitiveKind::Text: {
        const std::array<AcGePoint3d, 4> box = textBox(primitive);
        const std::vector<AcGePoint2d> corners = planPoints({box.begin(), box.end()});
        return distanceToChain(p, corners, true) <= tolerance || inside(p, corners);
    }
    case PrimitiveKind::Ray: {
        if (primitive.points.size() < 2) return false;
        const AcGePoint2d base = plan(primitive.points[0]);
        const AcGeVector2d along = plan(primitive.points[1]) - base;
        const double length2 = along.dotProduct(along);
        const double t = length2 > 0 ? std::max(0.0, (p - base).dotProduct(along) / length2) : 0.0;
        return p.distanceTo(base + along * t) <= tolerance;
    }
    }
    return false;
}

} // namespace

PickHit pickHit(AcDbEntity* entity, const AcGePoint3d& worldPoint, double tolerance) {
    // Curves are drawn with chords close enough to the curve for the pick box.
    GraphicsRecorder recorder(kAcGiStandardDisplay, tolerance / 2);
    recorder.recordEntity(entity);
    if (recorder.primitives().empty()) return PickHit::DrawsNothing;
    const AcGePoint2d p = plan(worldPoint);
    const bool near = std::ranges::any_of(recorder.primitives(), [&](const Primitive& primitive) {
        return primitiveNear(primitive, p, tolerance);
    });
    return near ? PickHit::Drawn : PickHit::Missed;
}

double pickTolerance() {
    return std::max(1, shortVariable(L"PICKBOX")) * unitsPerPixel();
}

} // namespace host
