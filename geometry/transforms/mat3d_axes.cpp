// Coordinate systems carried by a Mat3D: its axes, and the systems built from a normal or two vectors.
#include "geometry/transforms/mat3d.h"

#include <cmath>

namespace {

CPoint3d column(const double (&r)[3][3], int j) {
    return {r[0][j], r[1][j], r[2][j]};
}

void setColumn(double (&r)[3][3], int j, const CPoint3d& v) {
    r[0][j] = v.x;
    r[1][j] = v.y;
    r[2][j] = v.z;
}

void setRow(double (&r)[3][3], int i, const CPoint3d& v) {
    r[i][0] = v.x;
    r[i][1] = v.y;
    r[i][2] = v.z;
}

} // namespace

void Mat3D::getCoordSystem(CPoint3d* origin, CPoint3d* ax, CPoint3d* ay, CPoint3d* az) const {
    if (origin) origin->set(t[0], t[1], t[2]);
    if (ax) *ax = column(r, 0);
    if (ay) *ay = column(r, 1);
    if (az) *az = column(r, 2);
}

void Mat3D::setCoordSystem(const CPoint3d* origin, const CPoint3d* ax, const CPoint3d* ay,
                           const CPoint3d* az) {
    if (origin) {
        t[0] = origin->x;
        t[1] = origin->y;
        t[2] = origin->z;
    }
    if (ax) setColumn(r, 0, *ax);
    if (ay) setColumn(r, 1, *ay);
    if (az) setColumn(r, 2, *az);
}

void Mat3D::SetFromNormVector(const double* n) {
    t[0] = t[1] = t[2] = 0;
    CPoint3d z(0, 0, 1);
    if (n) {
        const CPoint3d normal(n[0], n[1], n[2]);
        const double squared = normal.scalarProduct(normal);
        if (std::fabs(squared - 1) < 1e-16)
            z = normal;
        else if (squared >= 1e-9)
            z = normal / std::sqrt(squared);
    }
    // The choice of the world axis is made on the unit normal, as the DXF rule states it; a normal given
    // at another length must give the same system.
    CPoint3d x;
    if (std::fabs(z.x) < 1.0 / 64 && std::fabs(z.y) < 1.0 / 64)
        x = CPoint3d(z.z, 0, -z.x) / std::sqrt(z.x * z.x + z.z * z.z); // world y axis * z
    else
        x = CPoint3d(-z.y, z.x, 0) / std::sqrt(z.x * z.x + z.y * z.y); // world z axis * z
    setRow(r, 0, x);
    setRow(r, 1, z.crossProduct(x));
    setRow(r, 2, z);
}

bool Mat3D::SetFromVxVy(const double* vx, const double* vy) {
    if (!vx || !vy) return false;
    const CPoint3d x(vx[0], vx[1], vx[2]);
    const CPoint3d z = x.crossProduct(CPoint3d(vy[0], vy[1], vy[2]));
    if (x.dist3d() < 1e-5 || z.dist3d() < 1e-5) return false;
    const CPoint3d y = z.crossProduct(x);
    setRow(r, 0, x / x.dist3d());
    setRow(r, 1, y / y.dist3d());
    setRow(r, 2, z / z.dist3d());
    return true;
}
