// Geocentric coordinates and the local east-north-up frame of a projection record.
#include "geometry/projections/ctes_proj.h"
#include "geometry/projections/projection_formulas.h"

#include <cmath>

namespace geometry::projections {

namespace {

// A zero-filled record has no frame; a frame set by InitEnu is a rotation.
bool hasLocalFrame(const CtesProj& projection) {
    return projection.frame.Determinant() != 0;
}

} // namespace

int localFrameToXy(const CtesProj& projection, const CPoint3d& geo, CPoint3d& xy) {
    if (!hasLocalFrame(projection) || !projection.GeoToEnu(geo, xy)) return 0;
    xy += projection.offsets;
    return 1;
}

int localFrameToGeo(const CtesProj& projection, const CPoint3d& xy, CPoint3d& geo) {
    if (!hasLocalFrame(projection)) return 0;
    geo = projection.EnuToGeo(xy - projection.offsets);
    return 1;
}

} // namespace geometry::projections

int CtesProj::GeoToEcf(const CPoint3d& geo, CPoint3d& ecf) const {
    if (!ellipsoid) return 0;
    ecf = ellipsoid->GeoToEcf(geo);
    return 1;
}

CPoint3d CtesProj::EcfToGeo(const CPoint3d& ecf) const {
    return ellipsoid ? ellipsoid->EcfToGeo(ecf) : CPoint3d();
}

int CtesProj::InitEnu(const CPoint3d& geoOrigin) {
    if (!ellipsoid) return 0;
    const double sinLon = std::sin(geoOrigin.x);
    const double cosLon = std::cos(geoOrigin.x);
    const double sinLat = std::sin(geoOrigin.y);
    const double cosLat = std::cos(geoOrigin.y);
    const CPoint3d east(-sinLon, cosLon, 0);
    const CPoint3d north(-sinLat * cosLon, -sinLat * sinLon, cosLat);
    const CPoint3d up(cosLat * cosLon, cosLat * sinLon, sinLat);
    ecefOrigin = ellipsoid->GeoToEcf(geoOrigin);
    frame.setCoordSystem(&ecefOrigin, &east, &north, &up);
    return 1;
}

int CtesProj::GeoToEnu(const CPoint3d& geo, CPoint3d& local) const {
    if (!ellipsoid) return 0;
    const CPoint3d ecf = ellipsoid->GeoToEcf(geo);
    frame.ApplyToPtInv(&local, &ecf);
    return 1;
}

CPoint3d CtesProj::EnuToGeo(const CPoint3d& local) const {
    CPoint3d ecf;
    frame.ApplyToPt(&ecf, &local);
    return EcfToGeo(ecf);
}
