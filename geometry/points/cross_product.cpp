#include "geometry/points/cross_product.h"

#include "geometry/points/point3d.h"

double produit_vectoriel_double(const double* o, const double* a, const double* b, double& nx, double& ny,
                                double& nz, int mode) {
    const CPoint3d origin = o ? CPoint3d(o[0], o[1], o[2]) : CPoint3d();
    const CPoint3d u = CPoint3d(a[0], a[1], a[2]) - origin;
    const CPoint3d v = CPoint3d(b[0], b[1], b[2]) - origin;
    CPoint3d n = u.crossProduct(v);
    const double length = n.dist3d();
    // Collinear vectors have no normal: it stays zero rather than becoming NaN.
    if (mode != 0 && length > 0) n /= length;
    nx = n.x;
    ny = n.y;
    nz = n.z;
    if (mode == 2) return length;
    return o ? -origin.scalarProduct(n) : 0;
}
