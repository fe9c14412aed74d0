#include "host/graphics_recorder.h"

#include "host/curve_geometry.h"
#include "host/database.h"
#include "host/symbol_tables.h"

namespace host {

class GraphicsRecorder::WorldDraw : public AcGiWorldDraw {
public:
    explicit WorldDraw(GraphicsRecorder& r) : m_r(r) {}
    AcGiRegenType regenType() const override { return m_r.regenType(); }
    AcGiSubEntityTraits& subEntityTraits() const override { return m_r; }
    double deviation() const override { return m_r.deviation(); }
    AcGiWorldGeometry& geometry() const override { return m_r; }

private:
    GraphicsRecorder& m_r;
};

class GraphicsRecorder::ViewportDraw : public AcGiViewportDraw {
public:
    explicit ViewportDraw(GraphicsRecorder& r) : m_r(r) {}
    AcGiRegenType regenType() const override { return m_r.regenType(); }
    AcGiSubEntityTraits& subEntityTraits() const override { return m_r; }
    double deviation() const override { return m_r.deviation(); }
    AcGiViewportGeometry& geometry() const override { return m_r; }
    AcGiViewport& viewport() const override { return m_r.m_view; }

private:
    GraphicsRecorder& m_r;
};

GraphicsRecorder::GraphicsRecorder(AcGiRegenType regenType, double deviation)
    : m_regenType(regenType), m_deviation(deviation), m_transforms{AcGeMatrix3d()}, m_blockColors{7},
      m_world(new WorldDraw(*this)), m_viewport(new ViewportDraw(*this)) {}

GraphicsRecorder::~GraphicsRecorder() {
    delete m_world;
    delete m_viewport;
}

AcGiWorldDraw& GraphicsRecorder::worldDraw() {
    return *m_world;
}
AcGiViewportDraw& GraphicsRecorder::viewportDraw() {
    return *m_viewport;
}

AcGePoint3d GraphicsRecorder::toWorld(const AcGePoint3d& p) const {
    return AcGePoint3d(p).transformBy(m_transforms.back());
}

void GraphicsRecorder::setTraitsFrom(const AcDbEntity* entity) {
    m_traits = Traits{};
    m_traits.color = entity->colorIndex();
    m_traits.layer = entity->layerId();
    m_traits.linetype = entity->linetypeId();
    m_traits.linetypeScale = entity->linetypeScale();
    m_traits.lineWeight = entity->lineWeight();
}

Adesk::UInt16 GraphicsRecorder::resolvedColor() const {
    Adesk::UInt16 c = m_traits.color;
    if (c == AcCmColor::kByLayer) {
        auto* layer =
            m_traits.layer.isValid() ? AcDbLayerTableRecord::cast(m_traits.layer.stub()->object) : nullptr;
        c = layer ? layer->color().colorIndex() : 7;
    }
    return c == AcCmColor::kByBlock ? m_blockColors.back() : c;
}

Primitive& GraphicsRecorder::add(PrimitiveKind kind) {
    Primitive& p = m_primitives.emplace_back();
    p.kind = kind;
    p.traits = m_traits;
    p.depth = static_cast<int>(m_blockColors.size()) - 1;
    p.color = resolvedColor();
    return p;
}

void GraphicsRecorder::recordEntity(AcDbEntity* entity) {
    if (!entity || entity->visibility() == AcDb::kInvisible) return;
    ScopedRead access(entity);
    setTraitsFrom(entity);
    if (!entity->worldDraw(m_world)) entity->viewportDraw(m_viewport);
}

void GraphicsRecorder::recordBlock(AcDbDatabase* database, AcDbObjectId block) {
    AcDbObjectId id = block.isNull() && database ? database->modelSpaceId() : block;
    auto* record = id.isValid() ? AcDbBlockTableRecord::cast(id.stub()->object) : nullptr;
    if (!record) return;
    ScopedRead access(record);
    for (AcDbObjectId entityId : record->entityIds())
        if (entityId.isValid() && !entityId.isErased())
            recordEntity(AcDbEntity::cast(entityId.stub()->object));
}

bool GraphicsRecorder::circle(const AcGePoint3d& center, double radius, const AcGeVector3d& normal) {
    Primitive& p = add(PrimitiveKind::Circle);
    AcGePoint3dArray outline;
    appendPlaneArc(outline, center, normal, radius, 0, 6.283185307179586, m_deviation);
    for (const AcGePoint3d& q : outline)
        p.points.push_back(toWorld(q));
    p.center = toWorld(center);
    p.radius = radius * m_transforms.back().scale();
    p.normal = AcGeVector3d(normal).transformBy(m_transforms.back()).normal();
    return false;
}

bool GraphicsRecorder::circularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                                   const AcGeVector3d& startVector, double sweepAngle, AcGiArcType) {
    Primitive& p = add(PrimitiveKind::Arc);
    AcGePoint3dArray outline;
    appendPlaneArc(outline, center, normal, radius, planeAngle(center, normal, center + startVector),
                   sweepAngle, m_deviation);
    for (const AcGePoint3d& q : outline)
        p.points.push_back(toWorld(q));
    p.center = toWorld(center);
    p.radius = radius * m_transforms.back().scale();
    p.normal = AcGeVector3d(normal).transformBy(m_transforms.back()).normal();
    return false;
}

bool GraphicsRecorder::polyline(Adesk::UInt32 nbPoints, const AcGePoint3d* vertices, const AcGeVector3d*,
                                Adesk::LongPtr baseSubEntMarker) {
    if (!vertices || nbPoints == 0) return false;
    if (baseSubEntMarker < 0 || nbPoints < 2) {
        Primitive& p = add(PrimitiveKind::Polyline);
        for (Adesk::UInt32 i = 0; i < nbPoints; ++i)
            p.points.push_back(toWorld(vertices[i]));
        return false;
    }
    // Each segment carries its own marker, counted from the base.
    Adesk::LongPtr kept = m_traits.marker;
    for (Adesk::UInt32 i = 0; i + 1 < nbPoints; ++i) {
        m_traits.marker = baseSubEntMarker + i;
        Primitive& p = add(PrimitiveKind::Polyline);
        p.points = {toWorld(vertices[i]), toWorld(vertices[i + 1])};
    }
    m_traits.marker = kept;
    return false;
}

bool GraphicsRecorder::polygon(Adesk::UInt32 nbPoints, const AcGePoint3d* vertices) {
    if (!vertices || nbPoints == 0) return false;
    Primitive& p = add(PrimitiveKind::Polygon);
    for (Adesk::UInt32 i = 0; i < nbPoints; ++i)
        p.points.push_back(toWorld(vertices[i]));
    return false;
}

bool GraphicsRecorder::ray(const AcGePoint3d& basePoint, const AcGePoint3d& throughPoint) {
    Primitive& p = add(PrimitiveKind::Ray);
    p.points = {toWorld(basePoint), toWorld(throughPoint)};
    return false;
}

bool GraphicsRecorder::mesh(Adesk::UInt32 rows, Adesk::UInt32 columns, const AcGePoint3d* vertices,
                            const AcGiEdgeData*, const AcGiFaceData*, const AcGiVertexData*, bool) {
    if (!vertices || rows == 0 || columns == 0) return false;
    Primitive& p = add(PrimitiveKind::Mesh);
    p.rows = rows;
    p.columns = columns;
    for (Adesk::UInt32 i = 0; i < rows * columns; ++i)
        p.points.push_back(toWorld(vertices[i]));
    return false;
}

bool GraphicsRecorder::text(const AcGePoint3d& position, const AcGeVector3d& normal,
                            const AcGeVector3d& direction, double height, double, double,
                            const ACHAR* message) {
    Primitive& p = add(PrimitiveKind::Text);
    p.points.push_back(toWorld(position));
    p.normal = AcGeVector3d(normal).transformBy(m_transforms.back()).normal();
    p.direction = AcGeVector3d(direction).transformBy(m_transforms.back());
    p.height = height * m_transforms.back().scale();
    p.text = message ? message : L"";
    return false;
}

bool GraphicsRecorder::draw(AcGiDrawable* drawable) {
    if (!drawable) return false;
    Traits kept = m_traits;
    m_blockColors.push_back(resolvedColor()); // what "by block" means for what the drawable draws
    auto* entity = AcDbEntity::cast(drawable);
    if (entity && entity->visibility() != AcDb::kInvisible) {
        ScopedRead access(entity);
        setTraitsFrom(entity);
        if (!entity->worldDraw(m_world)) entity->viewportDraw(m_viewport);
    } else if (!entity && !drawable->worldDraw(m_world)) {
        drawable->viewportDraw(m_viewport);
    }
    m_blockColors.pop_back();
    m_traits = kept;
    return false;
}

bool GraphicsRecorder::pushModelTransform(const AcGeMatrix3d& xform) {
    m_transforms.push_back(m_transforms.back() * xform);
    return true;
}

bool GraphicsRecorder::popModelTransform() {
    if (m_transforms.size() > 1) m_transforms.pop_back();
    return true;
}

} // namespace host
