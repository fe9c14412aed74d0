#pragma once
// The rectangle that a block reference covers, as a closed polyline of the system.
class AcDbBlockReference;
class PolyArc3D;

// The extents of the reference's block (at the origin, unrotated) scaled by its x and y factors, turned by
// its rotation and placed at its insertion point, at the insertion point's height; the reference's normal is
// not used. A new polyline in no database, with the reference's properties; null for a null reference or a
// block with no extents.
PolyArc3D* insertToZortapolyRect(const AcDbBlockReference* reference);
