#pragma once
// GEOS as an outside oracle for plan geometry: a context for one test, and the shapes the cross-checks build
// from point lists.
#include <geos_c.h>

#include <memory>
#include <random>
#include <vector>

#include "geometry/points/point3d.h"

namespace geos_oracle {

class Context {
public:
    Context();
    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    struct GeometryDeleter {
        GEOSContextHandle_t handle;
        void operator()(GEOSGeometry* g) const { GEOSGeom_destroy_r(handle, g); }
    };
    using Geometry = std::unique_ptr<GEOSGeometry, GeometryDeleter>;

    Geometry lineString(const std::vector<CPoint3d>& points) const;
    // The ring through the points, closed back to the first one.
    Geometry polygon(const std::vector<CPoint3d>& points) const;
    Geometry point(const CPoint3d& p) const;
    std::vector<CPoint3d> coordinates(const GEOSGeometry* line) const;

    double length(const GEOSGeometry* g) const;
    double area(const GEOSGeometry* g) const;
    bool isCounterClockwise(const std::vector<CPoint3d>& ring) const;
    bool contains(const GEOSGeometry* polygon, const GEOSGeometry* point) const;
    bool isValid(const GEOSGeometry* g) const;
    double distanceToBoundary(const GEOSGeometry* polygon, const GEOSGeometry* point) const;
    // Distance along the line of the point of it nearest to p, and the point at a distance along it.
    double project(const GEOSGeometry* line, const GEOSGeometry* p) const;
    CPoint3d interpolate(const GEOSGeometry* line, double distance) const;
    double distance(const GEOSGeometry* a, const GEOSGeometry* b) const;
    // The offset curve with mitred joins: positive distances on the left.
    Geometry mitredOffset(const GEOSGeometry* line, double distance, double mitreLimit) const;

    GEOSContextHandle_t handle() const { return m_handle; }

private:
    Geometry own(GEOSGeometry* g) const { return Geometry(g, GeometryDeleter{m_handle}); }
    GEOSCoordSequence* sequence(const std::vector<CPoint3d>& points, bool closed) const;

    GEOSContextHandle_t m_handle;
};

// The points of the segment from a with the bulge to b, a included, b not, at most `step` radians apart:
// computed here from the bulge's definition, not by the system's arc geometry.
void appendDensified(std::vector<CPoint3d>& out, const CPoint3d& a, const CPoint3d& b, double bulge,
                     double step);

// A random straight polyline whose mitred offsets need no bevel and do not cross themselves: 2 to 11
// vertices, segments of 20 to 50, turns of 2 to 100 degrees (every mitre under 1.6 times the distance; GEOS
// takes turns below a few hundredths of a degree as straight), the heading within 80 degrees of the first.
std::vector<CPoint3d> mitrablePolyline(std::mt19937_64& rng);

} // namespace geos_oracle
