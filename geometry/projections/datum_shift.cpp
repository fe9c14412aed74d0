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
    CPoint3d shifted = target->EcfToGeo(GeoToEcf(geo) + difference);
    // A target's grid is laid on the target's own coordinates: it is looked up again at the point reached,
    // some 100 m from where the source's coordinates put it.
    if (target->gridFile[0] && geometry::projections::isFinite(shifted) &&
        target->GetTranslat(shifted, theirs) == 3)
        shifted = target->EcfToGeo(GeoToEcf(geo) + own - theirs);
    if (!geometry::projections::isFinite(shifted)) return 0;
    geo = shifted;
    return 1;
}
