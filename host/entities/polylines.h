#pragma once
// The 2-D polyline (vertices in the plane of its normal, with bulges and widths) and the 3-D polyline
// (straight segments through world points). Both own their vertices and the sequence end; the parameter
// of vertex i is i.
#include <vector>

#include "host/entities/curve.h"
#include "host/entities/plane_polyline.h"
#include "host/entities/polyline_vertices.h"

namespace host {
// The vertices a polyline owns and its sequence end.
class VertexSequence : public OwnedSequence {
public:
    VertexSequence() : OwnedSequence(End::Always) {}
    std::vector<AcDbVertex*> vertices() const { return parts<AcDbVertex>(); }
};

// An entity of class `Base` that owns a vertex sequence, which drawing files list right after it.
template <typename Base> class VertexOwner : public Base {
public:
    AcDbObjectIterator* vertexIterator() const { return m_sequence.newIterator(); }
    void subObjectAddedToDatabase() override { m_sequence.addToDatabase(this); }
    std::vector<AcDbObjectId> sequenceIds() const override { return m_sequence.ids(); }
    void adoptSequence(const std::vector<AcDbObjectId>& ids) override { m_sequence.adopt(ids); }

protected:
    VertexSequence m_sequence;
};

// What the 2-D and the 3-D polyline share: vertices of class `Vertex` in their sequence, closing, and the
// parameter range (vertex i at i).
template <typename Vertex> class SequencePolyline : public VertexOwner<AcDbCurve> {
public:
    Acad::ErrorStatus appendVertex(Vertex* vertex) {
        AcDbObjectId id;
        return appendVertex(id, vertex);
    }
    Acad::ErrorStatus appendVertex(AcDbObjectId& id, Vertex* vertex) {
        return m_sequence.append(this, vertex, id);
    }
    Acad::ErrorStatus makeClosed() { return setField(m_closed, true); }
    Acad::ErrorStatus makeOpen() { return setField(m_closed, false); }

    bool isClosed() const override { return m_closed; }
    Acad::ErrorStatus getStartParam(double& param) const override {
        param = 0;
        return Acad::eOk;
    }
    Acad::ErrorStatus getEndParam(double& param) const override {
        param = static_cast<double>(segmentCount(m_sequence.vertices().size(), m_closed));
        return Acad::eOk;
    }

protected:
    SequencePolyline() = default;
    explicit SequencePolyline(bool closed) : m_closed(closed) {}
    bool m_closed = false;
};
} // namespace host

class AcDb2dPolyline : public host::SequencePolyline<AcDb2dVertex> {
    HOST_DECLARE_MEMBERS(AcDb2dPolyline)
public:
    AcDb2dPolyline() = default;
    AcDb2dPolyline(AcDb::Poly2dType type, const AcGePoint3dArray& vertices, double elevation = 0,
                   bool closed = false, double defaultStartWidth = 0, double defaultEndWidth = 0,
                   const AcGeDoubleArray* bulges = nullptr);

    // A vertex's position in world coordinates.
    AcGePoint3d vertexPosition(const AcDb2dVertex& vertex) const;
    AcDb::Poly2dType polyType() const { return m_type; }
    Acad::ErrorStatus setPolyType(AcDb::Poly2dType type);
    double elevation() const { return m_elevation; }
    Acad::ErrorStatus setElevation(double elevation);
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    double thickness() const { return m_thickness; }
    Acad::ErrorStatus setThickness(double thickness);
    double defaultStartWidth() const { return m_startWidth; }
    Acad::ErrorStatus setDefaultStartWidth(double width);
    double defaultEndWidth() const { return m_endWidth; }
    Acad::ErrorStatus setDefaultEndWidth(double width);
    bool isLinetypeGenerationOn() const { return m_plinegen; }
    Acad::ErrorStatus setLinetypeGenerationOn();

    bool isPlanar() const override { return true; }
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
    bool tessellate(AcGePoint3dArray& points, double deviation) const override;
    Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
    // Lines and arcs, one per segment (spline frame vertices left out).
    Acad::ErrorStatus subExplode(AcDbVoidPtrArray& entities) const override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    AcGeMatrix3d planeToWorld() const;
    // The vertices drawn (spline frame vertices are not), in the plane with their bulges.
    std::vector<host::BulgeVertex> shownVertices() const;
    AcDb::Poly2dType m_type = AcDb::k2dSimplePoly;
    bool m_plinegen = false;
    double m_elevation = 0, m_thickness = 0, m_startWidth = 0, m_endWidth = 0;
    AcGeVector3d m_normal = AcGeVector3d::kZAxis;
};

class AcDb3dPolyline : public host::SequencePolyline<AcDb3dPolylineVertex> {
    HOST_DECLARE_MEMBERS(AcDb3dPolyline)
public:
    AcDb3dPolyline() = default;
    AcDb3dPolyline(AcDb::Poly3dType type, const AcGePoint3dArray& vertices, bool closed = false);

    AcDb::Poly3dType polyType() const { return m_type; }
    Acad::ErrorStatus setPolyType(AcDb::Poly3dType type);

    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
    bool tessellate(AcGePoint3dArray& points, double deviation) const override;
    Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
    // One line per segment.
    Acad::ErrorStatus subExplode(AcDbVoidPtrArray& entities) const override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    AcDb::Poly3dType m_type = AcDb::k3dSimplePoly;
};
