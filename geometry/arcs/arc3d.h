#pragma once
// CArc3d: one segment of a 3-D polyline, straight or a circular arc in plan, between two 3-D points and
// defined by them and a bulge (the tangent of a quarter of the included angle, positive counter-clockwise).
//
// The arc lives in plan: bulge, radius, centre and directions come from x and y only; heights are carried by
// the two ends, and a height of exactly 0 stands for a point without height. Directions ("gis") are radians
// counter-clockwise from +x. The plug-in holds CArc3d objects itself, so the layout is fixed.
#include "geometry/points/point3d.h"
#include "geometry/points/point3d_array.h"
#include "geometry/transforms/mat3d.h"

#include <cmath>
#include <cstddef>

class P_Vertex;

class CArc3d {
public:
    CPoint3d start;
    CPoint3d end;
    CPoint3d centre; // (0, 0, 0) for a straight segment; its z is the start's after calcul
    double chord;    // horizontal distance start-end
    double radius;   // 0 for a straight segment
    double bulge;    // 0 for a straight segment
    double chordGis; // direction start -> end, in [0, 2*pi)
    double startGis; // direction of travel at the start
    double endGis;   // direction of travel at the end
    double aux;      // written 0, read by nothing
    Mat3D* pMat;     // the working system the segment lies in, or null; never owned

    // All fields zero.
    CArc3d();
    // Arc from p1 through p2 to p3; see set.
    CArc3d(const CPoint3d& p1, const CPoint3d& p2, const CPoint3d& p3, double* gisMid = nullptr);
    CArc3d(const CPoint3d& p1, const CPoint3d& p2, const double& bulgeValue);
    CArc3d(const CPoint3d& p, double angle, double dist);
    CArc3d(const P_Vertex* v, const CPoint3d& endPoint);
    CArc3d(Mat3D* m1, const P_Vertex* v, const CPoint3d& endPoint, Mat3D* m2);

    // Arc from p1 through p2 to p3: 1, or 0 with a straight segment p1-p3 when the three points make no arc.
    // `gisMid` receives the direction of travel at p2.
    int set(const CPoint3d& p1, const CPoint3d& p2, const CPoint3d& p3, double* gisMid = nullptr);
    int set(const CPoint3d& p1, const CPoint3d& p2, const double& bulgeValue);
    // Straight segment from p over dist in the direction angle, at p's height.
    int set(const CPoint3d& p, double angle, double dist);
    // From a vertex (its point and bulge) to the next point.
    int set(const P_Vertex* v, const CPoint3d& endPoint);
    // The segment seen through transforms: each point taken out of m2 (ApplyToPtInv), then into m1
    // (ApplyToPt); the segment then lies in m1's system (pMat = m1).
    int set(Mat3D* m1, const CPoint3d& p1, const CPoint3d& p2, const double& bulgeValue, Mat3D* m2);
    int set(Mat3D* m1, const P_Vertex* v, const CPoint3d& endPoint, Mat3D* m2);
    // Derives chord, radius, directions and centre from start, end and bulge; huge radii are clamped.
    int calcul(int unused = 0);

    // Length in plan, or along the slope with `slope` non-zero when both ends have a height.
    double len(int slope = 0) const;
    // Signed included angle.
    double acentre() const;
    // Sagitta.
    double fleche() const;
    // Direction of travel at distance d.
    double GisAtDist(double d) const;
    // Point at mid-length.
    CPoint3d ptmilieu() const;

    // Point at distance d (bit 0 of flags: d along the slope): 1 inside, -1 at the start, -2 at the end
    // (within _ecpt), 0 beyond either end (pt untouched) or on a zero-length segment (pt = start).
    // mode 1 cuts the segment to end at the point, mode 2 to start at it.
    int ptAtDist(double d, CPoint3d& pt, int flags = 0, int mode = 0);
    // Nearest point to p: 1 on the segment, -1 snapped to the start, -2 to the end, 0 beyond the ends.
    // `along` receives the signed distance from the start (bit 0 of flags: along the slope), `offset` the
    // distance from the segment, positive to the right of the travel. flags bit 1 keeps heights off the
    // segment. mode bit 0 cuts the segment to end at the foot, bit 1 to start at it (bit 0x10: even
    // beyond the ends). With pMat, p is taken into the working system and the foot brought back out.
    int ptprox(CPoint3d p, CPoint3d& foot, double* along = nullptr, double* offset = nullptr, int flags = 0,
               int mode = 0);
    // Whether the arc turns through direction gis: 1 (gis made the start direction) or 2 (the end direction)
    // when parallel to them within tol, 3 when the arc turns through it (gis brought into the arc's turn),
    // else 0.
    int gis_sur_arc(double& gis, double tol) const;
    // Up to two intersections in plan with `other`, written to pts (a static array of the library when pts
    // is null on entry, overwritten by the next call). codes (two bytes, optional): non-zero on entry keeps
    // only points on this segment (codes[0]) or on other (codes[1]); on exit where the points lie.
    int intersectWith(CArc3d* other, CPoint3d*& pts, char* codes = nullptr);
    // Appends the chords of the arc whose sagitta stays within tol (tol <= 0: the library's largest
    // sagitta), the points moved by offsets growing from offStart to offEnd, positive to the right of the
    // travel. Returns the number of points appended (0 when the array cannot grow).
    int segments(CPoint3dArray& out, double tol);
    int segments(CPoint3dArray& out, double offStart, double offEnd, double tol);

private:
    // Straight segment between start and end: the fields that calcul derives.
    void makeStraight();
    // The cuts of ptAtDist and ptprox: the segment now ends at pt (keepStart) or starts there. On an arc g is
    // the direction of travel at pt; on a straight segment `along` is pt's distance from the start.
    void cut(bool keepStart, const CPoint3d& pt, double g, double along);
    int nearestOnArc(const CPoint3d& p, CPoint3d& foot, double& along, double& angle, double* offset) const;
    int intersectStraights(const CArc3d& other, CPoint3d* pts, char* codes) const;
    // With both working systems set aside; `hasSystem` tells whether this segment had one.
    int intersectArcs(CArc3d& other, CPoint3d* pts, char* codes, bool hasSystem);
};

// An arc lives inside one process: its transform pointer takes the native width (136 bytes in the 64-bit
// build, 132 in the 32-bit one).
static_assert(sizeof(CArc3d) == 128 + sizeof(void*));
static_assert(offsetof(CArc3d, start) == 0 && offsetof(CArc3d, end) == 24 && offsetof(CArc3d, centre) == 48);
static_assert(offsetof(CArc3d, chord) == 72 && offsetof(CArc3d, radius) == 80 &&
              offsetof(CArc3d, bulge) == 88);
static_assert(offsetof(CArc3d, chordGis) == 96 && offsetof(CArc3d, startGis) == 104);
static_assert(offsetof(CArc3d, endGis) == 112 && offsetof(CArc3d, aux) == 120 &&
              offsetof(CArc3d, pMat) == 128);

// Whether a segment of this bulge over this plan chord is straight: its sagitta is below 5e-6.
inline bool isStraightSegment(double bulge, double chord) {
    return std::fabs(bulge * chord) < 1e-5;
}

// The nearest point to p on the straight segment from start to end whose plan length is chord, as ptprox
// answers it for a straight segment without working system or cut (same codes, outputs and flags): what a
// walk over many segments calls without making each one a CArc3d.
int nearestOnStraight(const CPoint3d& start, const CPoint3d& end, double chord, const CPoint3d& p,
                      CPoint3d& foot, double* along = nullptr, double* offset = nullptr, int flags = 0);

// Intersection of the line through p1 in direction a1 with the line through p2 in direction a2, at p1's
// height. `dist` receives the distance along the first line (1e8 for parallel lines). p1 and p2 are not null.
CPoint3d inters(const CPoint3d* p1, double a1, const CPoint3d* p2, double a2, double* dist = nullptr);
