#pragma once
// The meshes drawing files write as POLYLINEs: the polyface mesh (points, then faces of up to four of them
// named by number) and the polygon mesh (an M x N grid of points, which may close on itself in M and in N).
// Both own their vertices and the sequence end as the polylines do; neither is a curve.
#include <optional>

#include "host/entities/mesh_vertices.h"
#include "host/entities/polylines.h"

class AcDbPolyFaceMesh : public host::VertexOwner<AcDbEntity> {
    HOST_DECLARE_MEMBERS(AcDbPolyFaceMesh)
public:
    AcDbPolyFaceMesh() = default;
    Acad::ErrorStatus appendVertex(AcDbPolyFaceMeshVertex* vertex);
    Acad::ErrorStatus appendVertex(AcDbObjectId& id, AcDbPolyFaceMeshVertex* vertex);
    Acad::ErrorStatus appendFaceRecord(AcDbFaceRecord* face);
    Acad::ErrorStatus appendFaceRecord(AcDbObjectId& id, AcDbFaceRecord* face);
    Adesk::Int16 numVertices() const;
    Adesk::Int16 numFaces() const;

    // Each face's visible edges.
    bool subWorldDraw(AcGiWorldDraw* draw) override;
    Acad::ErrorStatus subGetGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
    // A 3-D face for each face (a line for one of two corners, a point for one of one), with the face's
    // layer and colour and its invisible edges.
    Acad::ErrorStatus subExplode(AcDbVoidPtrArray& entities) const override;
    // A face naming a vertex the mesh does not hold.
    std::optional<host::SequenceFault> sequenceFault() const override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    struct Faces {
        std::vector<AcGePoint3d> points;
        std::vector<const AcDbFaceRecord*> records;
    };
    Faces faces() const;
    // The points of a face's corners; empty when it names a vertex the mesh does not hold.
    static std::vector<AcGePoint3d> cornerPoints(const Faces& all, const AcDbFaceRecord& face);
};

class AcDbPolygonMesh : public host::VertexOwner<AcDbEntity> {
    HOST_DECLARE_MEMBERS(AcDbPolygonMesh)
public:
    AcDbPolygonMesh() = default;
    // `vertices` row after row: vertex (i, j) at i * nSize + j.
    AcDbPolygonMesh(AcDb::PolyMeshType type, Adesk::Int16 mSize, Adesk::Int16 nSize,
                    const AcGePoint3dArray& vertices, bool mClosed = true, bool nClosed = true);
    Acad::ErrorStatus appendVertex(AcDbPolygonMeshVertex* vertex);
    Acad::ErrorStatus appendVertex(AcDbObjectId& id, AcDbPolygonMeshVertex* vertex);

    AcDb::PolyMeshType polyMeshType() const { return m_type; }
    Acad::ErrorStatus setPolyMeshType(AcDb::PolyMeshType type);
    Adesk::Int16 mSize() const { return m_mSize; }
    Acad::ErrorStatus setMSize(Adesk::Int16 size);
    Adesk::Int16 nSize() const { return m_nSize; }
    Acad::ErrorStatus setNSize(Adesk::Int16 size);
    bool isMClosed() const { return m_mClosed; }
    Acad::ErrorStatus makeMClosed() { return setField(m_mClosed, true); }
    Acad::ErrorStatus makeMOpen() { return setField(m_mClosed, false); }
    bool isNClosed() const { return m_nClosed; }
    Acad::ErrorStatus makeNClosed() { return setField(m_nClosed, true); }
    Acad::ErrorStatus makeNOpen() { return setField(m_nClosed, false); }
    Adesk::Int16 mSurfaceDensity() const { return m_mDensity; }
    Acad::ErrorStatus setMSurfaceDensity(Adesk::Int16 density);
    Adesk::Int16 nSurfaceDensity() const { return m_nDensity; }
    Acad::ErrorStatus setNSurfaceDensity(Adesk::Int16 density);

    // Its M lines and its N lines through the grid of its own points (fit points are left out).
    bool subWorldDraw(AcGiWorldDraw* draw) override;
    Acad::ErrorStatus subGetGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
    // A 3-D face for each cell of the grid.
    Acad::ErrorStatus subExplode(AcDbVoidPtrArray& entities) const override;
    // A grid whose M x N points are not the points the mesh holds.
    std::optional<host::SequenceFault> sequenceFault() const override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    // The mesh's own points (its fit points left out) row after row.
    std::vector<AcGePoint3d> ownPoints() const;
    bool isGrid(std::size_t points) const;
    // The same, empty when they are not M x N.
    std::vector<AcGePoint3d> grid() const;
    AcDb::PolyMeshType m_type = AcDb::kSimpleMesh;
    Adesk::Int16 m_mSize = 0, m_nSize = 0, m_mDensity = 0, m_nDensity = 0;
    bool m_mClosed = false, m_nClosed = false;
};
