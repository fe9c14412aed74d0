#pragma once
// A straight segment entity for the editor's tests: it draws and files itself, snaps (end, middle, nearest),
// intersects other segments (extending itself when asked) and extends to a point.
#include "host/entities/curve.h"

class TestSegment : public AcDbCurve {
    HOST_DECLARE_MEMBERS(TestSegment)
public:
    TestSegment() = default;
    TestSegment(const AcGePoint3d& start, const AcGePoint3d& end) : m_start(start), m_end(end) {}

    Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
    Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& onCurve,
                                        bool extend = false) const override;
    Acad::ErrorStatus extend(bool extendStart, const AcGePoint3d& toPoint) override;
    Acad::ErrorStatus subGetGeomExtents(AcDbExtents& extents) const override;
    bool subWorldDraw(AcGiWorldDraw* draw) override;
    Acad::ErrorStatus subGetOsnapPoints(AcDb::OsnapMode mode, Adesk::GsMarker marker, const AcGePoint3d& pick,
                                        const AcGePoint3d& last, const AcGeMatrix3d& view,
                                        AcGePoint3dArray& points, AcDbIntArray& geomIds) const override;
    Acad::ErrorStatus subIntersectWith(const AcDbEntity* other, AcDb::Intersect type,
                                       AcGePoint3dArray& points, Adesk::GsMarker,
                                       Adesk::GsMarker) const override;
    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

    AcGePoint3d start() const { return m_start; }
    AcGePoint3d end() const { return m_end; }

private:
    AcGePoint3d m_start, m_end;
};
