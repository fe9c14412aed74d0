#include "host/entities/meshes.h"

#include <algorithm>
#include <limits>

#include "host/db/enum_values.h"
#include "host/entities/line.h"
#include "host/entities/point_ray_face.h"
#include "host/filing/dwg_filer.h"

HOST_DEFINE_MEMBERS(AcDbPolyFaceMesh, AcDbEntity, L"POLYLINE")
HOST_DEFINE_MEMBERS(AcDbPolygonMesh, AcDbEntity, L"POLYLINE")

namespace {
// Polyline flags of drawing files that meshes use.
constexpr Adesk::Int16 kClosedInM = 1, kSurfaceFit = 4, kPolygonMesh = 16, kClosedInN = 32,
                       kPolyFaceMesh = 64;

// A count as drawing files hold it (a 16-bit group), kept at its largest where it is more.
Adesk::Int16 fileCount(std::size_t count) {
    return static_cast<Adesk::Int16>(std::min<std::size_t>(count, std::numeric_limits<Adesk::Int16>::max()));
}

// The groups a mesh writes before its own: the polyline's, with the vertices that follow (66) and its
// elevation, always 0 for a mesh.
void writeMeshStart(AcDbDxfFiler* filer, const wchar_t* subclass, Adesk::Int16 flags) {
    filer->writeString(100, subclass);
    filer->writeInt16(66, 1);
    filer->writePoint3d(10, AcGePoint3d());
    filer->writeInt16(70, flags);
}

void drawLine(AcGiWorldDraw* draw, std::vector<AcGePoint3d> points, bool closed) {
    if (closed && points.size() > 2) points.push_back(points.front());
    draw->geometry().polyline(static_cast<Adesk::UInt32>(points.size()), points.data());
}
} // namespace

// Polyface meshes.

Acad::ErrorStatus AcDbPolyFaceMesh::appendVertex(AcDbPolyFaceMeshVertex* vertex) {
    AcDbObjectId id;
    return appendVertex(id, vertex);
}

Acad::ErrorStatus AcDbPolyFaceMesh::appendVertex(AcDbObjectId& id, AcDbPolyFaceMeshVertex* vertex) {
    return m_sequence.append(this, vertex, id);
}

Acad::ErrorStatus AcDbPolyFaceMesh::appendFaceRecord(AcDbFaceRecord* face) {
    AcDbObjectId id;
    return appendFaceRecord(id, face);
}

Acad::ErrorStatus AcDbPolyFaceMesh::appendFaceRecord(AcDbObjectId& id, AcDbFaceRecord* face) {
    return m_sequence.append(this, face, id);
}

AcDbPolyFaceMesh::Faces AcDbPolyFaceMesh::faces() const {
    Faces all;
    for (AcDbVertex* part : m_sequence.vertices())
        if (const AcDbFaceRecord* face = AcDbFaceRecord::cast(part))
            all.records.push_back(face);
        else
            all.points.push_back(part->position());
    return all;
}

Adesk::Int16 AcDbPolyFaceMesh::numVertices() const {
    return fileCount(faces().points.size());
}

Adesk::Int16 AcDbPolyFaceMesh::numFaces() const {
    return fileCount(faces().records.size());
}

std::vector<AcGePoint3d> AcDbPolyFaceMesh::cornerPoints(const Faces& all, const AcDbFaceRecord& face) {
    std::vector<AcGePoint3d> points;
    for (int number : face.corners()) {
        if (number > static_cast<int>(all.points.size())) return {};
        points.push_back(all.points[static_cast<std::size_t>(number - 1)]);
    }
    return points;
}

bool AcDbPolyFaceMesh::subWorldDraw(AcGiWorldDraw* draw) {
    const Faces all = faces();
    for (const AcDbFaceRecord* face : all.records) {
        const std::vector<AcGePoint3d> corners = cornerPoints(all, *face);
        if (corners.size() == 1) draw->geometry().polyline(1, corners.data());
        // Two corners make one edge, not one there and back.
        const std::size_t edges = corners.size() == 2 ? 1 : corners.size() < 2 ? 0 : corners.size();
        for (std::size_t i = 0; i < edges; ++i) {
            bool visible = true;
            face->isEdgeVisibleAt(static_cast<Adesk::UInt16>(i), visible);
            const AcGePoint3d edge[2] = {corners[i], corners[(i + 1) % corners.size()]};
            if (visible) draw->geometry().polyline(2, edge);
        }
    }
    return true;
}

Acad::ErrorStatus AcDbPolyFaceMesh::subGetGeomExtents(AcDbExtents& extents) const {
    const std::vector<AcGePoint3d> points = faces().points;
    if (points.empty()) return Acad::eInvalidExtents;
    for (const AcGePoint3d& p : points)
        extents.addPoint(p);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyFaceMesh::subTransformBy(const AcGeMatrix3d& xform) {
    assertWriteEnabled();
    m_sequence.changeParts<AcDbVertex>([&](AcDbVertex* v) {
        if (!AcDbFaceRecord::cast(v)) v->setPosition(v->position().transformBy(xform));
    });
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyFaceMesh::subExplode(AcDbVoidPtrArray& entities) const {
    assertReadEnabled();
    const Faces all = faces();
    for (const AcDbFaceRecord* face : all.records) {
        const std::vector<AcGePoint3d> c = cornerPoints(all, *face);
        AcDbEntity* part = nullptr;
        if (c.size() == 1) {
            part = new AcDbPoint(c[0]);
        } else if (c.size() == 2) {
            part = new AcDbLine(c[0], c[1]);
        } else if (c.size() > 2) {
            auto* made = new AcDbFace(c[0], c[1], c[2], c.size() > 3 ? c[3] : c[2]);
            for (Adesk::UInt16 i = 0; i < c.size(); ++i)
                if (bool visible = true; face->isEdgeVisibleAt(i, visible) == Acad::eOk && !visible)
                    made->makeEdgeInvisibleAt(i);
            part = made;
        }
        if (!part) continue;
        part->setPropertiesFrom(face);
        entities.append(part);
    }
    return Acad::eOk;
}

std::optional<host::SequenceFault> AcDbPolyFaceMesh::sequenceFault() const {
    const std::vector<AcDbVertex*> parts = m_sequence.vertices();
    const auto points = static_cast<std::size_t>(
        std::ranges::count_if(parts, [](AcDbVertex* v) { return !AcDbFaceRecord::cast(v); }));
    for (std::size_t i = 0; i < parts.size(); ++i)
        if (const AcDbFaceRecord* face = AcDbFaceRecord::cast(parts[i]))
            for (int number : face->corners())
                if (static_cast<std::size_t>(number) > points)
                    return host::SequenceFault{i, "a face names vertex " + std::to_string(number) +
                                                      " of a mesh of " + std::to_string(points) +
                                                      " vertices"};
    return std::nullopt;
}

Acad::ErrorStatus AcDbPolyFaceMesh::dwgInFields(AcDbDwgFiler* filer) {
    AcDbEntity::dwgInFields(filer);
    AcRxClass* const kinds[] = {AcDbPolyFaceMeshVertex::desc(), AcDbFaceRecord::desc()};
    m_sequence.dwgIn(filer, kinds);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbPolyFaceMesh::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbEntity::dwgOutFields(filer);
    AcRxClass* const kinds[] = {AcDbPolyFaceMeshVertex::desc(), AcDbFaceRecord::desc()};
    m_sequence.dwgOut(filer, kinds);
    return filer->filerStatus();
}

// The counts of vertices and faces (71, 72) are not trusted: others write them wrong, and the parts read
// are what the mesh holds.
Acad::ErrorStatus AcDbPolyFaceMesh::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer); es != Acad::eOk) return es;
    return readSubclass(filer, L"AcDbPolyFaceMesh", [](const resbuf&) {});
}

Acad::ErrorStatus AcDbPolyFaceMesh::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbEntity::dxfOutFields(filer);
    const Faces all = faces();
    writeMeshStart(filer, L"AcDbPolyFaceMesh", kPolyFaceMesh);
    filer->writeInt16(71, fileCount(all.points.size()));
    return filer->writeInt16(72, fileCount(all.records.size()));
}

// Polygon meshes.

AcDbPolygonMesh::AcDbPolygonMesh(AcDb::PolyMeshType type, Adesk::Int16 mSize, Adesk::Int16 nSize,
                                 const AcGePoint3dArray& vertices, bool mClosed, bool nClosed)
    : m_type(type), m_mSize(mSize), m_nSize(nSize), m_mClosed(mClosed), m_nClosed(nClosed) {
    for (const AcGePoint3d& p : vertices)
        appendVertex(new AcDbPolygonMeshVertex(p));
}

Acad::ErrorStatus AcDbPolygonMesh::appendVertex(AcDbPolygonMeshVertex* vertex) {
    AcDbObjectId id;
    return appendVertex(id, vertex);
}

Acad::ErrorStatus AcDbPolygonMesh::appendVertex(AcDbObjectId& id, AcDbPolygonMeshVertex* vertex) {
    return m_sequence.append(this, vertex, id);
}

Acad::ErrorStatus AcDbPolygonMesh::setPolyMeshType(AcDb::PolyMeshType type) {
    return setField(m_type, type);
}

Acad::ErrorStatus AcDbPolygonMesh::setMSize(Adesk::Int16 size) {
    return size < 0 ? Acad::eInvalidInput : setField(m_mSize, size);
}

Acad::ErrorStatus AcDbPolygonMesh::setNSize(Adesk::Int16 size) {
    return size < 0 ? Acad::eInvalidInput : setField(m_nSize, size);
}

Acad::ErrorStatus AcDbPolygonMesh::setMSurfaceDensity(Adesk::Int16 density) {
    return density < 0 ? Acad::eInvalidInput : setField(m_mDensity, density);
}

Acad::ErrorStatus AcDbPolygonMesh::setNSurfaceDensity(Adesk::Int16 density) {
    return density < 0 ? Acad::eInvalidInput : setField(m_nDensity, density);
}

std::vector<AcGePoint3d> AcDbPolygonMesh::ownPoints() const {
    std::vector<AcGePoint3d> points;
    for (AcDbVertex* v : m_sequence.vertices())
        if (static_cast<AcDbPolygonMeshVertex*>(v)->vertexType() != AcDb::k3dFitVertex)
            points.push_back(v->position());
    return points;
}

bool AcDbPolygonMesh::isGrid(std::size_t points) const {
    return m_mSize >= 0 && m_nSize >= 0 && points == static_cast<std::size_t>(m_mSize) * m_nSize;
}

std::vector<AcGePoint3d> AcDbPolygonMesh::grid() const {
    std::vector<AcGePoint3d> points = ownPoints();
    return isGrid(points.size()) ? points : std::vector<AcGePoint3d>();
}

bool AcDbPolygonMesh::subWorldDraw(AcGiWorldDraw* draw) {
    const std::vector<AcGePoint3d> points = grid();
    if (points.empty()) return true;
    const auto m = static_cast<std::size_t>(m_mSize), n = static_cast<std::size_t>(m_nSize);
    for (std::size_t i = 0; i < m; ++i)
        drawLine(draw,
                 {points.begin() + static_cast<long>(i * n), points.begin() + static_cast<long>(i * n + n)},
                 m_nClosed);
    for (std::size_t j = 0; j < n; ++j) {
        std::vector<AcGePoint3d> column;
        for (std::size_t i = 0; i < m; ++i)
            column.push_back(points[i * n + j]);
        drawLine(draw, std::move(column), m_mClosed);
    }
    return true;
}

Acad::ErrorStatus AcDbPolygonMesh::subGetGeomExtents(AcDbExtents& extents) const {
    const std::vector<AcDbVertex*> vertices = m_sequence.vertices();
    if (vertices.empty()) return Acad::eInvalidExtents;
    for (const AcDbVertex* v : vertices)
        extents.addPoint(v->position());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolygonMesh::subTransformBy(const AcGeMatrix3d& xform) {
    assertWriteEnabled();
    m_sequence.changeParts<AcDbVertex>(
        [&](AcDbVertex* v) { v->setPosition(v->position().transformBy(xform)); });
    return Acad::eOk;
}

// Cell (i, j) has its corners at (i, j), (i, j + 1), (i + 1, j + 1) and (i + 1, j); a mesh closed in a
// direction has one more cell across, back to its first row or column.
Acad::ErrorStatus AcDbPolygonMesh::subExplode(AcDbVoidPtrArray& entities) const {
    assertReadEnabled();
    const std::vector<AcGePoint3d> points = grid();
    if (points.empty()) return Acad::eOk;
    const auto m = static_cast<std::size_t>(m_mSize), n = static_cast<std::size_t>(m_nSize);
    const std::size_t rows = m_mClosed && m > 2 ? m : m - 1, columns = m_nClosed && n > 2 ? n : n - 1;
    auto at = [&](std::size_t i, std::size_t j) { return points[(i % m) * n + j % n]; };
    for (std::size_t i = 0; m > 1 && i < rows; ++i)
        for (std::size_t j = 0; n > 1 && j < columns; ++j) {
            auto* face = new AcDbFace(at(i, j), at(i, j + 1), at(i + 1, j + 1), at(i + 1, j));
            face->setPropertiesFrom(this);
            entities.append(face);
        }
    return Acad::eOk;
}

std::optional<host::SequenceFault> AcDbPolygonMesh::sequenceFault() const {
    const std::size_t own = ownPoints().size();
    if (isGrid(own)) return std::nullopt;
    return host::SequenceFault{std::string::npos, "a mesh of " + std::to_string(m_mSize) + " x " +
                                                      std::to_string(m_nSize) + " vertices holds " +
                                                      std::to_string(own)};
}

Acad::ErrorStatus AcDbPolygonMesh::dwgInFields(AcDbDwgFiler* filer) {
    AcDbEntity::dwgInFields(filer);
    Adesk::Int16 type = 0;
    filer->readInt16(&type);
    filer->readInt16(&m_mSize);
    filer->readInt16(&m_nSize);
    filer->readInt16(&m_mDensity);
    filer->readInt16(&m_nDensity);
    filer->readBool(&m_mClosed);
    filer->readBool(&m_nClosed);
    m_type = host::enumOrDefault(
        type, {AcDb::kSimpleMesh, AcDb::kQuadSurfaceMesh, AcDb::kCubicSurfaceMesh, AcDb::kBezierSurfaceMesh},
        AcDb::kSimpleMesh);
    m_sequence.dwgIn(filer, AcDbPolygonMeshVertex::desc());
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbPolygonMesh::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbEntity::dwgOutFields(filer);
    filer->writeInt16(static_cast<Adesk::Int16>(m_type));
    filer->writeInt16(m_mSize);
    filer->writeInt16(m_nSize);
    filer->writeInt16(m_mDensity);
    filer->writeInt16(m_nDensity);
    filer->writeBool(m_mClosed);
    filer->writeBool(m_nClosed);
    m_sequence.dwgOut(filer);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbPolygonMesh::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer); es != Acad::eOk) return es;
    return readSubclass(filer, L"AcDbPolygonMesh", [this](const resbuf& rb) {
        switch (rb.restype) {
        case 70:
            m_mClosed = rb.resval.rint & kClosedInM;
            m_nClosed = rb.resval.rint & kClosedInN;
            break;
        case 71:
            m_mSize = rb.resval.rint;
            break;
        case 72:
            m_nSize = rb.resval.rint;
            break;
        case 73:
            m_mDensity = rb.resval.rint;
            break;
        case 74:
            m_nDensity = rb.resval.rint;
            break;
        case 75:
            m_type = host::enumOrDefault(
                rb.resval.rint, {AcDb::kQuadSurfaceMesh, AcDb::kCubicSurfaceMesh, AcDb::kBezierSurfaceMesh},
                AcDb::kSimpleMesh);
            break;
        default:
            break;
        }
    });
}

Acad::ErrorStatus AcDbPolygonMesh::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbEntity::dxfOutFields(filer);
    const bool fitted = m_type != AcDb::kSimpleMesh;
    writeMeshStart(filer, L"AcDbPolygonMesh",
                   static_cast<Adesk::Int16>(kPolygonMesh | (m_mClosed ? kClosedInM : 0) |
                                             (m_nClosed ? kClosedInN : 0) | (fitted ? kSurfaceFit : 0)));
    filer->writeInt16(71, m_mSize);
    filer->writeInt16(72, m_nSize);
    if (m_mDensity) filer->writeInt16(73, m_mDensity);
    if (m_nDensity) filer->writeInt16(74, m_nDensity);
    if (fitted) filer->writeInt16(75, static_cast<Adesk::Int16>(m_type));
    return filer->filerStatus();
}
