// Projection to projection: through geographic coordinates, with the datum shift between the two ellipsoids
// and the height grids of each side.
#include "geometry/projections/ctes_proj.h"

namespace {

bool isGrid(const AltiConvert* grid) {
    return grid && grid != AltiConvert::NoStep();
}

// The height on the target side. h0 is the source height, h1 the height after the datum shift.
double targetHeight(AltiConvert* sourceGrid, AltiConvert* targetGrid, double h0, double h1,
                    const CPoint3d& g0, const CPoint3d& shifted) {
    if (sourceGrid == AltiConvert::NoStep())
        return isGrid(targetGrid) ? targetGrid->Convert(h0, shifted, 0) : h1;
    if (!sourceGrid) return isGrid(targetGrid) ? targetGrid->Convert(h0, shifted, 0) : h0;
    if (sourceGrid == targetGrid) return h0;
    const double altitude = sourceGrid->Convert(h0, g0, 1);
    return isGrid(targetGrid) ? targetGrid->Convert(altitude, shifted, 0) : altitude;
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
    geo.z = targetHeight(sourceGrid, targetGrid, g0.z, h1, g0, geo);
    if (target == this) {
        out.set(source.x, source.y, geo.z);
        return 1;
    }
    return target->GeoToXy(geo, out) ? 3 : 0;
}
