#pragma once
// Angle normalisation, rounding and the clamped inverse sines and cosines used across the geometry.

// `a` brought into [0, 2*pi); NaN for NaN or an infinite angle.
double intervalle_2pi(double a);

// `a` in grads brought into [0, 400); NaN for NaN or an infinite angle.
double intervalle_400(double a);

// The angle equal to `a` modulo 2*pi that lies nearest to `b`, in (b - pi, b + pi].
double gissuiv(double a, double b);

// `v` rounded half up to `decimals` decimals.
double round(double v, int decimals);

namespace geometry {

// asin and acos whose argument is first clamped to [-1, 1]: rounding can push a sine or a cosine a few
// units past 1, which would otherwise give NaN.
double clampedAsin(double v);
double clampedAcos(double v);

// -1, 0 or 1.
inline double signOf(double v) {
    return (v > 0) - (v < 0);
}

} // namespace geometry
