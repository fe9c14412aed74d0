#pragma once
// Entities made of a few points: the point, the ray (a half-line) and the 3-D face.
#include "host/entities/curve.h"

class AcDbPoint : public AcDbEntity {
    HOST_DECLARE_MEMBERS(AcDbPoint)
public:
    AcDbPoint() = default;
    explicit AcDbPoint(const AcGePoint3d& position) : m_position(position) {}
    AcGePoint3d position() const { return m_position; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& position);
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    double thickness() const { return m_thickness; }
    Acad::ErrorStatus setThickness(double thickness);
    double ecsRotation() const { return m_rotation; }
    Acad::ErrorStatus setEcsRotation(double rotation);

    bool subWorldDraw(AcGiWorldDraw* draw) override;
    Acad::ErrorStatus subGetGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus subGetGripPoints(AcGePoint3dArray& points, AcDbIntArray& osnapModes,
                                       AcDbIntArray& geomIds) const override;
    Acad::ErrorStatus subMoveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    AcGePoint3d m_position;
    AcGeVector3d m_normal = AcGeVector3d::kZAxis;
    double m_thickness = 0, m_rotation = 0;
};

class AcDbRay : public AcDbCurve {
    HOST_DECLARE_MEMBERS(AcDbRay)
public:
    AcGePoint3d basePoint() const { return m_base; }
    void setBasePoint(const AcGePoint3d& point);
    AcGeVector3d unitDir() const { return m_direction; }
    void setUnitDir(const AcGeVector3d& direction);

    Acad::ErrorStatus getStartParam(double& param) const override;
    Acad::ErrorStatus getEndParam(double& param) const override;
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
    Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const override;
    bool subWorldDraw(AcGiWorldDraw* draw) override;
    // A ray has no bounded extents.
    Acad::ErrorStatus subGetGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    AcGePoint3d m_base;
    AcGeVector3d m_direction = AcGeVector3d::kXAxis;
};

class AcDbFace : public AcDbEntity {
    HOST_DECLARE_MEMBERS(AcDbFace)
public:
    AcDbFace() = default;
    // A triangle when pt3 is left out (its fourth corner repeats the third).
    AcDbFace(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2, const AcGePoint3d& pt3);
    Acad::ErrorStatus getVertexAt(Adesk::UInt16 index, AcGePoint3d& point) const;
    Acad::ErrorStatus setVertexAt(Adesk::UInt16 index, const AcGePoint3d& point);
    Acad::ErrorStatus isEdgeVisibleAt(Adesk::UInt16 index, bool& visible) const;
    Acad::ErrorStatus makeEdgeInvisibleAt(Adesk::UInt16 index);
    Acad::ErrorStatus makeEdgeVisibleAt(Adesk::UInt16 index);

    bool subWorldDraw(AcGiWorldDraw* draw) override;
    Acad::ErrorStatus subGetGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus subGetGripPoints(AcGePoint3dArray& points, AcDbIntArray& osnapModes,
                                       AcDbIntArray& geomIds) const override;
    Acad::ErrorStatus subMoveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    AcGePoint3d m_corners[4];
    Adesk::UInt16 m_invisibleEdges = 0;
};
