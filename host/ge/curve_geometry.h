#pragma once
// Geometry shared by the host's curves: arcs given by a bulge, circular arcs in a plane, angle ranges.
#include "host/ge/ge.h"
#include "host/rx/ac_array.h"

namespace host {

constexpr double kDefaultDeviation = 0.01;

// Angle brought into [0, 2pi).
double normalizeAngle(double a);
// The sweep from start to end counter-clockwise, in (0, 2pi].
double sweepAngle(double start, double end);
// Number of chords that keep a circular arc of `radius` and `sweep` within `deviation` (at least 1).
int chordCount(double radius, double sweep, double deviation);

// Points of the segment from a to b carrying `bulge` (tan of a quarter of its included angle, positive
// counter-clockwise in the xy plane), a included and b excluded; z runs linearly from a to b.
void appendBulgeSegment(AcGePoint3dArray& points, const AcGePoint3d& a, const AcGePoint3d& b, double bulge,
                        double deviation);
// Length of a bulge segment, and its point at the fraction t (proportional to length).
double bulgeSegmentLength(const AcGePoint2d& a, const AcGePoint2d& b, double bulge);
AcGePoint2d bulgeSegmentPoint(const AcGePoint2d& a, const AcGePoint2d& b, double bulge, double t);
// The point of a bulge segment nearest to p.
AcGePoint2d bulgeSegmentNearest(const AcGePoint2d& a, const AcGePoint2d& b, double bulge,
                                const AcGePoint2d& p);
// Centre and radius of the arc of a bulge segment (the bulge must not be 0).
void bulgeArc(const AcGePoint2d& a, const AcGePoint2d& b, double bulge, AcGePoint2d& center, double& radius);

// Points of a circular arc in the plane of `normal` around `center`, from `startAngle` over `sweep`
// (angles measured from the plane's x axis), both ends included.
void appendPlaneArc(AcGePoint3dArray& points, const AcGePoint3d& center, const AcGeVector3d& normal,
                    double radius, double startAngle, double sweep, double deviation);
// The angle of `point` around `center` in the plane of `normal`.
double planeAngle(const AcGePoint3d& center, const AcGeVector3d& normal, const AcGePoint3d& point);

} // namespace host
