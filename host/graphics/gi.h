#pragma once
// The drawing interface entities draw through: traits of what comes next (colour, layer, linetype,
// lineweight, selection marker) and geometry primitives.
#include "host/db/acdb.h"
#include "host/db/db_object_id.h"
#include "host/ge/ge.h"
#include "host/graphics/gi_drawable.h"

enum AcGiArcType { kAcGiArcSimple = 0, kAcGiArcSector = 1, kAcGiArcChord = 2 };

// Per-edge, per-face and per-vertex data of meshes: the host draws meshes without them.
class AcGiEdgeData;
class AcGiFaceData;
class AcGiVertexData;

class AcGiSubEntityTraits {
public:
    virtual ~AcGiSubEntityTraits() = default;
    virtual void setColor(Adesk::UInt16 colorIndex) = 0;
    virtual void setLayer(AcDbObjectId layerId) = 0;
    virtual void setLineType(AcDbObjectId linetypeId) = 0;
    virtual void setLineTypeScale(double scale) = 0;
    virtual void setLineWeight(AcDb::LineWeight weight) = 0;
    virtual void setSelectionMarker(Adesk::LongPtr marker) = 0;
    virtual void setThickness(double thickness) = 0;
    virtual Adesk::UInt16 color() const = 0;
    virtual AcDbObjectId layerId() const = 0;
    virtual AcDbObjectId lineTypeId() const = 0;
    virtual double lineTypeScale() const = 0;
    virtual AcDb::LineWeight lineWeight() const = 0;
    virtual double thickness() const = 0;
};

class AcGiGeometry {
public:
    virtual ~AcGiGeometry() = default;
    virtual bool circle(const AcGePoint3d& center, double radius, const AcGeVector3d& normal) = 0;
    virtual bool circularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                             const AcGeVector3d& startVector, double sweepAngle,
                             AcGiArcType arcType = kAcGiArcSimple) = 0;
    // Points in order; with a base marker the segment i carries the selection marker base + i.
    virtual bool polyline(Adesk::UInt32 nbPoints, const AcGePoint3d* vertices,
                          const AcGeVector3d* normal = nullptr, Adesk::LongPtr baseSubEntMarker = -1) = 0;
    virtual bool polygon(Adesk::UInt32 nbPoints, const AcGePoint3d* vertices) = 0;
    // A half-line from the base point through the other point.
    virtual bool ray(const AcGePoint3d& basePoint, const AcGePoint3d& throughPoint) = 0;
    // A grid of rows x columns vertices, row by row.
    virtual bool mesh(Adesk::UInt32 rows, Adesk::UInt32 columns, const AcGePoint3d* vertices,
                      const AcGiEdgeData* edgeData = nullptr, const AcGiFaceData* faceData = nullptr,
                      const AcGiVertexData* vertexData = nullptr, bool autoGenerateNormals = true) = 0;
    virtual bool text(const AcGePoint3d& position, const AcGeVector3d& normal, const AcGeVector3d& direction,
                      double height, double width, double oblique, const ACHAR* message) = 0;
    // Draws another drawable (a nested entity) with the traits it sets for itself.
    virtual bool draw(AcGiDrawable* drawable) = 0;
    // Transform applied to everything drawn until the matching pop (block references).
    virtual bool pushModelTransform(const AcGeMatrix3d& xform) = 0;
    virtual bool popModelTransform() = 0;
};

class AcGiWorldGeometry : public AcGiGeometry {};
// What a viewport draw adds to the world primitives is the view it is made for.
class AcGiViewportGeometry : public AcGiWorldGeometry {};

class AcGiCommonDraw {
public:
    virtual ~AcGiCommonDraw() = default;
    virtual AcGiRegenType regenType() const = 0;
    virtual bool regenAbort() const { return false; }
    virtual AcGiSubEntityTraits& subEntityTraits() const = 0;
    // Chord deviation for curves the drawable tessellates itself.
    virtual double deviation() const { return 0.01; }
};

class AcGiWorldDraw : public AcGiCommonDraw {
public:
    virtual AcGiWorldGeometry& geometry() const = 0;
};

// The view a viewport draw is made for.
class AcGiViewport {
public:
    virtual ~AcGiViewport() = default;
    virtual AcGeVector3d viewDirection() const = 0;
    virtual AcGeMatrix3d modelToEyeTransform() const = 0;
};

class AcGiViewportDraw : public AcGiCommonDraw {
public:
    virtual AcGiViewportGeometry& geometry() const = 0;
    virtual AcGiViewport& viewport() const = 0;
};
