#pragma once
// The lightweight polyline: vertices in the plane of its normal at its elevation, each with a bulge (the
// segment to the next vertex is an arc when it is not 0) and start and end widths. The parameter of vertex
// i is i; a closed polyline has one more segment back to its first vertex.
#include <vector>

#include "host/entities/curve.h"

namespace host {
struct BulgeVertex;
}

class AcDbPolyline : public AcDbCurve {
    HOST_DECLARE_MEMBERS(AcDbPolyline)
public:
    AcDbPolyline() = default;
    explicit AcDbPolyline(unsigned int reserve) { m_vertices.reserve(reserve); }

    unsigned int numVerts() const { return static_cast<unsigned int>(m_vertices.size()); }
    // Inserts before `index` (numVerts() appends). Negative widths keep the constant width.
    Acad::ErrorStatus addVertexAt(unsigned int index, const AcGePoint2d& point, double bulge = 0,
                                  double startWidth = -1, double endWidth = -1);
    Acad::ErrorStatus removeVertexAt(unsigned int index);
    Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint2d& point) const;
    // The vertex in world coordinates.
    Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint3d& point) const;
    Acad::ErrorStatus setPointAt(unsigned int index, const AcGePoint2d& point);
    Acad::ErrorStatus getBulgeAt(unsigned int index, double& bulge) const;
    Acad::ErrorStatus setBulgeAt(unsigned int index, double bulge);
    Acad::ErrorStatus getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const;
    Acad::ErrorStatus setWidthsAt(unsigned int index, double startWidth, double endWidth);
    void setClosed(bool closed);
    double elevation() const { return m_elevation; }
    void setElevation(double elevation);
    AcGeVector3d normal() const { return m_normal; }
    void setNormal(const AcGeVector3d& normal);
    double thickness() const { return m_thickness; }
    Acad::ErrorStatus setThickness(double thickness);
    Acad::ErrorStatus getConstantWidth(double& width) const;
    Acad::ErrorStatus setConstantWidth(double width);
    bool hasPlinegen() const { return m_plinegen; }
    void setPlinegen(bool plinegen);
    bool isOnlyLines() const;

    bool isClosed() const override { return m_closed; }
    bool isPlanar() const override { return true; }
    Acad::ErrorStatus getPlane(AcGePlane& plane, AcDb::Planarity& type) const override;
    Acad::ErrorStatus getStartParam(double& param) const override;
    Acad::ErrorStatus getEndParam(double& param) const override;
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
    Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const override;
    Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;
    // The length gives the end parameter; distances outside [0, length] (1e-4) are invalid input.
    Acad::ErrorStatus getParamAtDist(double dist, double& param) const override;
    // Pieces of this class between the parameters strictly inside (0, end), in order along the curve; a
    // closed polyline gives open pieces from its start to its end. Points off the curve cut nothing.
    Acad::ErrorStatus getSplitCurves(const AcGeDoubleArray& params,
                                     AcDbVoidPtrArray& curveSegments) const override;
    Acad::ErrorStatus getSplitCurves(const AcGePoint3dArray& points,
                                     AcDbVoidPtrArray& curveSegments) const override;
    // Derivatives of the point by the parameter: each segment is walked at its own length per unit.
    Acad::ErrorStatus getFirstDeriv(double param, AcGeVector3d& deriv) const override;
    Acad::ErrorStatus getFirstDeriv(const AcGePoint3d& point, AcGeVector3d& deriv) const override;
    Acad::ErrorStatus getSecondDeriv(double param, AcGeVector3d& deriv) const override;
    Acad::ErrorStatus getSecondDeriv(const AcGePoint3d& point, AcGeVector3d& deriv) const override;
    // Exact on arcs as on lines; a point off the plane is taken at its foot on the plane.
    Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& givenPoint, AcGePoint3d& pointOnCurve,
                                        bool extend = false) const override;
    using AcDbCurve::getClosestPointTo;
    Acad::ErrorStatus getArea(double& area) const override;
    bool tessellate(AcGePoint3dArray& points, double deviation) const override;
    Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus subGetGripPoints(AcGePoint3dArray& points, AcDbIntArray& osnapModes,
                                       AcDbIntArray& geomIds) const override;
    Acad::ErrorStatus subMoveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;
    Acad::ErrorStatus subExplode(AcDbVoidPtrArray& entities) const override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    struct Vertex {
        AcGePoint2d point;
        double bulge = 0;
    };
    struct Widths {
        double start = 0, end = 0;
        bool operator==(const Widths&) const = default;
    };
    bool valid(unsigned int index) const { return index < m_vertices.size(); }
    Widths widthsOf(unsigned int index) const;
    // Gives every vertex its own widths from now on, as vertex `index` needs widths `w` of its own.
    void setWidths(unsigned int index, const Widths& w);
    void insertVertex(unsigned int index, const Vertex& v, const Widths& w);
    // Drops the vertices' own widths when all are the constant width.
    void compactWidths();
    AcGeMatrix3d planeToWorld() const;
    unsigned int segmentCount() const;
    std::vector<host::BulgeVertex> bulgeVertices() const;
    double segmentLength(unsigned int segment) const;
    // The derivative of the given order (1 or 2) at a parameter on the curve, in world coordinates.
    Acad::ErrorStatus derivative(double param, int order, AcGeVector3d& deriv) const;
    // The part of this polyline from parameter `from` to `to` (from < to, both on the curve), open.
    AcDbPolyline* piece(double from, double to) const;

    std::vector<Vertex> m_vertices;
    // Empty while every vertex has the constant width at both ends (most polylines), else one per vertex:
    // a large outline costs its points and bulges alone.
    std::vector<Widths> m_widths;
    bool m_closed = false, m_plinegen = false;
    double m_elevation = 0, m_thickness = 0, m_constantWidth = 0;
    AcGeVector3d m_normal = AcGeVector3d::kZAxis;
};
