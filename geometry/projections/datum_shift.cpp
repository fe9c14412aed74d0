// Datum shift between two ellipsoids: a geocentric translation, the difference of their translations to the
// common datum at the point.
#include "geometry/projections/ellipsoide.h"
#include "geometry/projections/projection_formulas.h"

int Ellipsoide::DatumShift(CPoint3d& geo, Ellipsoide* target) {
    if (!target || target == this || !geometry::projections::isFinite(geo)) return 0;
    CPoint3d own;
    CPoint3d theirs;
    GetTranslat(geo, own);
    target->GetTranslat(geo, theirs);
    const CPoint3d difference = own - theirs;
    if (difference.x == 0 && difference.y == 0 && difference.z == 0) return 0;
    const CPoint3d shifted = target->EcfToGeo(GeoToEcf(geo) + difference);
    if (!geometry::projections::isFinite(shifted)) return 0;
    geo = shifted;
    return 1;
}
