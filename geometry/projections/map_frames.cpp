// Map frames on the sphere of `vfVar`: the HTC frame, Web-Mercator tile pixels and the earth-curvature drop.
#include "geometry/projections/ctes_proj.h"
#include "services/startup/fvar.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTileSize = 256;
constexpr int kZoomLevels = 22;
constexpr double kMaxCurvatureDrop = 500;

double tileScale(int zoom) {
    return std::ldexp(1.0, zoom);
}

// Mercator ordinate in pixels at zoom 0.
double pixelRow(double phi) {
    return (1 - std::log(1 / std::cos(phi) + std::tan(phi)) / kPi) * 0.5 * kTileSize;
}

} // namespace

int CtesProj::GeoToHTC(CPoint3d& point) {
    const double r = vfVar.earthRadius;
    if (vfVar.htcMode >= 2) {
        point.x = r * point.x;
        point.y = r * std::log(std::tan(kPi / 4 + point.y / 2));
        return 2;
    }
    point.x = vfVar.equirectangularFactor * point.x;
    point.y = r * point.y;
    return 1;
}

int CtesProj::HTCToGeo(CPoint3d& point) {
    const double r = vfVar.earthRadius;
    if (vfVar.htcMode >= 2) {
        point.x = point.x / r;
        point.y = kPi / 2 - 2 * std::atan(std::exp(-point.y / r));
        return 2;
    }
    point.x = point.x / vfVar.equirectangularFactor;
    point.y = point.y / r;
    return 1;
}

CPoint3d GmapsLgnLatToPoint(const CPoint3d& geo, int zoom) {
    const double s = tileScale(zoom);
    return {(kPi + geo.x) / (2 * kPi) * kTileSize * s, pixelRow(geo.y) * s, geo.z};
}

CPoint3d GmapsPointToLgnLat(const CPoint3d& pixel, int zoom) {
    const double width = kTileSize * tileScale(zoom);
    return {pixel.x / width * 2 * kPi - kPi, std::atan(std::sinh(kPi - 2 * kPi * pixel.y / width)), pixel.z};
}

const double* GmapsPixelScaleSize(double phi) {
    static double metresPerPixel[kZoomLevels];
    if (std::isnan(phi)) phi = 0;
    const double step = 1e-5;
    const double atZoom0 =
        vfVar.earthRadius * 2 * step / std::fabs(pixelRow(phi + step) - pixelRow(phi - step));
    for (int k = 0; k < kZoomLevels; ++k)
        metresPerPixel[k] = atZoom0 / std::ldexp(1.0, k);
    return metresPerPixel;
}

double GisEcartRD(double angle) {
    if (angle >= -kPi && angle <= kPi) return angle;
    return angle - std::floor((kPi + angle) / (2 * kPi)) * 2 * kPi;
}

double GetDzCourbureTerre(const CPoint3d& a, const CPoint3d& b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double drop = (dx * dx + dy * dy) / 2 * vfVar.earthRadiusInverse;
    return drop > kMaxCurvatureDrop ? 0 : drop;
}
