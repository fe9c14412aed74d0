#include "geometry/projections/ellipsoide.h"

#include "geometry/projections/owned_array.h"
#include "platform/base/ascii.h"

#include <cmath>
#include <cstring>
#include <numbers>

Ellipsoide* Ellipsoide::g_pFirst = nullptr;

Ellipsoide::Ellipsoide() {
    std::memset(static_cast<void*>(this), 0, sizeof *this);
    next = g_pFirst;
    g_pFirst = this;
}

Ellipsoide::Ellipsoide(double pa, double pe, double ptx, double pty, double ptz) {
    std::memset(static_cast<void*>(this), 0, sizeof *this);
    a = pa;
    e = pe;
    tx = ptx;
    ty = pty;
    tz = ptz;
}

Ellipsoide::Ellipsoide(const Ellipsoide& other) {
    std::memset(static_cast<void*>(this), 0, sizeof *this);
    copyFrom(other);
}

Ellipsoide& Ellipsoide::operator=(const Ellipsoide& other) {
    if (this != &other) {
        freeGrid();
        copyFrom(other);
    }
    return *this;
}

// Every field but the link; the grid is duplicated so that each record frees only its own.
void Ellipsoide::copyFrom(const Ellipsoide& other) {
    Ellipsoide* const link = next;
    std::memcpy(static_cast<void*>(this), &other, sizeof *this);
    next = link;
    grid = geometry::projections::ownedCopy(other.grid, other.gridValueCount());
}

Ellipsoide::~Ellipsoide() {
    if (g_pFirst == this) g_pFirst = next;
    for (Ellipsoide* record = g_pFirst; record; record = record->next)
        if (record->next == this) {
            record->next = next;
            break;
        }
    freeGrid();
}

std::size_t Ellipsoide::gridValueCount() const {
    return columns > 0 && rows > 0 ? static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows) * 3
                                   : 0;
}

void Ellipsoide::freeGrid() {
    delete[] grid;
    grid = nullptr;
}

void Ellipsoide::RemoveAll() {
    while (g_pFirst)
        delete g_pFirst;
}

Ellipsoide* Ellipsoide::Find(const char* wanted) {
    if (!wanted || !*wanted) return nullptr;
    for (Ellipsoide* record = g_pFirst; record; record = record->next)
        if (platform::sameNoCase(std::string_view(record->name, strnlen(record->name, sizeof record->name)),
                                 wanted))
            return record;
    return nullptr;
}

double Ellipsoide::getRayonN(double pa, double pe, double sinLatitude) {
    const double es = pe * sinLatitude;
    return pa / std::sqrt(1 - es * es);
}

CPoint3d Ellipsoide::GeoToEcf(const CPoint3d& geo) const {
    const double e2 = e * e;
    const double sinPhi = std::sin(geo.y);
    const double n = getRayonN(a, e, sinPhi);
    const double r = (n + geo.z) * std::cos(geo.y);
    return {r * std::cos(geo.x), r * std::sin(geo.x), (n * (1 - e2) + geo.z) * sinPhi};
}

// One step of Bowring's closed form, in atan2 form so that every longitude and the polar axis come out
// right.
CPoint3d Ellipsoide::EcfToGeo(const CPoint3d& ecf) const {
    const double e2 = e * e;
    const double ratio = std::sqrt(1 - e2); // b / a
    const double p = std::hypot(ecf.x, ecf.y);
    if (p <= 1e-5) {
        const double latitude = ecf.z >= 0 ? std::numbers::pi / 2 : -std::numbers::pi / 2;
        return {0, latitude, std::fabs(ecf.z) - a * ratio};
    }
    const double u = std::atan2(ecf.z * (ratio + e2 * a / std::hypot(p, ecf.z)), p);
    const double su = std::sin(u);
    const double cu = std::cos(u);
    const double phi = std::atan2(ecf.z * ratio + e2 * a * su * su * su, (p - e2 * a * cu * cu * cu) * ratio);
    const double sinPhi = std::sin(phi);
    const double h = p * std::cos(phi) + ecf.z * sinPhi - a * std::sqrt(1 - e2 * sinPhi * sinPhi);
    return {std::atan2(ecf.y, ecf.x), phi, h};
}
