#include "host/graphics/graphics_recorder.h"

#include <numbers>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/editor/acut.h"
#include "host/entities/block_reference.h"
#include "host/ge/curve_geometry.h"

namespace host {

namespace {
// What both draw contexts answer from the recorder: its regen type, traits and deviation.
template <typename Context> class RecorderContext : public Context {
public:
    explicit RecorderContext(GraphicsRecorder& r) : m_r(r) {}
    AcGiRegenType regenType() const override { return m_r.regenType(); }
    AcGiSubEntityTraits& subEntityTraits() const override { return m_r; }
    double deviation() const override { return m_r.deviation(); }

protected:
    GraphicsRecorder& m_r;
};
} // namespace

class GraphicsRecorder::WorldDraw : public RecorderContext<AcGiWorldDraw> {
public:
    using RecorderContext::RecorderContext;
    AcGiWorldGeometry& geometry() const override { return m_r; }
};

class GraphicsRecorder::ViewportDraw : public RecorderContext<AcGiViewportDraw> {
public:
    using RecorderContext::RecorderContext;
    AcGiViewportGeometry& geometry() const override { return m_r; }
    AcGiViewport& viewport() const override { return m_r.m_view; }
};

std::array<AcGePoint3d, 4> textBox(const Primitive& text) {
    constexpr double kCharacterWidth = 0.65, kDescent = 0.25;
    const AcGePoint3d origin = text.points.empty() ? text.center : text.points.front();
    const AcGeVector3d along = text.direction.isZeroLength() ? AcGeVector3d::kXAxis : text.direction.normal();
    const AcGeVector3d up = text.normal.crossProduct(along).normal();
    const AcGeVector3d width =
        along * (kCharacterWidth * text.height * static_cast<double>(text.text.size()));
    const AcGePoint3d low = origin - up * (kDescent * text.height), high = origin + up * text.height;
    return {low, low + width, high + width, high};
}

GraphicsRecorder::GraphicsRecorder(AcGiRegenType regenType, double deviation)
    : m_regenType(regenType), m_deviation(deviation), m_transforms{AcGeMatrix3d()}, m_blockColors{7},
      m_world(std::make_unique<WorldDraw>(*this)), m_viewport(std::make_unique<ViewportDraw>(*this)) {}

GraphicsRecorder::~GraphicsRecorder() = default;

AcGiWorldDraw& GraphicsRecorder::worldDraw() {
    return *m_world;
}
AcGiViewportDraw& GraphicsRecorder::viewportDraw() {
    return *m_viewport;
}

AcGePoint3d GraphicsRecorder::toWorld(const AcGePoint3d& p) const {
    return AcGePoint3d(p).transformBy(m_transforms.back());
}

AcGeVector3d GraphicsRecorder::toWorld(const AcGeVector3d& v) const {
    return AcGeVector3d(v).transformBy(m_transforms.back());
}

void GraphicsRecorder::addPoints(Primitive& primitive, const AcGePoint3d* points, std::size_t count) const {
    for (std::size_t i = 0; i < count; ++i)
        primitive.points.push_back(toWorld(points[i]));
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
    p.handle = m_drawingEntity;
    p.color = resolvedColor();
    return p;
}

void GraphicsRecorder::recordEntity(AcDbEntity* entity) {
    if (!entity || entity->visibility() == AcDb::kInvisible) return;
    ScopedRead access(entity);
    const bool topLevel = m_blockColors.size() == 1;
    if (topLevel) {
        m_drawingEntity = entity->handle();
        m_nestedDraws = 0;
        m_cutShort.clear();
    }
    setTraitsFrom(entity);
    if (!entity->worldDraw(m_world.get())) entity->viewportDraw(m_viewport.get());
    if (topLevel && !m_cutShort.empty())
        acutPrintf(L"\nNote: entity %ls drawn in part: block %ls", m_drawingEntity.text().c_str(),
                   m_cutShort.c_str());
}

// Whether the nested entity may be drawn within the bounds; when not, its block is noted as cut short.
bool GraphicsRecorder::withinBounds(AcDbEntity* nested) {
    if (m_blockColors.size() <= kMaxBlockNesting && ++m_nestedDraws <= kMaxNestedEntities) return true;
    if (m_cutShort.empty()) {
        const AcDbObjectId owner = nested->ownerId();
        auto* block = owner.isValid() ? AcDbBlockTableRecord::cast(owner.stub()->object) : nullptr;
        m_cutShort = (block ? std::wstring(block->name()) : owner.handle().text()) +
                     (m_blockColors.size() > kMaxBlockNesting ? L" nests blocks deeper than can be drawn"
                                                              : L" is inserted more often than can be drawn");
    }
    return false;
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

void GraphicsRecorder::addArc(PrimitiveKind kind, const AcGePoint3d& center, double radius,
                              const AcGeVector3d& normal, double startAngle, double sweep) {
    Primitive& p = add(kind);
    AcGePoint3dArray outline;
    appendPlaneArc(outline, center, normal, radius, startAngle, sweep, m_deviation);
    addPoints(p, outline.asArrayPtr(), static_cast<std::size_t>(outline.length()));
    p.center = toWorld(center);
    p.radius = radius * m_transforms.back().scale();
    p.normal = toWorld(normal).normal();
}

bool GraphicsRecorder::circle(const AcGePoint3d& center, double radius, const AcGeVector3d& normal) {
    addArc(PrimitiveKind::Circle, center, radius, normal, 0, 2 * std::numbers::pi);
    return false;
}

bool GraphicsRecorder::circularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                                   const AcGeVector3d& startVector, double sweepAngle, AcGiArcType) {
    addArc(PrimitiveKind::Arc, center, radius, normal, planeAngle(center, normal, center + startVector),
           sweepAngle);
    return false;
}

bool GraphicsRecorder::polyline(Adesk::UInt32 nbPoints, const AcGePoint3d* vertices, const AcGeVector3d*,
                                Adesk::LongPtr baseSubEntMarker) {
    if (!vertices || nbPoints == 0) return false;
    if (baseSubEntMarker < 0 || nbPoints < 2) {
        addPoints(add(PrimitiveKind::Polyline), vertices, nbPoints);
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
    addPoints(add(PrimitiveKind::Polygon), vertices, nbPoints);
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
    addPoints(p, vertices, rows * columns);
    return false;
}

bool GraphicsRecorder::text(const AcGePoint3d& position, const AcGeVector3d& normal,
                            const AcGeVector3d& direction, double height, double, double,
                            const ACHAR* message) {
    Primitive& p = add(PrimitiveKind::Text);
    p.points.push_back(toWorld(position));
    p.normal = toWorld(normal).normal();
    p.direction = toWorld(direction);
    p.height = height * m_transforms.back().scale();
    p.text = message ? message : L"";
    return false;
}

bool GraphicsRecorder::draw(AcGiDrawable* drawable) {
    if (!drawable) return false;
    Traits kept = m_traits;
    m_blockColors.push_back(resolvedColor()); // what "by block" means for what the drawable draws
    if (auto* entity = AcDbEntity::cast(drawable)) {
        if (withinBounds(entity)) recordEntity(entity);
    } else if (!drawable->worldDraw(m_world.get()))
        drawable->viewportDraw(m_viewport.get());
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
