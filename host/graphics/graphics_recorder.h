#pragma once
// A recording graphics system: entities draw into it as they would into a view, and it keeps every
// primitive with its traits in world coordinates, so tests can query what was drawn and the SVG writer can
// show it.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "host/entities/entity.h"
#include "host/graphics/gi.h"
#include "host/graphics/kept_traits.h"

namespace host {

enum class PrimitiveKind { Polyline, Polygon, Circle, Arc, Mesh, Text, Ray };

struct Primitive {
    PrimitiveKind kind = PrimitiveKind::Polyline;
    // World points: the vertices, or the outline of circles, arcs and meshes (rows of columns); a ray's base
    // and through points.
    std::vector<AcGePoint3d> points;
    Traits traits;
    // Colour index with "by layer" and "by block" resolved (1 to 255).
    Adesk::UInt16 color = 7;
    // How deep in nested draws (block references) the primitive was made.
    int depth = 0;
    // The top-level entity that drew it (a nested entity's primitives belong to the one that drew them).
    AcDbHandle handle;
    AcGePoint3d center;
    double radius = 0;
    AcGeVector3d normal = AcGeVector3d::kZAxis;
    Adesk::UInt32 rows = 0, columns = 0;
    std::wstring text;
    double height = 0;
    AcGeVector3d direction = AcGeVector3d::kXAxis;
};

// The box a text primitive covers, estimated without its font: along its direction from the insertion point
// for 0.65 of its height per character, across it from a quarter of its height below the baseline (for
// descenders) to its height above. Corners in order around the box.
std::array<AcGePoint3d, 4> textBox(const Primitive& text);

// The view a recording is made for: plan view, looking down the z axis.
class PlanViewport : public AcGiViewport {
public:
    AcGeVector3d viewDirection() const override { return AcGeVector3d::kZAxis; }
    AcGeMatrix3d modelToEyeTransform() const override { return AcGeMatrix3d(); }
};

class GraphicsRecorder : public AcGiViewportGeometry, public KeptTraits {
public:
    explicit GraphicsRecorder(AcGiRegenType regenType = kAcGiStandardDisplay, double deviation = 0.01);
    ~GraphicsRecorder() override;
    GraphicsRecorder(const GraphicsRecorder&) = delete;
    GraphicsRecorder& operator=(const GraphicsRecorder&) = delete;

    // Draws the entity (world draw, then viewport draw when the world draw leaves some) with its own
    // properties as traits.
    void recordEntity(AcDbEntity* entity);
    // Every visible entity of a block (model space when null) of `database`.
    void recordBlock(AcDbDatabase* database, AcDbObjectId block = AcDbObjectId());
    const std::vector<Primitive>& primitives() const { return m_primitives; }
    void clear() { m_primitives.clear(); }
    AcGiWorldDraw& worldDraw();
    AcGiViewportDraw& viewportDraw();

    // Geometry.
    bool circle(const AcGePoint3d& center, double radius, const AcGeVector3d& normal) override;
    bool circularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                     const AcGeVector3d& startVector, double sweepAngle, AcGiArcType arcType) override;
    bool polyline(Adesk::UInt32 nbPoints, const AcGePoint3d* vertices, const AcGeVector3d* normal,
                  Adesk::LongPtr baseSubEntMarker) override;
    bool polygon(Adesk::UInt32 nbPoints, const AcGePoint3d* vertices) override;
    bool ray(const AcGePoint3d& basePoint, const AcGePoint3d& throughPoint) override;
    bool mesh(Adesk::UInt32 rows, Adesk::UInt32 columns, const AcGePoint3d* vertices,
              const AcGiEdgeData* edgeData, const AcGiFaceData* faceData, const AcGiVertexData* vertexData,
              bool autoGenerateNormals) override;
    bool text(const AcGePoint3d& position, const AcGeVector3d& normal, const AcGeVector3d& direction,
              double height, double width, double oblique, const ACHAR* message) override;
    bool draw(AcGiDrawable* drawable) override;
    bool pushModelTransform(const AcGeMatrix3d& xform) override;
    bool popModelTransform() override;

    AcGiRegenType regenType() const { return m_regenType; }
    double deviation() const { return m_deviation; }

private:
    class WorldDraw;
    class ViewportDraw;
    Primitive& add(PrimitiveKind kind);
    // The colour of the current traits with "by layer" and "by block" resolved.
    Adesk::UInt16 resolvedColor() const;
    AcGePoint3d toWorld(const AcGePoint3d& p) const;
    AcGeVector3d toWorld(const AcGeVector3d& v) const;
    bool withinBounds(AcDbEntity* nested);
    void addPoints(Primitive& primitive, const AcGePoint3d* points, std::size_t count) const;
    // A circle or an arc: its outline, and its centre, radius and normal in world coordinates.
    void addArc(PrimitiveKind kind, const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                double startAngle, double sweep);

    AcGiRegenType m_regenType;
    double m_deviation;
    AcDbHandle m_drawingEntity;    // the top-level entity being recorded
    std::size_t m_nestedDraws = 0; // the entities it has drawn nested
    std::wstring m_cutShort;       // the block whose drawing it cut short and why, when it did
    std::vector<AcGeMatrix3d> m_transforms;
    std::vector<Adesk::UInt16> m_blockColors; // the colour "by block" means at each nesting level
    std::vector<Primitive> m_primitives;
    std::unique_ptr<WorldDraw> m_world;
    std::unique_ptr<ViewportDraw> m_viewport;
    PlanViewport m_view;
};

} // namespace host
