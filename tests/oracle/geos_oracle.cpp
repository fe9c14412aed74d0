#include "tests/oracle/geos_oracle.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace geos_oracle {

Context::Context() : m_handle(GEOS_init_r()) {
    if (!m_handle) throw std::runtime_error("GEOS did not start");
}

Context::~Context() {
    GEOS_finish_r(m_handle);
}

GEOSCoordSequence* Context::sequence(const std::vector<CPoint3d>& points, bool closed) const {
    const auto count = static_cast<unsigned>(points.size() + (closed ? 1 : 0));
    GEOSCoordSequence* s = GEOSCoordSeq_create_r(m_handle, count, 2);
    for (unsigned i = 0; i < count; ++i) {
        const CPoint3d& p = points[i % points.size()];
        GEOSCoordSeq_setXY_r(m_handle, s, i, p.x, p.y);
    }
    return s;
}

Context::Geometry Context::lineString(const std::vector<CPoint3d>& points) const {
    return own(GEOSGeom_createLineString_r(m_handle, sequence(points, false)));
}

Context::Geometry Context::polygon(const std::vector<CPoint3d>& points) const {
    GEOSGeometry* ring = GEOSGeom_createLinearRing_r(m_handle, sequence(points, true));
    return own(GEOSGeom_createPolygon_r(m_handle, ring, nullptr, 0));
}

Context::Geometry Context::point(const CPoint3d& p) const {
    return own(GEOSGeom_createPointFromXY_r(m_handle, p.x, p.y));
}

std::vector<CPoint3d> Context::coordinates(const GEOSGeometry* line) const {
    const GEOSCoordSequence* s = GEOSGeom_getCoordSeq_r(m_handle, line);
    unsigned size = 0;
    GEOSCoordSeq_getSize_r(m_handle, s, &size);
    std::vector<CPoint3d> points(size);
    for (unsigned i = 0; i < size; ++i)
        GEOSCoordSeq_getXY_r(m_handle, s, i, &points[i].x, &points[i].y);
    return points;
}

double Context::length(const GEOSGeometry* g) const {
    double value = 0;
    GEOSLength_r(m_handle, g, &value);
    return value;
}

double Context::area(const GEOSGeometry* g) const {
    double value = 0;
    GEOSArea_r(m_handle, g, &value);
    return value;
}

bool Context::isCounterClockwise(const std::vector<CPoint3d>& ring) const {
    GEOSCoordSequence* s = sequence(ring, true);
    char ccw = 0;
    GEOSCoordSeq_isCCW_r(m_handle, s, &ccw);
    GEOSCoordSeq_destroy_r(m_handle, s);
    return ccw != 0;
}

bool Context::contains(const GEOSGeometry* polygon, const GEOSGeometry* point) const {
    return GEOSContains_r(m_handle, polygon, point) == 1;
}

double Context::project(const GEOSGeometry* line, const GEOSGeometry* p) const {
    return GEOSProject_r(m_handle, line, p);
}

CPoint3d Context::interpolate(const GEOSGeometry* line, double distance) const {
    const Geometry p = own(GEOSInterpolate_r(m_handle, line, distance));
    CPoint3d answer;
    GEOSGeomGetX_r(m_handle, p.get(), &answer.x);
    GEOSGeomGetY_r(m_handle, p.get(), &answer.y);
    return answer;
}

double Context::distance(const GEOSGeometry* a, const GEOSGeometry* b) const {
    double value = 0;
    GEOSDistance_r(m_handle, a, b, &value);
    return value;
}

bool Context::isValid(const GEOSGeometry* g) const {
    return GEOSisValid_r(m_handle, g) == 1;
}

double Context::distanceToBoundary(const GEOSGeometry* polygon, const GEOSGeometry* point) const {
    const Geometry boundary = own(GEOSBoundary_r(m_handle, polygon));
    double value = 0;
    GEOSDistance_r(m_handle, boundary.get(), point, &value);
    return value;
}

Context::Geometry Context::mitredOffset(const GEOSGeometry* line, double distance, double mitreLimit) const {
    return own(GEOSOffsetCurve_r(m_handle, line, distance, 8, GEOSBUF_JOIN_MITRE, mitreLimit));
}

void appendDensified(std::vector<CPoint3d>& out, const CPoint3d& a, const CPoint3d& b, double bulge,
                     double maxChord) {
    out.push_back(a);
    if (bulge == 0) return;
    const double theta = 4 * std::atan(bulge);
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double chord = std::hypot(dx, dy);
    // The centre lies on the chord's bisector, on the left of the travel for an anticlockwise arc.
    const double towardsCentre = chord / (2 * std::tan(theta / 2));
    const CPoint3d centre((a.x + b.x) / 2 - dy / chord * towardsCentre,
                          (a.y + b.y) / 2 + dx / chord * towardsCentre, 0);
    const double radius = chord / (2 * std::fabs(std::sin(theta / 2)));
    const int parts = static_cast<int>(std::ceil(std::fabs(theta) * radius / maxChord));
    for (int k = 1; k < parts; ++k) {
        const double phi = theta * k / parts;
        const double rx = a.x - centre.x, ry = a.y - centre.y;
        out.emplace_back(centre.x + rx * std::cos(phi) - ry * std::sin(phi),
                         centre.y + rx * std::sin(phi) + ry * std::cos(phi), 0);
    }
}

std::vector<CPoint3d> mitrablePolyline(std::mt19937_64& rng) {
    const auto uniform = [&rng](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(rng);
    };
    const int count = static_cast<int>(uniform(2, 12));
    std::vector<CPoint3d> points{CPoint3d(uniform(-1000, 1000), uniform(-1000, 1000), 0)};
    const double first = uniform(0, 2 * std::numbers::pi);
    double heading = 0; // from the first direction, in degrees
    for (int k = 1; k < count; ++k) {
        points.push_back(points.back().polar(first + heading * std::numbers::pi / 180, uniform(20, 50)));
        double turn = 0;
        while (std::fabs(turn) < 2)
            turn = uniform(std::max(-100.0, -80 - heading), std::min(100.0, 80 - heading));
        heading += turn;
    }
    return points;
}

} // namespace geos_oracle
