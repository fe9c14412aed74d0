#pragma once
// CtesProj: a projection of the definition file "INI\Projections.DEF" (a type letter, an ellipsoid and five
// parameters) and the conversions between geographic, projected, geocentric and local coordinates.
//
// Geographic points carry x = longitude, y = latitude (radians, east and north positive), z = ellipsoidal
// height; projected points carry metres. The layout is shared with outside programs: 296 bytes without
// padding, so the fields between the name and the EPSG code are packed one by one.
#include "geometry/points/point3d.h"
#include "geometry/projections/alti_convert.h"
#include "geometry/projections/ellipsoide.h"
#include "geometry/transforms/mat3d.h"

#include <cstddef>
#include <cstdint>

class CtesProj {
public:
    CtesProj* next;
    // As written in the file; first character (upper case) the type letter, second the subtype, the text
    // before ":" the short name.
    char name[60];
    Ellipsoide* ellipsoid __attribute__((packed));
    double p0 __attribute__((packed)); // an angle in radians (origin or central longitude)
    double p1 __attribute__((packed));
    double p2 __attribute__((packed));
    double p3 __attribute__((packed));
    double p4 __attribute__((packed));
    double meridian __attribute__((packed)); // prime meridian, radians
    std::int32_t epsg;
    CPoint3d offsets;     // local origin offsets of type E (east, north, up)
    CPoint3d eParameters; // the three numbers of a type E line, kept for outside programs
    CPoint3d ecefOrigin;  // geocentric origin of the local frame
    Mat3D frame;          // local frame to geocentric

    static CtesProj* g_pFirstCtesProj;
    static CtesProj* g_pProjDefDravlin; // the default projection, "L-93 :"

    // Zero-filled, not linked.
    CtesProj();
    CtesProj(const CtesProj&) = default;
    CtesProj& operator=(const CtesProj&) = default;

    // Reads the definition file; the head of the projection list, null when the file is missing or holds
    // no projection. With reload 0 an existing list is returned as it is.
    static CtesProj* InitProjections(int reload);
    // Frees both lists and everything that points into them.
    static void RemoveAll();

    static CtesProj* GetProjection(const char* name);
    static CtesProj* GetProjection(const char* name, const CPoint3d& point);
    static CtesProj* GetProjection(std::int32_t x, std::int32_t y);
    static CtesProj* GetProjFromEpsg(int code);
    // The short name (with its ":" when withoutColon is 0) in a process-wide buffer of 100 bytes.
    const char* GetShortName(int withoutColon) const;

    char type() const;

    // 1 done, 3 done by the Swiss library, 0 failure (output untouched).
    int GeoToXy(const CPoint3d& geo, CPoint3d& xy);
    int XyToGeo(const CPoint3d& xy, CPoint3d& geo);
    // 3 converted, 1 same projection, 0 failure (a height grid given that is missing or does not cover the
    // point is one). A grid argument AltiConvert::NoStep() marks a side without a grid step (see the
    // definition for the rules); `geoOut` receives the geographic point when given.
    int TransformTo(CtesProj* target, const CPoint3d& source, CPoint3d& out, AltiConvert* sourceGrid,
                    AltiConvert* targetGrid, CPoint3d* geoOut);

    int GeoToEcf(const CPoint3d& geo, CPoint3d& ecf) const;
    CPoint3d EcfToGeo(const CPoint3d& ecf) const;
    int InitEnu(const CPoint3d& geoOrigin);
    int GeoToEnu(const CPoint3d& geo, CPoint3d& local) const;
    CPoint3d EnuToGeo(const CPoint3d& local) const;

    double LatitudeIso(double latitude) const;
    double ProjNorm(double latitude) const;
    double ProjScale(const CPoint3d& xy, const CPoint3d* geo);
    double AConvergence(const CPoint3d& xy, const CPoint3d* geo);

    // The HTC map frame of `vfVar`, in place: 2 Web Mercator, 1 equirectangular.
    static int GeoToHTC(CPoint3d& point);
    static int HTCToGeo(CPoint3d& point);
};

// The record lives inside one process: its two pointers take the native width (296 bytes in the 64-bit
// build, 288 in the 32-bit one).
constexpr std::size_t kProjPointers = 2 * sizeof(void*);
static_assert(sizeof(CtesProj) == kProjPointers + 280 && alignof(CtesProj) == alignof(void*));
static_assert(offsetof(CtesProj, name) == sizeof(void*) &&
              offsetof(CtesProj, ellipsoid) == sizeof(void*) + 60);
static_assert(offsetof(CtesProj, p0) == kProjPointers + 60 && offsetof(CtesProj, p4) == kProjPointers + 92);
static_assert(offsetof(CtesProj, meridian) == kProjPointers + 100 &&
              offsetof(CtesProj, epsg) == kProjPointers + 108);
static_assert(offsetof(CtesProj, offsets) == kProjPointers + 112 &&
              offsetof(CtesProj, eParameters) == kProjPointers + 136);
static_assert(offsetof(CtesProj, ecefOrigin) == kProjPointers + 160 &&
              offsetof(CtesProj, frame) == kProjPointers + 184);

// Web-Mercator tile pixels (256-pixel tiles) at a zoom, and back.
CPoint3d GmapsLgnLatToPoint(const CPoint3d& geo, int zoom);
CPoint3d GmapsPointToLgnLat(const CPoint3d& pixel, int zoom);
// Metres per pixel at zooms 0 to 21 at latitude phi, in a process-wide table of 22 values.
const double* GmapsPixelScaleSize(double phi);
// The angle brought into [-pi, pi].
double GisEcartRD(double angle);
// The earth-curvature drop over the horizontal distance of two points; 0 beyond 500 m of drop.
double GetDzCourbureTerre(const CPoint3d& a, const CPoint3d& b);
