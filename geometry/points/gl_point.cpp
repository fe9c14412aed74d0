#include "geometry/points/gl_point.h"

#include <cmath>

void CGlPoint::Set(const CPoint3d& p) {
    Set(static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z));
}

void CGlPoint::Set(float px, float py, float pz) {
    x = px;
    y = py;
    z = pz;
}

CGlPoint CGlPoint::crossProduct(const CGlPoint& p) const {
    return {y * p.z - z * p.y, z * p.x - x * p.z, x * p.y - y * p.x};
}

CGlPoint CGlPoint::polar(float angle, float dist) const {
    return {x + dist * std::cos(angle), y + dist * std::sin(angle), z};
}
