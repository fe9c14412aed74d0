#pragma once
// Vertices of the meshes: the points of a polyface mesh and its face records (which name those points by
// number), and the points of a polygon mesh.
#include "host/entities/polyline_vertices.h"

class AcDbPolyFaceMeshVertex : public AcDbVertex {
    HOST_DECLARE_MEMBERS(AcDbPolyFaceMeshVertex)
public:
    AcDbPolyFaceMeshVertex() = default;
    explicit AcDbPolyFaceMeshVertex(const AcGePoint3d& position) { m_position = position; }

    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;
};

// A face of up to four corners, each the number of a vertex of its mesh (from 1; 0 for no corner). The edge
// from a corner to the next may be invisible, as files write it: the corner's number negated.
class AcDbFaceRecord : public AcDbVertex {
    HOST_DECLARE_MEMBERS(AcDbFaceRecord)
public:
    AcDbFaceRecord() = default;
    AcDbFaceRecord(Adesk::Int16 vtx0, Adesk::Int16 vtx1, Adesk::Int16 vtx2, Adesk::Int16 vtx3,
                   bool e0vis = true, bool e1vis = true, bool e2vis = true, bool e3vis = true);
    // The vertex number of corner `faceIdx` (0 to 3; eInvalidIndex past them).
    Acad::ErrorStatus getVertexAt(Adesk::UInt16 faceIdx, Adesk::Int16& vtxIdx) const;
    Acad::ErrorStatus setVertexAt(Adesk::UInt16 faceIdx, Adesk::Int16 vtxIdx);
    Acad::ErrorStatus isEdgeVisibleAt(Adesk::UInt16 faceIdx, bool& visible) const;
    Acad::ErrorStatus makeEdgeVisibleAt(Adesk::UInt16 faceIdx);
    Acad::ErrorStatus makeEdgeInvisibleAt(Adesk::UInt16 faceIdx);
    // The vertex numbers of the corners there are (up to the first 0), from 1 up.
    std::vector<int> corners() const;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

protected:
    void readDxfGroup(const resbuf& rb) override;

private:
    Acad::ErrorStatus setEdgeVisible(Adesk::UInt16 faceIdx, bool visible);
    // As files hold them: negative where the edge from the corner is invisible.
    Adesk::Int16 m_vertices[4] = {0, 0, 0, 0};
};

// Simple for the mesh's own points, control or fit for those of a mesh fitted to a surface.
class AcDbPolygonMeshVertex : public host::TypedVertex3d {
    HOST_DECLARE_MEMBERS(AcDbPolygonMeshVertex)
public:
    AcDbPolygonMeshVertex() = default;
    explicit AcDbPolygonMeshVertex(const AcGePoint3d& position) : TypedVertex3d(position) {}

    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;
};
