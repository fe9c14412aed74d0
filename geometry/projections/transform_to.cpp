// Projection to projection: through geographic coordinates, with the datum shift between the two ellipsoids
// and the height grids of each side.
#include "geometry/projections/ctes_proj.h"

namespace {

bool isGrid(const AltiConvert* grid) {
    return grid && grid != AltiConvert::NoStep();
}

// The height on the target side, from the source height g0.z and the height h1 after the datum shift; false
// when a grid that is asked for is missing or does not cover the point, since the height would be wrong.
bool targetHeight(AltiConvert* sourceGrid, AltiConvert* targetGrid, const CPoint3d& g0,
                  const CPoint3d& shifted, double h1, double& height) {
    height = g0.z;
    if (sourceGrid == AltiConvert::NoStep() && !isGrid(targetGrid)) {
        height = h1;
        return true;
    }
    if (isGrid(sourceGrid)) {
        if (sourceGrid == targetGrid) return true;
        if (!sourceGrid->convertInside(height, g0, 1)) return false;
    }
    return !isGrid(targetGrid) || targetGrid->convertInside(height, shifted, 0);
}

} // namespace

int CtesProj::TransformTo(CtesProj* target, const CPoint3d& source, CPoint3d& out, AltiConvert* sourceGrid,
                          AltiConvert* targetGrid, CPoint3d* geoOut) {
    if (!target || !ellipsoid) return 0;
    CPoint3d local;
    CPoint3d& geo = geoOut ? *geoOut : local;
    if (!XyToGeo(source, geo)) return 0;
    const CPoint3d g0 = geo;
    const bool shifted = ellipsoid->DatumShift(geo, target->ellipsoid) != 0;
    const double h1 = shifted ? geo.z : g0.z;
    double height = 0;
    if (!targetHeight(sourceGrid, targetGrid, g0, geo, h1, height)) return 0;
    geo.z = height;
    if (target == this) {
        out.set(source.x, source.y, geo.z);
        return 1;
    }
    return target->GeoToXy(geo, out) ? 3 : 0;
}
