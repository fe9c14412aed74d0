#pragma once
// Vertices of the 2-D and 3-D polylines. The polylines own them: outside a database a polyline holds its
// vertex objects, in a database their ids.
#include "host/entities/owned_sequence.h"

namespace host {
// Vertex flags of drawing files (group 70).
constexpr Adesk::Int16 kCurveFitFlag = 1, kSplineFitFlag = 8, kSplineFrameFlag = 16,
                       k3dPolylineVertexFlag = 32, kPolygonMeshVertexFlag = 64, kPolyFaceMeshVertexFlag = 128;
// The kind of a vertex of 3-D points from its flags, and back.
AcDb::Vertex3dType vertex3dTypeOf(int flags);
Adesk::Int16 vertex3dFlagsOf(AcDb::Vertex3dType type);
} // namespace host

class AcDbVertex : public AcDbEntity {
    HOST_DECLARE_MEMBERS(AcDbVertex)
public:
    AcGePoint3d position() const { return m_position; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& position);

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;

protected:
    // Groups of the vertex's own subclass, and its flags (group 70).
    virtual void readDxfGroup(const resbuf&) {}
    AcGePoint3d m_position;
};

class AcDb2dVertex : public AcDbVertex {
    HOST_DECLARE_MEMBERS(AcDb2dVertex)
public:
    AcDb2dVertex() = default;
    // The position is in the plane of the polyline (x, y; z the elevation).
    explicit AcDb2dVertex(const AcGePoint3d& position, double bulge = 0, double startWidth = 0,
                          double endWidth = 0, double tangent = 0);
    AcDb::Vertex2dType vertexType() const { return m_type; }
    Acad::ErrorStatus setVertexType(AcDb::Vertex2dType type);
    double bulge() const { return m_bulge; }
    Acad::ErrorStatus setBulge(double bulge);
    double startWidth() const { return m_startWidth; }
    Acad::ErrorStatus setStartWidth(double width);
    double endWidth() const { return m_endWidth; }
    Acad::ErrorStatus setEndWidth(double width);

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

protected:
    void readDxfGroup(const resbuf& rb) override;

private:
    AcDb::Vertex2dType m_type = AcDb::k2dVertex;
    double m_bulge = 0, m_startWidth = 0, m_endWidth = 0, m_tangent = 0;
};

namespace host {
// A vertex that is simple, or a control or fit point of a surface or spline: the 3-D polylines' and the
// polygon meshes' vertices, which differ only in their subclass marker and the flag naming their owner.
class TypedVertex3d : public AcDbVertex {
public:
    AcDb::Vertex3dType vertexType() const { return m_type; }
    Acad::ErrorStatus setVertexType(AcDb::Vertex3dType type);

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

protected:
    TypedVertex3d() = default;
    explicit TypedVertex3d(const AcGePoint3d& position) { m_position = position; }
    void readDxfGroup(const resbuf& rb) override;
    // The groups of the vertex under its subclass `marker`, `ownerFlag` with its kind's flags in group 70.
    Acad::ErrorStatus writeDxfFields(AcDbDxfFiler* filer, const wchar_t* marker,
                                     Adesk::Int16 ownerFlag) const;

private:
    AcDb::Vertex3dType m_type = AcDb::k3dSimpleVertex;
};
} // namespace host

class AcDb3dPolylineVertex : public host::TypedVertex3d {
    HOST_DECLARE_MEMBERS(AcDb3dPolylineVertex)
public:
    AcDb3dPolylineVertex() = default;
    explicit AcDb3dPolylineVertex(const AcGePoint3d& position) : TypedVertex3d(position) {}

    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;
};
