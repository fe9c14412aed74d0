#include "host/graphics/proxy_graphics_writer.h"

#include <cstring>
#include <exception>
#include <optional>

#include "host/db/database.h"
#include "host/filing/text_codec.h"
#include "host/graphics/gi.h"
#include "host/graphics/kept_traits.h"
#include "host/graphics/proxy_graphics_format.h"

namespace host {
namespace {

using namespace proxy_graphics;

class ImageWriter : public AcGiWorldGeometry, public KeptTraits {
public:
    explicit ImageWriter(AcDbDatabase* database) : m_database(database), m_context(*this) {}

    std::vector<std::uint8_t> image(AcDbEntity* entity) {
        drawEntity(entity);
        if (!m_drawn) return {};
        std::vector<std::uint8_t> image(sizeof(Header));
        const Header header{static_cast<std::uint32_t>(sizeof(Header) + m_entries.size()), m_count};
        std::memcpy(image.data(), &header, sizeof header);
        image.insert(image.end(), m_entries.begin(), m_entries.end());
        return image;
    }

    bool circle(const AcGePoint3d& center, double radius, const AcGeVector3d& normal) override {
        CircleData data{};
        put(data.center, center);
        data.radius = radius;
        put(data.normal, normal);
        primitive(Op::Circle, data);
        return false;
    }
    bool circularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                     const AcGeVector3d& startVector, double sweepAngle, AcGiArcType arcType) override {
        ArcData data{};
        put(data.center, center);
        data.radius = radius;
        put(data.normal, normal);
        put(data.startVector, startVector);
        data.sweep = sweepAngle;
        data.arcType = static_cast<std::uint32_t>(arcType);
        primitive(Op::CircularArc, data);
        return false;
    }
    bool polyline(Adesk::UInt32 nbPoints, const AcGePoint3d* vertices, const AcGeVector3d* normal,
                  Adesk::LongPtr baseSubEntMarker) override {
        if (!vertices || nbPoints == 0) return false;
        if (baseSubEntMarker < 0 || nbPoints < 2) {
            points(normal ? Op::PolylineWithNormal : Op::Polyline, vertices, nbPoints, normal);
            return false;
        }
        // Each segment under its own marker, as it was drawn.
        const Adesk::LongPtr kept = m_traits.marker;
        for (Adesk::UInt32 i = 0; i + 1 < nbPoints; ++i) {
            m_traits.marker = baseSubEntMarker + i;
            points(normal ? Op::PolylineWithNormal : Op::Polyline, vertices + i, 2, normal);
        }
        m_traits.marker = kept;
        return false;
    }
    bool polygon(Adesk::UInt32 nbPoints, const AcGePoint3d* vertices) override {
        if (vertices && nbPoints > 0) points(Op::Polygon, vertices, nbPoints, nullptr);
        return false;
    }
    bool ray(const AcGePoint3d& basePoint, const AcGePoint3d& throughPoint) override {
        RayData data{};
        put(data.base, basePoint);
        put(data.through, throughPoint);
        primitive(Op::Ray, data);
        return false;
    }
    bool mesh(Adesk::UInt32 rows, Adesk::UInt32 columns, const AcGePoint3d* vertices, const AcGiEdgeData*,
              const AcGiFaceData*, const AcGiVertexData*, bool) override {
        if (!vertices || rows == 0 || columns == 0) return false;
        writeTraits();
        const std::size_t count = std::size_t{rows} * columns;
        begin(Op::Mesh, sizeof(MeshHead) + count * kPointSize + kMeshTraitFlags * sizeof(std::uint32_t));
        append(MeshHead{rows, columns});
        for (std::size_t i = 0; i < count; ++i)
            appendPoint(vertices[i]);
        for (std::size_t i = 0; i < kMeshTraitFlags; ++i)
            append(std::uint32_t{0});
        return false;
    }
    bool text(const AcGePoint3d& position, const AcGeVector3d& normal, const AcGeVector3d& direction,
              double height, double width, double oblique, const ACHAR* message) override {
        TextHead head{};
        put(head.position, position);
        put(head.normal, normal);
        put(head.direction, direction);
        head.height = height;
        head.widthFactor = width;
        head.oblique = oblique;
        std::u16string units = toUtf16(message ? message : L"");
        units.push_back(0);
        if (units.size() % 2) units.push_back(0); // padded to 4 bytes
        writeTraits();
        begin(Op::UnicodeText, sizeof head + units.size() * sizeof(char16_t));
        append(head);
        for (char16_t unit : units)
            append(unit);
        return false;
    }
    bool draw(AcGiDrawable* drawable) override {
        if (!drawable) return false;
        const Traits kept = m_traits;
        m_blockColors.push_back(effectiveColor()); // what "by block" means for what the drawable draws
        if (auto* entity = AcDbEntity::cast(drawable))
            drawEntity(entity);
        else
            drawable->worldDraw(&m_context);
        m_blockColors.pop_back();
        m_traits = kept;
        return false;
    }
    bool pushModelTransform(const AcGeMatrix3d& xform) override {
        MatrixData data{};
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < 4; ++column)
                data.entry[4 * row + column] = xform(row, column);
        begin(Op::PushMatrix, sizeof data);
        append(data);
        return true;
    }
    bool popModelTransform() override {
        begin(Op::PopMatrix, 0);
        return true;
    }

private:
    class Context : public AcGiWorldDraw {
    public:
        explicit Context(ImageWriter& writer) : m_writer(writer) {}
        AcGiRegenType regenType() const override { return kAcGiSaveWorldDrawForProxy; }
        AcGiSubEntityTraits& subEntityTraits() const override { return m_writer; }
        AcGiWorldGeometry& geometry() const override { return m_writer; }

    private:
        ImageWriter& m_writer;
    };

    void drawEntity(AcDbEntity* entity) {
        ScopedRead access(entity);
        setTraitsFrom(entity);
        entity->worldDraw(&m_context);
    }

    static void put(double (&to)[3], const AcGePoint3d& p) {
        to[0] = p.x;
        to[1] = p.y;
        to[2] = p.z;
    }
    static void put(double (&to)[3], const AcGeVector3d& v) {
        to[0] = v.x;
        to[1] = v.y;
        to[2] = v.z;
    }

    template <typename T> void append(const T& value) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(&value);
        m_entries.insert(m_entries.end(), bytes, bytes + sizeof value);
    }
    void appendPoint(const AcGePoint3d& p) {
        double xyz[3];
        put(xyz, p);
        append(xyz);
    }
    void begin(Op op, std::size_t dataSize) {
        append(Header{static_cast<std::uint32_t>(sizeof(Header) + dataSize), static_cast<std::uint32_t>(op)});
        ++m_count;
    }
    template <typename T> void attribute(Op op, const T& value) {
        begin(op, sizeof value);
        append(value);
    }
    template <typename T> void primitive(Op op, const T& data) {
        writeTraits();
        begin(op, sizeof data);
        append(data);
    }
    void points(Op op, const AcGePoint3d* vertices, Adesk::UInt32 count, const AcGeVector3d* normal) {
        writeTraits();
        begin(op, sizeof(std::uint32_t) + (count + (normal ? 1u : 0u)) * kPointSize);
        append(std::uint32_t{count});
        for (Adesk::UInt32 i = 0; i < count; ++i)
            appendPoint(vertices[i]);
        if (normal) appendPoint(AcGePoint3d(normal->x, normal->y, normal->z));
    }

    // Inside a nested drawable "by block" is the colour of what draws it; at the top it stays "by block".
    Adesk::UInt16 effectiveColor() const {
        return m_traits.color == AcCmColor::kByBlock && !m_blockColors.empty() ? m_blockColors.back()
                                                                               : m_traits.color;
    }

    // The traits that changed since the last primitive (all of them before the first).
    void writeTraits() {
        Traits now = m_traits;
        now.color = effectiveColor();
        const bool first = !m_written.has_value();
        const Traits& was = first ? now : *m_written;
        if (first || was.color != now.color) attribute(Op::Color, std::uint32_t{now.color});
        if (first || was.layer != now.layer)
            if (const long index = recordIndex(m_database->layerTableId(), now.layer); index >= 0)
                attribute(Op::Layer, static_cast<std::uint32_t>(index));
        if (first || was.linetype != now.linetype)
            if (const long index = recordIndex(m_database->linetypeTableId(), now.linetype); index >= 0)
                attribute(Op::Linetype, static_cast<std::uint32_t>(index));
        if (first || was.linetypeScale != now.linetypeScale) attribute(Op::LinetypeScale, now.linetypeScale);
        if (first || was.lineWeight != now.lineWeight)
            attribute(Op::LineWeight, static_cast<std::int32_t>(now.lineWeight));
        if (first || was.marker != now.marker) attribute(Op::Marker, static_cast<std::int32_t>(now.marker));
        if (first || was.thickness != now.thickness) attribute(Op::Thickness, now.thickness);
        m_written = now;
        m_drawn = true;
    }

    AcDbDatabase* m_database;
    Context m_context;
    std::optional<Traits> m_written;
    std::vector<Adesk::UInt16> m_blockColors; // at each nesting level
    std::vector<std::uint8_t> m_entries;
    std::uint32_t m_count = 0;
    bool m_drawn = false; // a primitive, not only transforms
};

} // namespace

std::vector<std::uint8_t> proxyGraphicsOf(AcDbEntity* entity) {
    if (!entity || !entity->database()) return {};
    try {
        return ImageWriter(entity->database()).image(entity);
    } catch (const std::exception&) {
        return {}; // the entity's own data is what the drawing needs; its picture is an extra
    }
}

} // namespace host
