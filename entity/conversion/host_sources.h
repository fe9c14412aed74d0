#pragma once
// Reading host curves into a polyline: which kinds are known, and the vertices of each one.
class AcDbEntity;
class CPolyArc3D;

namespace host_sources {

// Source kinds, in the order they are recognised (derived classes count).
enum class Kind {
    None,
    LightweightPolyline,
    Polyline2d,
    Polyline3d,
    Line,
    Arc,
    Face3d,
    Ellipse,
    OwnPolyline,
    Circle,
};

Kind classify(const AcDbEntity* source);

// Appends the source's vertices to `poly`, an empty polyline without a system: world points, then moved
// into the source's own plane where it has one; closed sources set the closed bit. A vertex that cannot be
// read is skipped. Not for OwnPolyline, whose vertices are copied whole.
void readVertices(CPolyArc3D& poly, const AcDbEntity& source, Kind kind);

} // namespace host_sources
