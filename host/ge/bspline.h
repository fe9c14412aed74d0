#pragma once
// A small B-spline evaluator (rational or not) and the cubic interpolation of fit points, for splines.
#include <vector>

#include "host/ge/ge.h"

namespace host {

struct BSpline {
    int degree = 3;
    std::vector<double> knots;
    std::vector<AcGePoint3d> controlPoints;
    std::vector<double> weights; // empty: not rational

    bool isValid() const;
    double startParam() const { return knots[degree]; }
    double endParam() const { return knots[knots.size() - degree - 1]; }
    // De Boor's algorithm; the parameter is clamped to the curve's range.
    AcGePoint3d pointAt(double t) const;
};

// The curve of `degree` (1 to 3 used) through `fitPoints`, parametrised by chord length, with averaged
// knots clamped at both ends. Fewer than two distinct points give an invalid spline.
BSpline interpolate(const std::vector<AcGePoint3d>& fitPoints, int degree);

} // namespace host
