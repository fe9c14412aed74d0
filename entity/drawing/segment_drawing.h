#pragma once
// The polyline drawn segment by segment: each segment under its own selection marker (k for the segment
// that starts at vertex k - 1) in the colour of its vertex code, with the offset line of its widths and the
// vertical band of its heights.
#include "host/graphics/gi.h"

class CPolyArc3D;
class P_Vertex;
class CPoint3dArray;

class SegmentDrawer {
public:
    // displayWidth non-zero: every segment gets an offset line that wide (the segments that touch the tail
    // excepted) instead of its widths and heights, and no linetype.
    SegmentDrawer(const CPolyArc3D& poly, AcGiWorldDraw& draw, double displayWidth);
    // From the head, by N (the closing segment of a closed polyline included), up to the tail.
    void drawAll();

private:
    struct Offsets {
        double start = 0, end = 0; // widths, to the right of the travel
        double startHeight = 0, endHeight = 0;
    };
    void drawSegment(int marker, P_Vertex* v, P_Vertex* w);
    Offsets offsetsOf(const P_Vertex* v, const P_Vertex* w) const;
    // The stored points of the offset line of a straight segment, corners mitred on the bisectors.
    void mitredOffset(const P_Vertex* v, const P_Vertex* w, double perpendicular, Offsets offsets,
                      CPoint3dArray& points) const;
    // Stored points to world, drawn as a polyline, or with heights as a band of 2 rows.
    void drawPoints(const CPoint3dArray& points, const Offsets& offsets) const;
    void setTraits(int marker, const P_Vertex* v) const;

    const CPolyArc3D& m_poly;
    AcGiWorldDraw& m_draw;
    double m_displayWidth;
    double m_previousPerpendicular = 0; // of the last segment drawn with an offset line
    double m_previousBulge = 0;
};
