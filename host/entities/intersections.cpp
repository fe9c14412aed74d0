#include "host/entities/intersections.h"

#include <cmath>
#include <limits>
#include <optional>

#include "host/entities/circle_arc.h"
#include "host/entities/line.h"
#include "host/entities/lw_polyline.h"
#include "host/entities/point_ray_face.h"
#include "host/entities/polylines.h"
#include "host/ge/curve_geometry.h"

namespace host {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kTolerance = 1e-9;

// A piece in plane coordinates (x, y; z is the height above the plane, kept to answer 3-D points).
struct Piece {
    bool arc = false;
    AcGePoint3d a, b;                        // line: ends (t from 0 at a to 1 at b)
    double tMin = 0, tMax = 1;               // line: the range of t that belongs to the curve
    AcGePoint3d center;                      // arc
    double radius = 0, start = 0, sweep = 0; // sweep signed: positive counter-clockwise
    bool fullCircle = false;

    AcGePoint3d lineAt(double t) const { return a + (b - a) * t; }
    AcGePoint3d arcAt(double angle) const {
        return {center.x + radius * std::cos(angle), center.y + radius * std::sin(angle), center.z};
    }
    // Whether the angle lies on the arc.
    bool onArc(double angle) const {
        if (fullCircle) return true;
        double along = sweep >= 0 ? normalizeAngle(angle - start) : normalizeAngle(start - angle);
        double span = std::abs(sweep);
        return along <= span + kTolerance || along >= kTwoPi - kTolerance;
    }
};

Piece linePiece(const AcGePoint3d& a, const AcGePoint3d& b) {
    Piece p;
    p.a = a;
    p.b = b;
    return p;
}

void addLine(std::vector<Piece>& pieces, const AcGePoint3d& a, const AcGePoint3d& b) {
    if (!a.isEqualTo(b)) pieces.push_back(linePiece(a, b));
}

// A circular arc of the entity, when its plane is the projection plane (else nothing: it is tessellated).
std::optional<Piece> arcPiece(const AcGePoint3d& center, const AcGeVector3d& normal, double radius,
                              double start, double sweep, const AcGeMatrix3d& toPlane) {
    AcGeVector3d n = AcGeVector3d(normal).transformBy(toPlane).normal();
    if (std::abs(std::abs(n.z) - 1) > 1e-9) return std::nullopt;
    AcGePoint3d c = AcGePoint3d(center).transformBy(toPlane);
    AcGeVector3d x = ocsXAxis(normal), y = normal.crossProduct(x);
    AcGePoint3d s =
        (center + x * (radius * std::cos(start)) + y * (radius * std::sin(start))).transformBy(toPlane);
    Piece p;
    p.arc = true;
    p.center = c;
    p.radius = radius;
    p.start = std::atan2(s.y - c.y, s.x - c.x);
    p.sweep = n.z > 0 ? sweep : -sweep;
    return p;
}

std::vector<Piece> piecesOf(const AcDbEntity* entity, const AcGeMatrix3d& toPlane, bool& known) {
    std::vector<Piece> pieces;
    known = true;
    auto local = [&](const AcGePoint3d& p) { return AcGePoint3d(p).transformBy(toPlane); };
    if (auto* line = AcDbLine::cast(entity)) {
        addLine(pieces, local(line->startPoint()), local(line->endPoint()));
        return pieces;
    }
    if (auto* ray = AcDbRay::cast(entity)) {
        Piece p = linePiece(local(ray->basePoint()), local(ray->basePoint() + ray->unitDir()));
        p.tMax = kInfinity;
        pieces.push_back(p);
        return pieces;
    }
    std::optional<Piece> exact;
    if (auto* circle = AcDbCircle::cast(entity)) {
        exact = arcPiece(circle->center(), circle->normal(), circle->radius(), 0, kTwoPi, toPlane);
        if (exact) exact->fullCircle = true;
    } else if (auto* arc = AcDbArc::cast(entity)) {
        exact = arcPiece(arc->center(), arc->normal(), arc->radius(), arc->startAngle(),
                         sweepAngle(arc->startAngle(), arc->endAngle()), toPlane);
    } else if (AcDbPolyline::cast(entity) || AcDb2dPolyline::cast(entity)) {
        // Its segments, each exact.
        AcDbVoidPtrArray parts;
        if (entity->explode(parts) == Acad::eOk) {
            for (void* part : parts) {
                auto* piece = static_cast<AcDbEntity*>(part);
                bool k = false;
                std::vector<Piece> more = piecesOf(piece, toPlane, k);
                pieces.insert(pieces.end(), more.begin(), more.end());
                delete piece;
            }
            return pieces;
        }
    }
    if (exact) {
        pieces.push_back(*exact);
        return pieces;
    }
    auto* curve = AcDbCurve::cast(entity);
    AcGePoint3dArray points;
    if (!curve || !curve->tessellate(points, 1e-5)) {
        known = false;
        return pieces;
    }
    for (int i = 0; i + 1 < points.length(); ++i)
        addLine(pieces, local(points[i]), local(points[i + 1]));
    return pieces;
}

// Lets the open ends of a curve go on: its first and last straight pieces become half-lines, arcs circles.
void extend(std::vector<Piece>& pieces) {
    if (pieces.empty()) return;
    for (Piece& p : pieces)
        if (p.arc && pieces.size() == 1) p.fullCircle = true;
    if (!pieces.front().arc) pieces.front().tMin = -kInfinity;
    if (!pieces.back().arc) pieces.back().tMax = kInfinity;
}

// Intersections of two pieces, each as a (point on the first piece, accepted) pair.
void intersect(const Piece& p, const Piece& q, std::vector<AcGePoint3d>& out) {
    auto inLine = [](const Piece& l, double t) {
        return t >= l.tMin - kTolerance && t <= l.tMax + kTolerance;
    };
    if (!p.arc && !q.arc) {
        AcGeVector3d r = p.b - p.a, s = q.b - q.a, w = q.a - p.a;
        double d = r.x * s.y - r.y * s.x;
        if (std::abs(d) < kTolerance * r.length() * s.length())
            return; // parallel (overlaps have no single point)
        double t = (w.x * s.y - w.y * s.x) / d, u = (w.x * r.y - w.y * r.x) / d;
        if (inLine(p, t) && inLine(q, u)) out.push_back(p.lineAt(t));
        return;
    }
    if (p.arc && q.arc) {
        double dx = q.center.x - p.center.x, dy = q.center.y - p.center.y;
        double d = std::hypot(dx, dy);
        if (d < kTolerance || d > p.radius + q.radius + kTolerance ||
            d < std::abs(p.radius - q.radius) - kTolerance)
            return;
        double along = (d * d + p.radius * p.radius - q.radius * q.radius) / (2 * d);
        double h = std::sqrt(std::max(0.0, p.radius * p.radius - along * along));
        double base = std::atan2(dy, dx), spread = std::atan2(h, along);
        for (double angle :
             h < kTolerance ? std::vector<double>{base} : std::vector<double>{base + spread, base - spread}) {
            AcGePoint3d point = p.arcAt(angle);
            if (p.onArc(angle) && q.onArc(std::atan2(point.y - q.center.y, point.x - q.center.x)))
                out.push_back(point);
        }
        return;
    }
    const Piece& line = p.arc ? q : p;
    const Piece& arc = p.arc ? p : q;
    AcGeVector3d r = line.b - line.a;
    double fx = line.a.x - arc.center.x, fy = line.a.y - arc.center.y;
    double a = r.x * r.x + r.y * r.y, b = 2 * (fx * r.x + fy * r.y),
           c = fx * fx + fy * fy - arc.radius * arc.radius;
    double discriminant = b * b - 4 * a * c;
    if (a == 0 || discriminant < -kTolerance * a) return;
    double root = std::sqrt(std::max(0.0, discriminant));
    for (double t : root < kTolerance ? std::vector<double>{-b / (2 * a)}
                                      : std::vector<double>{(-b - root) / (2 * a), (-b + root) / (2 * a)}) {
        AcGePoint3d onLine = line.lineAt(t);
        double angle = std::atan2(onLine.y - arc.center.y, onLine.x - arc.center.x);
        if (inLine(line, t) && arc.onArc(angle)) out.push_back(p.arc ? arc.arcAt(angle) : onLine);
    }
}

// An entity of a class the host does not know intersects itself with the curve, roles and extend types
// swapped; once, so that two such classes never ask each other for ever.
Acad::ErrorStatus askTheOther(const AcDbEntity* first, const AcDbEntity* second, AcDb::Intersect type,
                              const AcGePlane* plane, AcGePoint3dArray& points) {
    static bool asking = false;
    if (asking) return Acad::eNotImplementedYet;
    struct Asking {
        Asking() { asking = true; }
        ~Asking() { asking = false; }
    } scope;
    const auto swapped = static_cast<AcDb::Intersect>(((type & AcDb::kExtendThis) ? AcDb::kExtendArg : 0) |
                                                      ((type & AcDb::kExtendArg) ? AcDb::kExtendThis : 0));
    return plane ? second->intersectWith(first, swapped, *plane, points)
                 : second->intersectWith(first, swapped, points);
}

} // namespace

Acad::ErrorStatus intersectCurves(const AcDbEntity* first, const AcDbEntity* second, AcDb::Intersect type,
                                  const AcGePlane* plane, AcGePoint3dArray& points) {
    if (!first || !second) return Acad::eInvalidInput;
    AcGeMatrix3d toPlane;
    if (plane) {
        AcGePoint3d origin;
        AcGeVector3d x, y;
        plane->getCoordSystem(origin, x, y);
        toPlane =
            AcGeMatrix3d::alignCoordSys(origin, x, y, plane->normal(), AcGePoint3d::kOrigin,
                                        AcGeVector3d::kXAxis, AcGeVector3d::kYAxis, AcGeVector3d::kZAxis);
    }
    bool knownFirst = false, knownSecond = false;
    std::vector<Piece> mine = piecesOf(first, toPlane, knownFirst),
                       theirs = piecesOf(second, toPlane, knownSecond);
    if (knownFirst && !knownSecond) return askTheOther(first, second, type, plane, points);
    if (!knownFirst || !knownSecond) return Acad::eNotImplementedYet;
    if (type == AcDb::kExtendThis || type == AcDb::kExtendBoth) extend(mine);
    if (type == AcDb::kExtendArg || type == AcDb::kExtendBoth) extend(theirs);
    std::vector<AcGePoint3d> found;
    for (const Piece& p : mine)
        for (const Piece& q : theirs)
            intersect(p, q, found);
    AcGeMatrix3d fromPlane = toPlane.inverse();
    for (const AcGePoint3d& f : found) {
        AcGePoint3d world = AcGePoint3d(f).transformBy(fromPlane);
        bool repeated = false;
        for (const AcGePoint3d& kept : points)
            repeated = repeated || kept.distanceTo(world) < 1e-8 * std::max(1.0, world.asVector().length());
        if (!repeated) points.append(world);
    }
    return Acad::eOk;
}

} // namespace host
