#include "geometry/points/vertex.h"

#include "geometry/points/angle_units.h"

#include <cmath>
#include <limits>

namespace {

// A value is kept as value * 100,000 truncated toward zero. Beyond +-21,474.83647 that product leaves the
// 32-bit range, where a plain conversion is undefined: it saturates at the range's ends instead. The empty
// value, and NaN, are kept as 0.
std::int32_t encodeFixed(double v) {
    if (v == _RVIDE || std::isnan(v)) return 0;
    const double scaled = std::trunc(v * 100000.0);
    if (scaled >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (scaled <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(scaled);
}

double decodeFixed(std::int32_t i) {
    return i / 100000.0;
}

} // namespace

P_Vertex::P_Vertex(int) {
    init();
}

P_Vertex::P_Vertex(const CPoint3d& point, double bulgeValue, double f40Value, short flagWord, char kind,
                   char qualifier, std::int32_t tagValue, double f39Value) {
    set(point, bulgeValue, f40Value, flagWord, kind, qualifier, tagValue, f39Value);
}

void P_Vertex::set(const CPoint3d& point, double bulgeValue, double f40Value, short flagWord, char kind,
                   char qualifier, std::int32_t tagValue, double f39Value) {
    pt = point;
    bulge = bulgeValue;
    flags = flagWord;
    tef1 = static_cast<signed char>(kind);
    tef2 = static_cast<signed char>(qualifier);
    i39 = encodeFixed(f39Value);
    i40 = encodeFixed(f40Value);
    tag = tagValue;
}

P_Vertex& P_Vertex::operator=(const P_Vertex* other) {
    if (other && other != this) {
        pt = other->pt;
        bulge = other->bulge;
        flags = other->flags;
        tef1 = other->tef1;
        tef2 = other->tef2;
        i39 = other->i39;
        i40 = other->i40;
        tag = other->tag;
    }
    return *this;
}

P_Vertex& P_Vertex::operator=(const P_Vertex& other) {
    return *this = &other;
}

P_Vertex* P_Vertex::N(int n) {
    P_Vertex* v = this;
    for (; n > 0 && v; --n)
        v = v->pVN;
    for (; n < 0 && v; ++n)
        v = v->pVB;
    return v;
}

short P_Vertex::tefs() const {
    return static_cast<short>((static_cast<unsigned char>(tef2) << 8) | static_cast<unsigned char>(tef1));
}

short P_Vertex::tefs(short code) {
    tef1 = static_cast<signed char>(code & 0xFF);
    tef2 = static_cast<signed char>((code >> 8) & 0xFF);
    return code;
}

double P_Vertex::f39() const {
    return decodeFixed(i39);
}

void P_Vertex::f39(double v) {
    i39 = encodeFixed(v);
}

double P_Vertex::f40() const {
    return decodeFixed(i40);
}

void P_Vertex::f40(double v) {
    i40 = encodeFixed(v);
}

void P_Vertex::f40(double v, int flag) {
    f40(v);
    if (flag) {
        tef1 = static_cast<signed char>(i40 / 100 - (i40 / 1000) * 10);
        tef2 = static_cast<signed char>(i40 / 10 - (i40 / 100) * 10);
    }
}

double P_Vertex::f40(int flag) const {
    if (!flag) return f40();
    return (tef2 + 10 * tef1 + 100 * (i40 / 1000)) / 10000.0;
}
