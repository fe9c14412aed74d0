#pragma once
// CGlPoint: a display point of three floats.
#include "geometry/points/point3d.h"

class CGlPoint {
public:
    float x = 0;
    float y = 0;
    float z = 0;

    CGlPoint() = default;
    CGlPoint(float px, float py, float pz) : x(px), y(py), z(pz) {}
    // Each coordinate narrowed to a float.
    explicit CGlPoint(const CPoint3d& p) { Set(p); }

    void Set(const CPoint3d& p);
    void Set(float px, float py, float pz);

    // The i-th coordinate: 0 x, 1 y, anything else z.
    float operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }

    CGlPoint crossProduct(const CGlPoint& p) const;
    float scalarProduct(const CGlPoint& p) const { return x * p.x + y * p.y + z * p.z; }
    CGlPoint polar(float angle, float dist) const;
};

static_assert(sizeof(CGlPoint) == 12);
