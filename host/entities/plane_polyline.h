#pragma once
// Polylines in the plane of an object's coordinate system (a normal, and an elevation along it): the plane
// placed in the world, what a transform makes of it, and the lines and arcs that the lightweight and the
// 2-D polyline draw and explode into. Hatches lie in such a plane too.
#include <cstddef>
#include <optional>
#include <vector>

#include "host/ge/ge.h"
#include "host/rx/ac_array.h"

class AcDbEntity;

namespace host {

// From the plane's coordinates to world.
AcGeMatrix3d planeToWorld(const AcGeVector3d& normal, double elevation);

// A transform seen from the plane: where its points land in the transformed plane, whether that plane
// comes out mirrored (its axes turn the other way about the new normal, so bulges change sign) and its
// scale along the plane's x axis (widths follow it).
class PlaneTransform {
public:
    // Empty when the transform collapses the normal.
    static std::optional<PlaneTransform> of(const AcGeVector3d& normal, double elevation,
                                            const AcGeMatrix3d& xform);
    const AcGeVector3d& normal() const { return m_normal; }
    bool mirrored() const { return m_mirrored; }
    double scale() const { return m_scale; }
    // A point of the plane in the transformed plane's coordinates; its z is the new elevation.
    AcGePoint3d apply(const AcGePoint2d& point) const;

private:
    PlaneTransform() = default;
    AcGeMatrix3d m_toWorld, m_xform, m_toPlane;
    AcGeVector3d m_normal;
    bool m_mirrored = false;
    double m_scale = 1;
};

// A vertex in the plane and the bulge of the segment that leaves it.
struct BulgeVertex {
    AcGePoint2d point;
    double bulge = 0;
};

// Segments through `vertices` vertices: none below two, one back to the first when closed.
std::size_t segmentCount(std::size_t vertices, bool closed);

// The polyline's chords within `deviation`, in world coordinates, up to its last point (the first again
// when closed).
void tessellatePolyline(AcGePoint3dArray& points, const std::vector<BulgeVertex>& vertices, bool closed,
                        const AcGeMatrix3d& toWorld, double deviation);
// A line or an arc per segment, in the plane of `normal`, with the properties of `owner`: new objects for
// the caller, appended to `entities`.
void explodePolyline(AcDbVoidPtrArray& entities, const std::vector<BulgeVertex>& vertices, bool closed,
                     const AcGeMatrix3d& toWorld, const AcGeVector3d& normal, const AcDbEntity& owner);

} // namespace host
