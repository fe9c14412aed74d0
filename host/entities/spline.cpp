#include "host/entities/spline.h"

#include <algorithm>

#include "host/entities/counted_lists.h"

HOST_DEFINE_MEMBERS(AcDbSpline, AcDbCurve, L"SPLINE")

namespace {
// Spline flags of drawing files.
constexpr Adesk::Int16 kClosed = 1, kPeriodic = 2, kRational = 4, kPlanar = 8;
constexpr int kSamplesPerSpan = 32;
constexpr double kOnCurve = 1e-6;

void readPoints(AcDbDwgFiler* filer, std::vector<AcGePoint3d>& points) {
    points.clear();
    host::readCounted(filer, [&] {
        AcGePoint3d p;
        filer->readPoint3d(&p);
        points.push_back(p);
    });
}

void readDoubles(AcDbDwgFiler* filer, std::vector<double>& values) {
    values.clear();
    host::readCounted(filer, [&] {
        double v = 0;
        filer->readDouble(&v);
        values.push_back(v);
    });
}
} // namespace

AcDbSpline::AcDbSpline(const AcGePoint3dArray& fitPoints, int order, double fitTolerance)
    : m_fitPoints(fitPoints.begin(), fitPoints.end()), m_fitTolerance(fitTolerance) {
    m_curve = host::interpolate(m_fitPoints, order - 1);
}

AcDbSpline::AcDbSpline(int degree, bool rational, bool closed, bool periodic,
                       const AcGePoint3dArray& controlPoints, const AcGeDoubleArray& knots,
                       const AcGeDoubleArray& weights, double, double)
    : m_closed(closed), m_periodic(periodic) {
    m_curve.degree = degree;
    m_curve.controlPoints.assign(controlPoints.begin(), controlPoints.end());
    m_curve.knots.assign(knots.begin(), knots.end());
    if (rational) m_curve.weights.assign(weights.begin(), weights.end());
}

Acad::ErrorStatus AcDbSpline::getControlPointAt(int index, AcGePoint3d& point) const {
    if (index < 0 || index >= numControlPoints()) return Acad::eInvalidIndex;
    point = m_curve.controlPoints[index];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getFitPointAt(int index, AcGePoint3d& point) const {
    if (index < 0 || index >= numFitPoints()) return Acad::eInvalidIndex;
    point = m_fitPoints[index];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getNurbsData(int& degree, bool& rational, bool& closed, bool& periodic,
                                           AcGePoint3dArray& controlPoints, AcGeDoubleArray& knots,
                                           AcGeDoubleArray& weights, double& controlPtTol,
                                           double& knotTol) const {
    degree = m_curve.degree;
    rational = isRational();
    closed = m_closed;
    periodic = m_periodic;
    controlPoints.removeAll();
    for (const AcGePoint3d& p : m_curve.controlPoints)
        controlPoints.append(p);
    knots.removeAll();
    for (double k : m_curve.knots)
        knots.append(k);
    weights.removeAll();
    for (double w : m_curve.weights)
        weights.append(w);
    controlPtTol = knotTol = 0;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getStartParam(double& param) const {
    if (!m_curve.isValid()) return Acad::eNotApplicable;
    param = m_curve.startParam();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getEndParam(double& param) const {
    if (!m_curve.isValid()) return Acad::eNotApplicable;
    param = m_curve.endParam();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getPointAtParam(double param, AcGePoint3d& point) const {
    if (!m_curve.isValid() || param < m_curve.startParam() - 1e-10 || param > m_curve.endParam() + 1e-10)
        return Acad::eInvalidInput;
    point = m_curve.pointAt(param);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::getParamAtPoint(const AcGePoint3d& point, double& param) const {
    if (!m_curve.isValid()) return Acad::eNotApplicable;
    double a = m_curve.startParam(), b = m_curve.endParam();
    int samples = kSamplesPerSpan * static_cast<int>(m_curve.controlPoints.size());
    double best = a, bestDistance = point.distanceTo(m_curve.pointAt(a));
    for (int i = 1; i <= samples; ++i) {
        double t = a + (b - a) * i / samples;
        double d = point.distanceTo(m_curve.pointAt(t));
        if (d < bestDistance) {
            bestDistance = d;
            best = t;
        }
    }
    double lo = std::max(a, best - (b - a) / samples), hi = std::min(b, best + (b - a) / samples);
    const double golden = 0.5 * (std::sqrt(5.0) - 1);
    for (int k = 0; k < 100 && hi - lo > 1e-14; ++k) {
        double x1 = hi - golden * (hi - lo), x2 = lo + golden * (hi - lo);
        if (point.distanceTo(m_curve.pointAt(x1)) < point.distanceTo(m_curve.pointAt(x2)))
            hi = x2;
        else
            lo = x1;
    }
    double t = (lo + hi) / 2;
    if (point.distanceTo(m_curve.pointAt(t)) > kOnCurve) return Acad::eInvalidInput;
    param = t;
    return Acad::eOk;
}

bool AcDbSpline::tessellate(AcGePoint3dArray& points, double) const {
    points.removeAll();
    if (!m_curve.isValid()) return false;
    int samples = kSamplesPerSpan * static_cast<int>(m_curve.controlPoints.size() - m_curve.degree);
    double a = m_curve.startParam(), b = m_curve.endParam();
    for (int i = 0; i <= samples; ++i)
        points.append(m_curve.pointAt(a + (b - a) * i / samples));
    return true;
}

Acad::ErrorStatus AcDbSpline::subTransformBy(const AcGeMatrix3d& xform) {
    assertWriteEnabled();
    for (AcGePoint3d& p : m_curve.controlPoints)
        p.transformBy(xform);
    for (AcGePoint3d& p : m_fitPoints)
        p.transformBy(xform);
    if (!m_normal.isZeroLength()) m_normal = AcGeVector3d(m_normal).transformBy(xform).normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSpline::dwgInFields(AcDbDwgFiler* filer) {
    AcDbCurve::dwgInFields(filer);
    Adesk::Int32 degree = 3;
    filer->readInt32(&degree);
    filer->readBool(&m_closed);
    filer->readBool(&m_periodic);
    filer->readDouble(&m_fitTolerance);
    filer->readVector3d(&m_normal);
    readDoubles(filer, m_curve.knots);
    readPoints(filer, m_curve.controlPoints);
    readDoubles(filer, m_curve.weights);
    readPoints(filer, m_fitPoints);
    m_curve.degree = degree;
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbSpline::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbCurve::dwgOutFields(filer);
    filer->writeInt32(m_curve.degree);
    filer->writeBool(m_closed);
    filer->writeBool(m_periodic);
    filer->writeDouble(m_fitTolerance);
    filer->writeVector3d(m_normal);
    auto real = [filer](double v) { filer->writeDouble(v); };
    auto point = [filer](const AcGePoint3d& p) { filer->writePoint3d(p); };
    host::writeCounted(filer, m_curve.knots, real);
    host::writeCounted(filer, m_curve.controlPoints, point);
    host::writeCounted(filer, m_curve.weights, real);
    host::writeCounted(filer, m_fitPoints, point);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbSpline::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = AcDbCurve::dxfInFields(filer); es != Acad::eOk) return es;
    m_curve = host::BSpline{};
    m_fitPoints.clear();
    bool rational = false;
    Acad::ErrorStatus es = readSubclass(filer, L"AcDbSpline", [&](const resbuf& rb) {
        switch (rb.restype) {
        case 210:
            m_normal = asVector(rb);
            break;
        case 70:
            m_closed = rb.resval.rint & kClosed;
            m_periodic = rb.resval.rint & kPeriodic;
            rational = rb.resval.rint & kRational;
            break;
        case 71:
            m_curve.degree = rb.resval.rint;
            break;
        case 44:
            m_fitTolerance = rb.resval.rreal;
            break;
        case 40:
            m_curve.knots.push_back(rb.resval.rreal);
            break;
        case 41:
            m_curve.weights.push_back(rb.resval.rreal);
            break;
        case 10:
            m_curve.controlPoints.push_back(asPoint(rb));
            break;
        case 11:
            m_fitPoints.push_back(asPoint(rb));
            break;
        default:
            break;
        }
    });
    if (!rational) m_curve.weights.clear();
    if (m_curve.controlPoints.empty() && !m_fitPoints.empty())
        m_curve = host::interpolate(m_fitPoints, m_curve.degree);
    return es;
}

Acad::ErrorStatus AcDbSpline::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbCurve::dxfOutFields(filer);
    filer->writeString(100, L"AcDbSpline");
    if (!m_normal.isZeroLength()) filer->writeVector3d(210, m_normal);
    filer->writeInt16(70, static_cast<Adesk::Int16>((m_closed ? kClosed : 0) | (m_periodic ? kPeriodic : 0) |
                                                    (isRational() ? kRational : 0) |
                                                    (m_normal.isZeroLength() ? 0 : kPlanar)));
    filer->writeInt16(71, static_cast<Adesk::Int16>(m_curve.degree));
    filer->writeInt16(72, static_cast<Adesk::Int16>(m_curve.knots.size()));
    filer->writeInt16(73, static_cast<Adesk::Int16>(m_curve.controlPoints.size()));
    filer->writeInt16(74, static_cast<Adesk::Int16>(m_fitPoints.size()));
    filer->writeDouble(42, 1e-10);
    filer->writeDouble(43, 1e-10);
    if (!m_fitPoints.empty()) filer->writeDouble(44, m_fitTolerance);
    for (double k : m_curve.knots)
        filer->writeDouble(40, k);
    for (double w : m_curve.weights)
        filer->writeDouble(41, w);
    for (const AcGePoint3d& p : m_curve.controlPoints)
        filer->writePoint3d(10, p);
    for (const AcGePoint3d& p : m_fitPoints)
        filer->writePoint3d(11, p);
    return filer->filerStatus();
}
