#include "host/entities/feature_line.h"

#include <cmath>

#include "host/entities/counted_lists.h"
#include "host/ge/curve_geometry.h"

HOST_DEFINE_MEMBERS(AcDbFeatureLine, AcDbCurve, L"AECC_FEATURE_LINE")

Acad::ErrorStatus AcDbFeatureLine::appendPoint(const AcGePoint3d& point, double bulge) {
    if (!std::isfinite(point.x) || !std::isfinite(point.y) || !std::isfinite(point.z) ||
        !std::isfinite(bulge))
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_points.push_back({point, bulge});
    return Acad::eOk;
}

bool AcDbFeatureLine::tessellate(AcGePoint3dArray& points, double deviation) const {
    points.removeAll();
    for (std::size_t i = 0; i < m_points.size(); ++i) {
        if (i + 1 == m_points.size())
            points.append(m_points[i].point);
        else
            host::appendBulgeSegment(points, m_points[i].point, m_points[i + 1].point, m_points[i].bulge,
                                     deviation);
    }
    return true;
}

Acad::ErrorStatus AcDbFeatureLine::subGetGripPoints(AcGePoint3dArray& points, AcDbIntArray&,
                                                    AcDbIntArray&) const {
    for (const Point& p : m_points)
        points.append(p.point);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFeatureLine::dwgInFields(AcDbDwgFiler* filer) {
    AcDbCurve::dwgInFields(filer);
    m_points.clear();
    host::readCounted(filer, [&] {
        Point p;
        filer->readPoint3d(&p.point);
        filer->readDouble(&p.bulge);
        m_points.push_back(p);
    });
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbFeatureLine::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbCurve::dwgOutFields(filer);
    host::writeCounted(filer, m_points, [filer](const Point& p) {
        filer->writePoint3d(p.point);
        filer->writeDouble(p.bulge);
    });
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbFeatureLine::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = AcDbCurve::dxfInFields(filer); es != Acad::eOk) return es;
    m_points.clear();
    return readSubclass(filer, L"AcDbFeatureLine", [this](const resbuf& rb) {
        if (rb.restype == 10)
            m_points.push_back({asPoint(rb), 0});
        else if (rb.restype == 42 && !m_points.empty())
            m_points.back().bulge = rb.resval.rreal;
    });
}

Acad::ErrorStatus AcDbFeatureLine::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbCurve::dxfOutFields(filer);
    filer->writeString(100, L"AcDbFeatureLine");
    for (const Point& p : m_points) {
        filer->writePoint3d(10, p.point);
        if (p.bulge != 0) filer->writeDouble(42, p.bulge);
    }
    return filer->filerStatus();
}
