#pragma once
// Two-dimensional curves: the edges of hatch loops.
#include <vector>

#include "host/ge/bspline.h"
#include "host/ge/ge.h"
#include "host/rx/rx.h"

class AcGeCurve2d {
public:
    virtual ~AcGeCurve2d() = default;
    virtual AcGePoint2d startPoint() const = 0;
    virtual AcGePoint2d endPoint() const = 0;
    virtual AcGeCurve2d* copy() const = 0;
};

class AcGeLineSeg2d : public AcGeCurve2d {
public:
    AcGeLineSeg2d() = default;
    AcGeLineSeg2d(const AcGePoint2d& start, const AcGePoint2d& end) : m_start(start), m_end(end) {}
    AcGePoint2d startPoint() const override { return m_start; }
    AcGePoint2d endPoint() const override { return m_end; }
    AcGeCurve2d* copy() const override { return new AcGeLineSeg2d(*this); }

private:
    AcGePoint2d m_start, m_end;
};

// A circular arc from startAng to endAng (radians from the x axis), counter-clockwise unless isClockWise.
class AcGeCircArc2d : public AcGeCurve2d {
public:
    AcGeCircArc2d() = default;
    AcGeCircArc2d(const AcGePoint2d& center, double radius, double startAng, double endAng,
                  bool isClockWise = false)
        : m_center(center), m_radius(radius), m_start(startAng), m_end(endAng), m_clockwise(isClockWise) {}
    AcGePoint2d center() const { return m_center; }
    double radius() const { return m_radius; }
    double startAng() const { return m_start; }
    double endAng() const { return m_end; }
    bool isClockWise() const { return m_clockwise; }
    // The point at the angle `a` measured in the arc's direction from its start.
    AcGePoint2d pointAtSweep(double a) const;
    double sweep() const;
    AcGePoint2d startPoint() const override { return pointAtSweep(0); }
    AcGePoint2d endPoint() const override { return pointAtSweep(sweep()); }
    AcGeCurve2d* copy() const override { return new AcGeCircArc2d(*this); }

private:
    AcGePoint2d m_center;
    double m_radius = 0, m_start = 0, m_end = 0;
    bool m_clockwise = false;
};

// An elliptic arc; the minor axis is the major one turned a quarter counter-clockwise times the ratio.
class AcGeEllipArc2d : public AcGeCurve2d {
public:
    AcGeEllipArc2d() = default;
    AcGeEllipArc2d(const AcGePoint2d& center, const AcGeVector2d& majorAxis, double majorRadius,
                   double minorRadius, double startAng, double endAng, bool isClockWise = false)
        : m_center(center), m_major(majorAxis), m_majorRadius(majorRadius), m_minorRadius(minorRadius),
          m_start(startAng), m_end(endAng), m_clockwise(isClockWise) {}
    AcGePoint2d center() const { return m_center; }
    AcGeVector2d majorAxis() const { return m_major; }
    double majorRadius() const { return m_majorRadius; }
    double minorRadius() const { return m_minorRadius; }
    double startAng() const { return m_start; }
    double endAng() const { return m_end; }
    bool isClockWise() const { return m_clockwise; }
    AcGePoint2d pointAtParam(double t) const;
    AcGePoint2d startPoint() const override { return pointAtParam(m_start); }
    AcGePoint2d endPoint() const override { return pointAtParam(m_end); }
    AcGeCurve2d* copy() const override { return new AcGeEllipArc2d(*this); }

private:
    AcGePoint2d m_center;
    AcGeVector2d m_major{1, 0};
    double m_majorRadius = 0, m_minorRadius = 0, m_start = 0, m_end = 0;
    bool m_clockwise = false;
};

// A NURBS curve in the plane (control points at z 0), with the fit points it was made from, if any.
class AcGeNurbCurve2d : public AcGeCurve2d {
public:
    AcGeNurbCurve2d() = default;
    explicit AcGeNurbCurve2d(host::BSpline curve, std::vector<AcGePoint2d> fitPoints = {})
        : m_curve(std::move(curve)), m_fit(std::move(fitPoints)) {}
    int degree() const { return m_curve.degree; }
    const host::BSpline& nurbs() const { return m_curve; }
    const std::vector<AcGePoint2d>& fitPoints() const { return m_fit; }
    AcGePoint2d evalPoint(double t) const { return m_curve.pointAt(t).convert2d(); }
    AcGePoint2d startPoint() const override {
        return m_curve.isValid() ? evalPoint(m_curve.startParam()) : AcGePoint2d();
    }
    AcGePoint2d endPoint() const override {
        return m_curve.isValid() ? evalPoint(m_curve.endParam()) : AcGePoint2d();
    }
    AcGeCurve2d* copy() const override { return new AcGeNurbCurve2d(*this); }

private:
    host::BSpline m_curve;
    std::vector<AcGePoint2d> m_fit;
};
