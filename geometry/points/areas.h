#pragma once
// Plan areas of triangles and rings.
#include "geometry/points/point3d.h"

// Signed area of the triangle (a, b, c) in plan: positive when a, b, c run counter-clockwise.
double Surface3Pts(const CPoint3d& a, const CPoint3d& b, const CPoint3d& c);

// Signed area of the ring of n points in plan: positive when it runs clockwise (the opposite sign from
// Surface3Pts). A last point equal to the first closes the ring and is not counted twice.
double SurfacePoint3d(const CPoint3d* pts, int n);
