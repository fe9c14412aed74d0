#pragma once
// Civil feature lines: 3-D lines through points at their elevations, each segment straight or an arc in plan
// (given by a bulge), the height running linearly along it: the points (its grips), the arcs, and the curve
// they make, which is what conversions read. The class is registered when first used, not with the classes
// drawing files are read with: a civil program's own feature lines carry groups of their own and stay
// proxies.
#include <vector>

#include "host/entities/curve.h"

class AcDbFeatureLine : public AcDbCurve {
    HOST_DECLARE_MEMBERS(AcDbFeatureLine)
public:
    AcDbFeatureLine() = default;

    // Appends a point; `bulge` shapes the segment from it to the next one.
    Acad::ErrorStatus appendPoint(const AcGePoint3d& point, double bulge = 0);

    bool tessellate(AcGePoint3dArray& points, double deviation) const override;
    Acad::ErrorStatus subGetGripPoints(AcGePoint3dArray& points, AcDbIntArray& osnapModes,
                                       AcDbIntArray& geomIds) const override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    struct Point {
        AcGePoint3d point;
        double bulge = 0;
    };
    std::vector<Point> m_points;
};
