#include "geometry/points/areas.h"

double Surface3Pts(const CPoint3d& a, const CPoint3d& b, const CPoint3d& c) {
    return 0.5 * ((c.y - a.y) * b.x + (b.y - c.y) * a.x + (a.y - b.y) * c.x);
}

double SurfacePoint3d(const CPoint3d* pts, int n) {
    if (!pts || n < 1) return 0;
    if (n > 1 && pts[0] == pts[n - 1]) --n;
    if (n <= 2) return 0;
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        const CPoint3d& before = pts[i == 0 ? n - 1 : i - 1];
        const CPoint3d& after = pts[i == n - 1 ? 0 : i + 1];
        sum += pts[i].x * (before.y - after.y);
    }
    return sum / 2;
}
