#include "geometry/points/angle_helpers.h"

#include "geometry/points/angle_units.h"

#include <algorithm>
#include <cmath>

namespace {

// fmod is exact and ends on every finite input; a remainder that rounds up to the period when the period
// is added back (a tiny negative angle) is the start of the interval.
double wrapInto(double a, double period) {
    double r = std::fmod(a, period);
    if (r < 0) r += period;
    return r >= period ? 0.0 : r;
}

} // namespace

double intervalle_2pi(double a) {
    return wrapInto(a, _400rd);
}

double intervalle_400(double a) {
    return wrapInto(a, 400.0);
}

double gissuiv(double a, double b) {
    return a + _400rd * std::floor((b - a + _200rd) / _400rd);
}

double round(double v, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::floor(v * scale + 0.5) / scale;
}

namespace geometry {

double clampedAsin(double v) {
    return std::asin(std::clamp(v, -1.0, 1.0));
}

double clampedAcos(double v) {
    return std::acos(std::clamp(v, -1.0, 1.0));
}

} // namespace geometry
