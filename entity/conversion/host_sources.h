#pragma once
// Reading host curves into a polyline: which kinds are known, and the vertices of each one.
class AcDbEntity;
class AcDbHatch;
class AcDbSpline;
class AcGePoint3d;
class CPolyArc3D;
class P_Vertex;

namespace host_sources {

// Source kinds, in the order they are recognised (derived classes count).
enum class Kind {
    None,
    LightweightPolyline,
    Polyline2d,
    Polyline3d,
    Line,
    Arc,
    Spline,
    Face3d,
    Ellipse,
    Hatch,
    OwnPolyline,
    Circle,
    FeatureLine,
};

Kind classify(const AcDbEntity* source);

// Appends the source's vertices to `poly`, an empty polyline without a system: world points, then moved
// into the source's own plane where it has one; closed sources set the closed bit. A vertex that cannot be
// read is skipped. Not for OwnPolyline, whose vertices are copied whole.
void readVertices(CPolyArc3D& poly, const AcDbEntity& source, Kind kind);

// The readers of curves without vertices. A spline: points at the parameters of its control points, with
// more points (flag word 2 in the middle of each step) where a step bends, smoothed. A hatch: its loops
// one after the other, each back to its start, a loop apart from the last vertex starting an inner ring
// (codes 6 and 1 on the vertex before it); in the hatch's plane at its elevation.
void readSpline(CPolyArc3D& poly, const AcDbSpline& source);
void readHatch(CPolyArc3D& poly, const AcDbHatch& source);
// A civil feature line, known by its DXF name: a vertex at each of its grips (its points at their
// elevations), and a bulge on a segment whose middle strays more than 0.05 from its chord.
bool isFeatureLine(const AcDbEntity& source);
void readFeatureLine(CPolyArc3D& poly, const AcDbEntity& source);

// What the readers share: a vertex at a world point (moved into the polyline's system), and the closing.
P_Vertex* appendWorld(CPolyArc3D& poly, const AcGePoint3d& world, double bulge = 0);
void closeWhen(CPolyArc3D& poly, bool closed);

} // namespace host_sources
