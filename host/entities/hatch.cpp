#include "host/entities/hatch.h"

#include <cmath>
#include <numbers>

#include "host/db/database.h"
#include "host/db/enum_values.h"
#include "host/entities/circle_arc.h"
#include "host/entities/counted_lists.h"
#include "host/entities/ellipse.h"
#include "host/entities/line.h"
#include "host/entities/lw_polyline.h"
#include "host/entities/plane_polyline.h"
#include "host/ge/curve_geometry.h"

HOST_DEFINE_MEMBERS(AcDbHatch, AcDbEntity, L"HATCH")

namespace {
// Samples per unit of parameter for boundaries known only through the curve protocol.
constexpr int kCurveSamples = 64;

// Points of one edge in the plane (its start included, its end left to the next edge).
void appendEdge(AcGePoint3dArray& points, const auto& edge) {
    using T = std::decay_t<decltype(edge)>;
    auto flat = [](const AcGePoint2d& p) { return AcGePoint3d(p.x, p.y, 0); };
    if constexpr (std::is_same_v<T, AcGeLineSeg2d>) {
        points.append(flat(edge.startPoint()));
    } else if constexpr (std::is_same_v<T, AcGeCircArc2d>) {
        int n = host::chordCount(edge.radius(), edge.sweep(), host::kDefaultDeviation);
        for (int i = 0; i < n; ++i)
            points.append(flat(edge.pointAtSweep(edge.sweep() * i / n)));
    } else if constexpr (std::is_same_v<T, AcGeNurbCurve2d>) {
        const host::BSpline& curve = edge.nurbs();
        if (!curve.isValid()) return;
        int n = kCurveSamples * static_cast<int>(curve.controlPoints.size());
        for (int i = 0; i < n; ++i)
            points.append(
                flat(edge.evalPoint(curve.startParam() + (curve.endParam() - curve.startParam()) * i / n)));
    } else {
        double end = edge.endAng() > edge.startAng() ? edge.endAng() : edge.endAng() + host::kTwoPi;
        int n = host::chordCount(edge.majorRadius(), end - edge.startAng(), host::kDefaultDeviation);
        for (int i = 0; i < n; ++i)
            points.append(flat(edge.pointAtParam(edge.startAng() + (end - edge.startAng()) * i / n)));
    }
}

// How far off the hatch's plane a boundary point may lie.
constexpr double kPlaneTolerance = 1e-6;

bool closes(const AcDbCurve& curve) {
    AcGePoint3d first, last;
    return curve.isClosed() ||
           (curve.getStartPoint(first) == Acad::eOk && curve.getEndPoint(last) == Acad::eOk &&
            first.distanceTo(last) <= kPlaneTolerance);
}

// A boundary object turned into edges in the hatch's plane; false when it is not a curve the host can follow:
// a point of it off the plane, or a polyline or other curve that does not close.
bool edgesOf(const AcDbEntity* entity, const AcGeMatrix3d& toPlane, auto& edges, auto& vertices,
             auto& bulges) {
    bool inPlane = true;
    auto local = [&](const AcGePoint3d& p) {
        const AcGePoint3d q = AcGePoint3d(p).transformBy(toPlane);
        inPlane = inPlane && std::fabs(q.z) <= kPlaneTolerance;
        return q.convert2d();
    };
    if (auto* lw = AcDbPolyline::cast(entity)) {
        for (unsigned int i = 0; i < lw->numVerts(); ++i) {
            AcGePoint3d p;
            double b = 0;
            lw->getPointAt(i, p);
            lw->getBulgeAt(i, b);
            vertices.push_back(local(p));
            bulges.push_back(b);
        }
        return inPlane && lw->numVerts() > 1 && closes(*lw);
    }
    if (auto* line = AcDbLine::cast(entity)) {
        edges.push_back(AcGeLineSeg2d(local(line->startPoint()), local(line->endPoint())));
        return inPlane;
    }
    if (auto* circle = AcDbCircle::cast(entity)) {
        edges.push_back(AcGeCircArc2d(local(circle->center()), circle->radius(), 0, host::kTwoPi));
        return inPlane;
    }
    if (auto* arc = AcDbArc::cast(entity)) {
        edges.push_back(
            AcGeCircArc2d(local(arc->center()), arc->radius(), arc->startAngle(), arc->endAngle()));
        return inPlane;
    }
    auto* curve = AcDbCurve::cast(entity);
    double start = 0, end = 0;
    if (!curve || curve->getStartParam(start) != Acad::eOk || curve->getEndParam(end) != Acad::eOk ||
        !(end > start))
        return false;
    if (!closes(*curve)) return false;
    int n = std::max(kCurveSamples, static_cast<int>(std::ceil((end - start) * kCurveSamples)));
    AcGePoint3d previous;
    if (curve->getPointAtParam(start, previous) != Acad::eOk) return false;
    for (int i = 1; i <= n; ++i) {
        AcGePoint3d p;
        if (curve->getPointAtParam(start + (end - start) * i / n, p) != Acad::eOk) return false;
        edges.push_back(AcGeLineSeg2d(local(previous), local(p)));
        previous = p;
    }
    return inPlane;
}
AcDbHatch::HatchPatternType patternTypeOrDefault(long long value) {
    return host::enumOrDefault(value,
                               {AcDbHatch::kUserDefined, AcDbHatch::kPreDefined, AcDbHatch::kCustomDefined},
                               AcDbHatch::kPreDefined);
}

AcDbHatch::HatchStyle styleOrDefault(long long value) {
    return host::enumOrDefault(value, {AcDbHatch::kNormal, AcDbHatch::kOuter, AcDbHatch::kIgnore},
                               AcDbHatch::kNormal);
}

} // namespace

AcGeMatrix3d AcDbHatch::planeToWorld() const {
    return host::planeToWorld(m_normal, m_elevation);
}

Adesk::Int32 AcDbHatch::loopTypeAt(int index) const {
    return index >= 0 && index < numLoops() ? m_loops[index].type : kDefault;
}

Acad::ErrorStatus AcDbHatch::appendLoop(Adesk::Int32 loopType, const AcGePoint2dArray& vertices,
                                        const AcGeDoubleArray& bulges) {
    if (vertices.length() < 2 || (!bulges.isEmpty() && bulges.length() != vertices.length()))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    Loop loop;
    loop.type = loopType | kPolyline;
    loop.vertices.assign(vertices.begin(), vertices.end());
    loop.bulges.assign(bulges.begin(), bulges.end());
    loop.bulges.resize(loop.vertices.size(), 0.0);
    m_loops.push_back(std::move(loop));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::appendLoop(Adesk::Int32 loopType, const AcGeVoidPointerArray& edgePtrs,
                                        const AcGeIntArray& edgeTypes) {
    if (edgePtrs.isEmpty() || edgePtrs.length() != edgeTypes.length()) return Acad::eInvalidInput;
    for (int i = 0; i < edgeTypes.length(); ++i)
        if (!edgePtrs[i] || edgeTypes[i] < kLine || edgeTypes[i] > kSpline) return Acad::eInvalidInput;
    assertWriteEnabled();
    Loop loop;
    loop.type = loopType & ~kPolyline;
    for (int i = 0; i < edgePtrs.length(); ++i) {
        auto* curve = static_cast<AcGeCurve2d*>(edgePtrs[i]);
        switch (edgeTypes[i]) {
        case kLine:
            loop.edges.emplace_back(*static_cast<AcGeLineSeg2d*>(curve));
            break;
        case kCirArc:
            loop.edges.emplace_back(*static_cast<AcGeCircArc2d*>(curve));
            break;
        case kEllArc:
            loop.edges.emplace_back(*static_cast<AcGeEllipArc2d*>(curve));
            break;
        default:
            loop.edges.emplace_back(*static_cast<AcGeNurbCurve2d*>(curve));
            break;
        }
        delete curve;
    }
    m_loops.push_back(std::move(loop));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::appendLoop(Adesk::Int32 loopType, const AcDbObjectIdArray& dbObjIds) {
    if (dbObjIds.isEmpty()) return Acad::eInvalidInput;
    Loop loop;
    AcGeMatrix3d toPlane = planeToWorld().inverse();
    for (AcDbObjectId id : dbObjIds) {
        // A closed boundary is opened for read; one the caller holds open is only read.
        AcDbEntity* opened = nullptr;
        const bool openedHere = acdbOpenObject(opened, id, AcDb::kForRead) == Acad::eOk;
        auto* entity = id.isValid() && !id.isErased() ? AcDbEntity::cast(id.stub()->object) : nullptr;
        const bool followed = entity && edgesOf(entity, toPlane, loop.edges, loop.vertices, loop.bulges);
        if (openedHere) opened->close();
        if (!followed) return Acad::eInvalidInput;
    }
    if (!loop.vertices.empty() && !loop.edges.empty())
        return Acad::eInvalidInput; // a polyline boundary stands alone in its loop
    assertWriteEnabled();
    loop.type = loopType | (loop.vertices.empty() ? 0 : kPolyline);
    if (m_associative) loop.sources.assign(dbObjIds.begin(), dbObjIds.end());
    m_loops.push_back(std::move(loop));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::removeLoopAt(int index) {
    if (index < 0 || index >= numLoops()) return Acad::eInvalidIndex;
    assertWriteEnabled();
    m_loops.erase(m_loops.begin() + index);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getLoopAt(int index, Adesk::Int32& loopType, AcGePoint2dArray& vertices,
                                       AcGeDoubleArray& bulges) const {
    if (index < 0 || index >= numLoops() || !m_loops[index].isPolyline()) return Acad::eInvalidInput;
    const Loop& loop = m_loops[index];
    loopType = loop.type;
    vertices.removeAll();
    bulges.removeAll();
    for (const AcGePoint2d& p : loop.vertices)
        vertices.append(p);
    for (double b : loop.bulges)
        bulges.append(b);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getLoopAt(int index, Adesk::Int32& loopType, AcGeVoidPointerArray& edgePtrs,
                                       AcGeIntArray& edgeTypes) const {
    if (index < 0 || index >= numLoops() || m_loops[index].isPolyline()) return Acad::eInvalidInput;
    loopType = m_loops[index].type;
    edgePtrs.removeAll();
    edgeTypes.removeAll();
    for (const Edge& edge : m_loops[index].edges) {
        edgePtrs.append(std::visit([](const auto& e) -> void* { return e.copy(); }, edge));
        edgeTypes.append(static_cast<int>(edge.index()) + kLine);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getAssocObjIdsAt(int index, AcDbObjectIdArray& ids) const {
    if (index < 0 || index >= numLoops()) return Acad::eInvalidIndex;
    ids.removeAll();
    for (AcDbObjectId id : m_loops[index].sources)
        ids.append(id);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getAssocObjIds(AcDbObjectIdArray& ids) const {
    ids.removeAll();
    for (const Loop& loop : m_loops)
        for (AcDbObjectId id : loop.sources)
            ids.append(id);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setAssociative(bool associative) {
    assertWriteEnabled();
    m_associative = associative;
    if (!associative)
        for (Loop& loop : m_loops)
            loop.sources.clear();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setPattern(HatchPatternType type, const ACHAR* name) {
    if (!name || !*name) return Acad::eInvalidInput;
    assertWriteEnabled();
    if (type != m_patternType || m_patternName != name) m_definitions.clear();
    m_patternType = type;
    m_patternName = name;
    return Acad::eOk;
}

bool AcDbHatch::isSolidFill() const {
    return m_patternName == L"SOLID";
}

// A new angle or scale turns or scales the pattern's lines about the plane's origin, where they were made.

Acad::ErrorStatus AcDbHatch::setPatternAngle(double angle) {
    if (!std::isfinite(angle)) return Acad::eInvalidInput;
    const AcGeMatrix3d turn = AcGeMatrix3d::rotation(angle - m_angle, AcGeVector3d::kZAxis);
    setField(m_angle, angle);
    for (host::PatternLine& line : m_definitions)
        line = host::transformed(line, turn, 1);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setPatternScale(double scale) {
    const double factor = scale / m_scale;
    if (Acad::ErrorStatus es = setPositiveField(m_scale, scale); es != Acad::eOk) return es;
    for (host::PatternLine& line : m_definitions)
        line = host::transformed(line, AcGeMatrix3d::scaling(factor), factor);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::setPatternSpace(double space) {
    Acad::ErrorStatus es = setPositiveField(m_space, space);
    if (es == Acad::eOk && m_patternType == kUserDefined) m_definitions.clear();
    return es;
}

Acad::ErrorStatus AcDbHatch::setPatternDouble(bool isDouble) {
    setField(m_double, isDouble);
    if (m_patternType == kUserDefined) m_definitions.clear();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getPatternDefinitionAt(int index, double& angle, double& baseX, double& baseY,
                                                    double& offsetX, double& offsetY,
                                                    AcGeDoubleArray& dashes) const {
    if (index < 0 || index >= numPatternDefinitions()) return Acad::eInvalidIndex;
    const host::PatternLine& line = m_definitions[static_cast<std::size_t>(index)];
    angle = line.angle;
    baseX = line.base.x;
    baseY = line.base.y;
    offsetX = line.offset.x;
    offsetY = line.offset.y;
    dashes.setLogicalLength(0);
    for (double d : line.dashes)
        dashes.append(d);
    return Acad::eOk;
}

std::vector<host::PatternLine> AcDbHatch::patternLines(bool crossed) const {
    if (!m_definitions.empty() || m_patternType != kUserDefined) return m_definitions;
    auto line = [this](double angle) {
        return host::PatternLine{
            angle, AcGePoint2d(0, 0), AcGeVector2d(-std::sin(angle), std::cos(angle)) * m_space, {}};
    };
    std::vector<host::PatternLine> lines = {line(m_angle)};
    if (crossed && m_double) lines.push_back(line(m_angle + std::numbers::pi / 2));
    return lines;
}

Acad::ErrorStatus AcDbHatch::setHatchStyle(HatchStyle style) {
    return setField(m_style, style);
}

Acad::ErrorStatus AcDbHatch::setNormal(const AcGeVector3d& normal) {
    return setNormalField(m_normal, normal);
}

Acad::ErrorStatus AcDbHatch::setElevation(double elevation) {
    return setField(m_elevation, elevation);
}

Acad::ErrorStatus AcDbHatch::evaluateHatch(bool) {
    return Acad::eOk;
}

AcGePoint3dArray AcDbHatch::outline(const Loop& loop) const {
    AcGePoint3dArray points;
    if (loop.isPolyline()) {
        std::size_t n = loop.vertices.size();
        for (std::size_t i = 0; i < n; ++i) {
            const AcGePoint2d &a = loop.vertices[i], &b = loop.vertices[(i + 1) % n];
            host::appendBulgeSegment(points, AcGePoint3d(a.x, a.y, 0), AcGePoint3d(b.x, b.y, 0),
                                     loop.bulges[i], host::kDefaultDeviation);
        }
    } else {
        for (const Edge& edge : loop.edges)
            std::visit([&](const auto& e) { appendEdge(points, e); }, edge);
    }
    return points;
}

bool AcDbHatch::subWorldDraw(AcGiWorldDraw* draw) {
    // A pattern far finer than its hatch draws this many dashes at most.
    constexpr std::size_t kMostDashes = 100'000;
    const AcGeMatrix3d toWorld = planeToWorld();
    const std::vector<host::PatternLine> lines = patternLines(true);
    std::vector<std::vector<AcGePoint2d>> loops;
    for (const Loop& loop : m_loops) {
        AcGePoint3dArray points = outline(loop);
        if (points.length() < 3) continue;
        loops.emplace_back();
        for (const AcGePoint3d& p : points)
            loops.back().push_back(p.convert2d());
        if (!isSolidFill() && !lines.empty()) continue;
        for (AcGePoint3d& p : points)
            p.transformBy(toWorld);
        if (isSolidFill()) {
            draw->geometry().polygon(static_cast<Adesk::UInt32>(points.length()), points.asArrayPtr());
        } else {
            const AcGePoint3d start = points.first();
            points.append(start);
            draw->geometry().polyline(static_cast<Adesk::UInt32>(points.length()), points.asArrayPtr());
        }
    }
    if (isSolidFill()) return true;
    for (const host::PatternSegment& segment : host::patternSegments(lines, loops, kMostDashes)) {
        const AcGePoint3d ends[2] = {AcGePoint3d(segment[0].x, segment[0].y, 0).transformBy(toWorld),
                                     AcGePoint3d(segment[1].x, segment[1].y, 0).transformBy(toWorld)};
        draw->geometry().polyline(2, ends);
    }
    return true;
}

Acad::ErrorStatus AcDbHatch::subGetGeomExtents(AcDbExtents& extents) const {
    AcGeMatrix3d toWorld = planeToWorld();
    bool any = false;
    for (const Loop& loop : m_loops)
        for (AcGePoint3d p : outline(loop)) {
            extents.addPoint(p.transformBy(toWorld));
            any = true;
        }
    return any ? Acad::eOk : Acad::eInvalidExtents;
}

Acad::ErrorStatus AcDbHatch::subTransformBy(const AcGeMatrix3d& xform) {
    // Polyline loops move as points with bulges; edge loops are replaced by their outline as lines.
    std::optional<host::PlaneTransform> plane = host::PlaneTransform::of(m_normal, m_elevation, xform);
    if (!plane) return Acad::eInvalidInput;
    assertWriteEnabled();
    AcGeMatrix3d toWorld = planeToWorld();
    m_normal = plane->normal();
    m_elevation = plane->apply(AcGePoint2d()).z;
    AcGeMatrix3d step = planeToWorld().inverse() * xform * toWorld;
    auto move = [&](const AcGePoint2d& p) { return AcGePoint3d(p.x, p.y, 0).transformBy(step).convert2d(); };
    for (Loop& loop : m_loops) {
        if (!loop.isPolyline()) {
            AcGePoint3dArray points = outline(loop);
            loop.edges.clear();
            for (int i = 0; i < points.length(); ++i)
                loop.vertices.push_back(points[i].convert2d());
            loop.bulges.assign(loop.vertices.size(), 0.0);
            loop.type |= kPolyline;
        }
        for (AcGePoint2d& p : loop.vertices)
            p = move(p);
        if (plane->mirrored())
            for (double& b : loop.bulges)
                b = -b;
    }
    for (host::PatternLine& line : m_definitions)
        line = host::transformed(line, step, plane->scale());
    m_scale *= plane->scale();
    return Acad::eOk;
}

// Binary filing: the pattern, then each loop with its kind, geometry and sources; an edge is its kind and
// its defining values. Then the seeds and the pattern's lines: a flag in the seeds' count says that the
// lines follow, since records written before they were kept end with the seeds.

namespace {
constexpr Adesk::Int32 kPatternLinesFollow = 0x40000000;
}

void AcDbHatch::writeEdge(AcDbDwgFiler* filer, const Edge& edge) {
    filer->writeInt16(static_cast<Adesk::Int16>(edge.index() + kLine));
    std::visit(
        [filer](const auto& e) {
            using T = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<T, AcGeLineSeg2d>) {
                filer->writePoint2d(e.startPoint());
                filer->writePoint2d(e.endPoint());
            } else if constexpr (std::is_same_v<T, AcGeCircArc2d>) {
                filer->writePoint2d(e.center());
                filer->writeDouble(e.radius());
                filer->writeDouble(e.startAng());
                filer->writeDouble(e.endAng());
                filer->writeBool(e.isClockWise());
            } else if constexpr (std::is_same_v<T, AcGeNurbCurve2d>) {
                const host::BSpline& c = e.nurbs();
                filer->writeInt16(static_cast<Adesk::Int16>(c.degree));
                for (const std::vector<double>* values : {&c.knots, &c.weights})
                    host::writeCounted(filer, *values, [filer](double v) { filer->writeDouble(v); });
                host::writeCounted(filer, c.controlPoints,
                                   [filer](const AcGePoint3d& p) { filer->writePoint2d(p.convert2d()); });
                host::writeCounted(filer, e.fitPoints(),
                                   [filer](const AcGePoint2d& p) { filer->writePoint2d(p); });
            } else {
                filer->writePoint2d(e.center());
                filer->writeVector2d(e.majorAxis());
                filer->writeDouble(e.majorRadius());
                filer->writeDouble(e.minorRadius());
                filer->writeDouble(e.startAng());
                filer->writeDouble(e.endAng());
                filer->writeBool(e.isClockWise());
            }
        },
        edge);
}

AcDbHatch::Edge AcDbHatch::readEdge(AcDbDwgFiler* filer) {
    Adesk::Int16 kind = 0;
    AcGePoint2d a, b;
    AcGeVector2d major;
    double r1 = 0, r2 = 0, start = 0, end = 0;
    bool clockwise = false;
    filer->readInt16(&kind);
    if (kind == kSpline) return readSplineEdge(filer);
    filer->readPoint2d(&a);
    if (kind == kLine) {
        filer->readPoint2d(&b);
        return AcGeLineSeg2d(a, b);
    }
    if (kind == kEllArc) {
        filer->readVector2d(&major);
        filer->readDouble(&r1);
    }
    filer->readDouble(kind == kEllArc ? &r2 : &r1);
    filer->readDouble(&start);
    filer->readDouble(&end);
    filer->readBool(&clockwise);
    if (kind == kCirArc) return AcGeCircArc2d(a, r1, start, end, clockwise);
    return AcGeEllipArc2d(a, major, r1, r2, start, end, clockwise);
}

AcGeNurbCurve2d AcDbHatch::readSplineEdge(AcDbDwgFiler* filer) {
    host::BSpline c;
    Adesk::Int16 degree = 3;
    filer->readInt16(&degree);
    c.degree = degree;
    for (std::vector<double>* values : {&c.knots, &c.weights})
        host::readCounted(filer, [&] {
            double v = 0;
            filer->readDouble(&v);
            values->push_back(v);
        });
    host::readCounted(filer, [&] {
        AcGePoint2d p;
        filer->readPoint2d(&p);
        c.controlPoints.emplace_back(p.x, p.y, 0);
    });
    std::vector<AcGePoint2d> fit;
    host::readCounted(filer, [&] {
        AcGePoint2d p;
        filer->readPoint2d(&p);
        fit.push_back(p);
    });
    return AcGeNurbCurve2d(std::move(c), std::move(fit));
}

Acad::ErrorStatus AcDbHatch::dwgInFields(AcDbDwgFiler* filer) {
    AcDbEntity::dwgInFields(filer);
    Adesk::Int16 type = 0, style = 0;
    filer->readString(m_patternName);
    filer->readInt16(&type);
    filer->readInt16(&style);
    filer->readBool(&m_associative);
    filer->readBool(&m_double);
    filer->readDouble(&m_angle);
    filer->readDouble(&m_scale);
    filer->readDouble(&m_space);
    filer->readDouble(&m_elevation);
    readNormal(filer, m_normal);
    m_patternType = patternTypeOrDefault(type);
    m_style = styleOrDefault(style);
    m_loops.clear();
    host::readCounted(filer, [&] {
        Loop loop;
        filer->readInt32(&loop.type);
        host::readCounted(filer, [&] {
            if (!loop.isPolyline()) {
                loop.edges.push_back(readEdge(filer));
                return;
            }
            AcGePoint2d p;
            double b = 0;
            filer->readPoint2d(&p);
            filer->readDouble(&b);
            loop.vertices.push_back(p);
            loop.bulges.push_back(b);
        });
        filer->readIdList(loop.sources);
        m_loops.push_back(std::move(loop));
    });
    m_seeds.clear();
    Adesk::Int32 seeds = 0;
    filer->readInt32(&seeds);
    const bool linesFollow = seeds & kPatternLinesFollow;
    seeds &= ~kPatternLinesFollow;
    for (Adesk::Int32 i = 0; i < seeds && filer->filerStatus() == Acad::eOk; ++i)
        filer->readPoint2d(&m_seeds.emplace_back());
    m_definitions.clear();
    if (!linesFollow) return filer->filerStatus();
    host::readCounted(filer, [&] {
        host::PatternLine& line = m_definitions.emplace_back();
        filer->readDouble(&line.angle);
        filer->readPoint2d(&line.base);
        filer->readVector2d(&line.offset);
        host::readCounted(filer, [&] { filer->readDouble(&line.dashes.emplace_back()); });
    });
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbHatch::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbEntity::dwgOutFields(filer);
    filer->writeString(m_patternName);
    filer->writeInt16(static_cast<Adesk::Int16>(m_patternType));
    filer->writeInt16(static_cast<Adesk::Int16>(m_style));
    filer->writeBool(m_associative);
    filer->writeBool(m_double);
    filer->writeDouble(m_angle);
    filer->writeDouble(m_scale);
    filer->writeDouble(m_space);
    filer->writeDouble(m_elevation);
    filer->writeVector3d(m_normal);
    host::writeCounted(filer, m_loops, [filer](const Loop& loop) {
        filer->writeInt32(loop.type);
        if (loop.isPolyline()) {
            filer->writeInt32(static_cast<Adesk::Int32>(loop.vertices.size()));
            for (std::size_t k = 0; k < loop.vertices.size(); ++k) {
                filer->writePoint2d(loop.vertices[k]);
                filer->writeDouble(loop.bulges[k]);
            }
        } else {
            host::writeCounted(filer, loop.edges, [filer](const Edge& edge) { writeEdge(filer, edge); });
        }
        filer->writeIdList(loop.sources);
    });
    filer->writeInt32(static_cast<Adesk::Int32>(m_seeds.size()) | kPatternLinesFollow);
    for (const AcGePoint2d& p : m_seeds)
        filer->writePoint2d(p);
    host::writeCounted(filer, m_definitions, [filer](const host::PatternLine& line) {
        filer->writeDouble(line.angle);
        filer->writePoint2d(line.base);
        filer->writeVector2d(line.offset);
        host::writeCounted(filer, line.dashes, [filer](double d) { filer->writeDouble(d); });
    });
    return filer->filerStatus();
}

// DXF: the groups follow a fixed order (loops, then pattern, then seed points).

Acad::ErrorStatus AcDbHatch::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer); es != Acad::eOk) return es;
    std::vector<host::Group> groups;
    Acad::ErrorStatus es =
        readSubclass(filer, L"AcDbHatch", [&](const resbuf& rb) { groups.push_back(host::fromResbuf(rb)); });
    if (es != Acad::eOk) return es;
    std::size_t at = 0;
    auto next = [&](short code) -> const host::Group* {
        return at < groups.size() && groups[at].code == code ? &groups[at++] : nullptr;
    };
    auto point = [&](short code) {
        const host::Group* g = next(code);
        return g ? g->point().convert2d() : AcGePoint2d();
    };
    auto real = [&](short code, double fallback = 0) {
        const host::Group* g = next(code);
        return g ? g->real() : fallback;
    };
    auto integer = [&](short code, Adesk::Int64 fallback = 0) {
        const host::Group* g = next(code);
        return g ? g->integer() : fallback;
    };
    // The counts written (91, 93, 95 to 98, 78, 79) are not trusted: a list holds the items that are there,
    // each starting with its own group.
    auto each = [&](short code, auto readItem) {
        while (at < groups.size() && groups[at].code == code)
            readItem();
    };
    m_loops.clear();
    m_seeds.clear();
    bool badEdge = false; // an edge of a kind that does not exist
    // Header.
    if (const host::Group* g = next(10)) m_elevation = g->point().z;
    if (const host::Group* g = next(210))
        m_normal = unitAlong(AcGeVector3d(g->point().x, g->point().y, g->point().z)).value_or(m_normal);
    if (const host::Group* g = next(2)) m_patternName = g->text();
    next(70);
    m_associative = integer(71) != 0;
    next(91);
    each(92, [&] {
        Loop loop;
        loop.type = static_cast<Adesk::Int32>(integer(92));
        if (loop.isPolyline()) {
            next(72); // whether bulges follow: a vertex takes the one that does
            next(73);
            next(93);
            each(10, [&] {
                loop.vertices.push_back(point(10));
                loop.bulges.push_back(real(42));
            });
        } else {
            next(93);
            each(72, [&] {
                Adesk::Int64 kind = integer(72);
                if (kind == kLine) {
                    AcGePoint2d a = point(10);
                    loop.edges.emplace_back(AcGeLineSeg2d(a, point(11)));
                } else if (kind == kCirArc) {
                    AcGePoint2d c = point(10);
                    double r = real(40), s = real(50) / host::kDegrees, e = real(51) / host::kDegrees;
                    loop.edges.emplace_back(AcGeCircArc2d(c, r, s, e, integer(73, 1) == 0));
                } else if (kind == kEllArc) {
                    AcGePoint2d c = point(10), m = point(11);
                    AcGeVector2d major(m.x, m.y);
                    double ratio = real(40), s = real(50) / host::kDegrees, e = real(51) / host::kDegrees;
                    loop.edges.emplace_back(AcGeEllipArc2d(c, major, major.length(), major.length() * ratio,
                                                           s, e, integer(73, 1) == 0));
                } else if (kind == kSpline) {
                    host::BSpline c;
                    c.degree = static_cast<int>(integer(94, 3));
                    bool rational = integer(73) != 0;
                    next(74);
                    next(95);
                    next(96);
                    each(40, [&] { c.knots.push_back(real(40)); });
                    each(10, [&] {
                        AcGePoint2d p = point(10);
                        c.controlPoints.emplace_back(p.x, p.y, 0);
                        if (const host::Group* w = next(42)) c.weights.push_back(w->real());
                    });
                    if (!rational) c.weights.clear();
                    std::vector<AcGePoint2d> fit;
                    next(97);
                    each(11, [&] { fit.push_back(point(11)); });
                    next(12);
                    next(13);
                    loop.edges.emplace_back(AcGeNurbCurve2d(std::move(c), std::move(fit)));
                } else {
                    badEdge = true;
                    at = groups.size();
                }
            });
        }
        next(97);
        each(330, [&] {
            AcDbObjectId id;
            if (AcDbDatabase* db = filer->database()) db->getAcDbObjectId(id, true, next(330)->handle());
            loop.sources.push_back(id);
        });
        m_loops.push_back(std::move(loop));
    });
    if (badEdge) return Acad::eBadDxfSequence;
    m_style = styleOrDefault(integer(75));
    m_patternType = patternTypeOrDefault(integer(76, kPreDefined));
    // The remaining groups (pattern angle, scale, double, definition lines, seeds) may come in any order;
    // the groups of the definition lines follow their count in their own order.
    m_definitions.clear();
    while (at < groups.size()) {
        const host::Group& g = groups[at++];
        if (g.code == 52) {
            m_angle = g.real() / host::kDegrees;
        } else if (g.code == 41) {
            m_scale = g.real();
        } else if (g.code == 77) {
            m_double = g.integer() != 0;
        } else if (g.code == 78) {
            each(53, [&] {
                host::PatternLine& line = m_definitions.emplace_back();
                // One group after the other: the groups are taken in their order.
                line.angle = real(53) / host::kDegrees;
                line.base.x = real(43);
                line.base.y = real(44);
                line.offset.x = real(45);
                line.offset.y = real(46);
                next(79);
                each(49, [&] { line.dashes.push_back(real(49)); });
            });
        } else if (g.code == 10) {
            m_seeds.push_back(g.point().convert2d());
        }
    }
    if (m_patternType == kUserDefined && !m_definitions.empty() && m_definitions.front().offset.length() > 0)
        m_space = m_definitions.front().offset.length();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbEntity::dxfOutFields(filer);
    filer->writeString(100, L"AcDbHatch");
    filer->writePoint3d(10, AcGePoint3d(0, 0, m_elevation));
    filer->writeVector3d(210, m_normal);
    filer->writeString(2, m_patternName);
    filer->writeInt16(70, isSolidFill() ? 1 : 0);
    filer->writeInt16(71, m_associative ? 1 : 0);
    filer->writeInt32(91, static_cast<Adesk::Int32>(m_loops.size()));
    for (const Loop& loop : m_loops) {
        filer->writeInt32(92, loop.type);
        if (loop.isPolyline()) {
            bool bulged =
                std::any_of(loop.bulges.begin(), loop.bulges.end(), [](double b) { return b != 0; });
            filer->writeInt16(72, bulged ? 1 : 0);
            filer->writeInt16(73, 1);
            filer->writeInt32(93, static_cast<Adesk::Int32>(loop.vertices.size()));
            for (std::size_t k = 0; k < loop.vertices.size(); ++k) {
                filer->writePoint2d(10, loop.vertices[k]);
                if (bulged) filer->writeDouble(42, loop.bulges[k]);
            }
        } else {
            filer->writeInt32(93, static_cast<Adesk::Int32>(loop.edges.size()));
            for (const Edge& edge : loop.edges) {
                filer->writeInt16(72, static_cast<Adesk::Int16>(edge.index() + kLine));
                std::visit(
                    [filer](const auto& e) {
                        using T = std::decay_t<decltype(e)>;
                        if constexpr (std::is_same_v<T, AcGeLineSeg2d>) {
                            filer->writePoint2d(10, e.startPoint());
                            filer->writePoint2d(11, e.endPoint());
                        } else if constexpr (std::is_same_v<T, AcGeCircArc2d>) {
                            filer->writePoint2d(10, e.center());
                            filer->writeDouble(40, e.radius());
                            filer->writeDouble(50, e.startAng() * host::kDegrees);
                            filer->writeDouble(51, e.endAng() * host::kDegrees);
                            filer->writeInt16(73, e.isClockWise() ? 0 : 1);
                        } else if constexpr (std::is_same_v<T, AcGeNurbCurve2d>) {
                            const host::BSpline& c = e.nurbs();
                            filer->writeInt32(94, c.degree);
                            filer->writeInt16(73, c.weights.empty() ? 0 : 1);
                            filer->writeInt16(74, 0);
                            filer->writeInt32(95, static_cast<Adesk::Int32>(c.knots.size()));
                            filer->writeInt32(96, static_cast<Adesk::Int32>(c.controlPoints.size()));
                            for (double k : c.knots)
                                filer->writeDouble(40, k);
                            for (std::size_t j = 0; j < c.controlPoints.size(); ++j) {
                                filer->writePoint2d(10, c.controlPoints[j].convert2d());
                                if (!c.weights.empty()) filer->writeDouble(42, c.weights[j]);
                            }
                            filer->writeInt32(97, static_cast<Adesk::Int32>(e.fitPoints().size()));
                            for (const AcGePoint2d& p : e.fitPoints())
                                filer->writePoint2d(11, p);
                        } else {
                            AcGeVector2d major = e.majorAxis();
                            double length = major.length();
                            major = length > 0 ? major * (e.majorRadius() / length) : major;
                            filer->writePoint2d(10, e.center());
                            filer->writePoint2d(11, AcGePoint2d(major.x, major.y));
                            filer->writeDouble(40,
                                               e.majorRadius() > 0 ? e.minorRadius() / e.majorRadius() : 1);
                            filer->writeDouble(50, e.startAng() * host::kDegrees);
                            filer->writeDouble(51, e.endAng() * host::kDegrees);
                            filer->writeInt16(73, e.isClockWise() ? 0 : 1);
                        }
                    },
                    edge);
            }
        }
        filer->writeInt32(97, static_cast<Adesk::Int32>(loop.sources.size()));
        for (AcDbObjectId id : loop.sources)
            filer->writeObjectId(330, id);
    }
    filer->writeInt16(75, static_cast<Adesk::Int16>(m_style));
    filer->writeInt16(76, static_cast<Adesk::Int16>(m_patternType));
    if (!isSolidFill()) {
        filer->writeDouble(52, m_angle * host::kDegrees);
        filer->writeDouble(41, m_scale);
        filer->writeInt16(77, m_double ? 1 : 0);
        // A user-defined pattern is its one line: the spacing is the offset between its copies.
        const std::vector<host::PatternLine> lines = patternLines(false);
        filer->writeInt16(78, static_cast<Adesk::Int16>(lines.size()));
        for (const host::PatternLine& line : lines) {
            filer->writeDouble(53, line.angle * host::kDegrees);
            filer->writeDouble(43, line.base.x);
            filer->writeDouble(44, line.base.y);
            filer->writeDouble(45, line.offset.x);
            filer->writeDouble(46, line.offset.y);
            filer->writeInt16(79, static_cast<Adesk::Int16>(line.dashes.size()));
            for (double d : line.dashes)
                filer->writeDouble(49, d);
        }
    }
    filer->writeInt32(98, static_cast<Adesk::Int32>(m_seeds.size()));
    for (const AcGePoint2d& p : m_seeds)
        filer->writePoint2d(10, p);
    return filer->filerStatus();
}
