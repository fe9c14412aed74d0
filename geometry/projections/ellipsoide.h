#pragma once
// Ellipsoide: an ellipsoid of the projection definition file ("INI\Projections.DEF"), with its geocentric
// translation to the common datum and an optional translation grid refining it point by point.
//
// The records read from the file form the process-wide list `g_pFirst`. The layout is the one outside
// programs of the product family share: 212 bytes, packed, angles of the grid in degrees.
#include "geometry/points/point3d.h"

#include <cstddef>
#include <cstdint>

class __attribute__((packed)) Ellipsoide {
public:
    char gridFile[100]; // relative to the local folder's "INI\"; empty for none
    Ellipsoide* next;
    char name[16];
    double a; // semi-major axis
    double e; // first eccentricity (not squared)
    double tx, ty, tz;
    // Translation grid, filled on first use: origins and steps in degrees, nodes column by column, three
    // values (x, y, z minus tx, ty, tz, millimetres) per node.
    double lonOrigin;
    double lonStep;
    std::int32_t columns;
    double latOrigin;
    double latStep;
    std::int32_t rows;
    std::int16_t* grid;

    static Ellipsoide* g_pFirst;

    // Zero-filled and put at the head of the list.
    Ellipsoide();
    // Not linked.
    Ellipsoide(double a, double e, double tx, double ty, double tz);
    // A copy owns a copy of the grid and is not linked.
    Ellipsoide(const Ellipsoide& other);
    Ellipsoide& operator=(const Ellipsoide& other);
    // Unlinks the record wherever it stands in the list and frees its grid.
    ~Ellipsoide();

    static void RemoveAll();
    // First record of that name, case ignored; null for a null or empty name.
    static Ellipsoide* Find(const char* name);
    // Radius of curvature in the prime vertical.
    static double getRayonN(double a, double e, double sinLatitude);

    // Geographic (radians, metres) to geocentric and back.
    CPoint3d GeoToEcf(const CPoint3d& geo) const;
    CPoint3d EcfToGeo(const CPoint3d& ecf) const;

    // The translation to the common datum at a geographic point: 3 interpolated in the grid, 1 the default
    // translation (no grid, grid file missing, point outside), 2 the file holds no grid, 0 a grid that is not
    // conforming.
    int GetTranslat(const CPoint3d& geo, CPoint3d& translation);
    // Moves a geographic point from this ellipsoid's datum to the target's: 1 when it moved.
    int DatumShift(CPoint3d& geo, Ellipsoide* target);

    std::size_t gridValueCount() const;
    void freeGrid();

private:
    void copyFrom(const Ellipsoide& other);
};

// The record lives inside one process: its two pointers take the native width (212 bytes in the 64-bit
// build, 204 in the 32-bit one).
constexpr std::size_t kEllipsoideLink = 100 + sizeof(void*);
static_assert(sizeof(Ellipsoide) == kEllipsoideLink + 96 + sizeof(void*));
static_assert(offsetof(Ellipsoide, next) == 100 && offsetof(Ellipsoide, name) == kEllipsoideLink);
static_assert(offsetof(Ellipsoide, a) == kEllipsoideLink + 16 &&
              offsetof(Ellipsoide, e) == kEllipsoideLink + 24);
static_assert(offsetof(Ellipsoide, tx) == kEllipsoideLink + 32 &&
              offsetof(Ellipsoide, tz) == kEllipsoideLink + 48);
static_assert(offsetof(Ellipsoide, lonOrigin) == kEllipsoideLink + 56 &&
              offsetof(Ellipsoide, columns) == kEllipsoideLink + 72);
static_assert(offsetof(Ellipsoide, latOrigin) == kEllipsoideLink + 76 &&
              offsetof(Ellipsoide, rows) == kEllipsoideLink + 92);
static_assert(offsetof(Ellipsoide, grid) == kEllipsoideLink + 96);
