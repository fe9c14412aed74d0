#include "host/graphics/proxy_graphics_reader.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/enum_values.h"
#include "host/filing/text_codec.h"
#include "host/graphics/proxy_graphics_format.h"

namespace host {
namespace {

using namespace proxy_graphics;

// Reads one entry's data, never past its end.
class EntryData {
public:
    EntryData(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    template <typename T> bool read(T& value) {
        if (m_size - m_at < sizeof value) return false;
        std::memcpy(&value, m_data + m_at, sizeof value);
        m_at += sizeof value;
        return true;
    }
    bool readPoint(AcGePoint3d& p) {
        double xyz[3];
        if (!read(xyz) || !finite(xyz)) return false;
        p = AcGePoint3d(xyz[0], xyz[1], xyz[2]);
        return true;
    }
    // `count` points, when the entry holds them.
    bool readPoints(std::uint64_t count, std::vector<AcGePoint3d>& points) {
        if (count > (m_size - m_at) / kPointSize) return false;
        points.resize(count);
        for (AcGePoint3d& p : points)
            if (!readPoint(p)) return false;
        return true;
    }
    // A null-terminated UTF-16LE text.
    bool readText(std::wstring& text) {
        std::u16string units;
        char16_t unit = 0;
        while (read(unit)) {
            if (unit == 0) {
                text = fromUtf16(units);
                return true;
            }
            units.push_back(unit);
        }
        return false;
    }
    template <std::size_t N> static bool finite(const double (&values)[N]) {
        for (double v : values)
            if (!std::isfinite(v)) return false;
        return true;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

AcGePoint3d point(const double (&xyz)[3]) {
    return {xyz[0], xyz[1], xyz[2]};
}
AcGeVector3d vector(const double (&xyz)[3]) {
    return {xyz[0], xyz[1], xyz[2]};
}

class Replay {
public:
    Replay(AcGiWorldDraw& draw, const AcDbDatabase* database) : m_draw(draw), m_database(database) {}
    ~Replay() {
        // Transforms the image left pushed do not outlive it.
        for (; m_pushed > 0; --m_pushed)
            m_draw.geometry().popModelTransform();
    }
    Replay(const Replay&) = delete;
    Replay& operator=(const Replay&) = delete;

    // Draws one entry; false when its operation is unknown or its data does not hold what the operation
    // needs.
    bool entry(Op op, EntryData data) {
        AcGiWorldGeometry& geometry = m_draw.geometry();
        AcGiSubEntityTraits& traits = m_draw.subEntityTraits();
        switch (op) {
        case Op::Circle: {
            CircleData c{};
            if (!data.read(c) || !EntryData::finite(c.center) || !std::isfinite(c.radius) ||
                !EntryData::finite(c.normal))
                return false;
            geometry.circle(point(c.center), c.radius, vector(c.normal));
            return drew();
        }
        case Op::CircularArc: {
            ArcData a{};
            if (!data.read(a) || !EntryData::finite(a.center) || !std::isfinite(a.radius) ||
                !EntryData::finite(a.normal) || !EntryData::finite(a.startVector) || !std::isfinite(a.sweep))
                return false;
            geometry.circularArc(point(a.center), a.radius, vector(a.normal), vector(a.startVector), a.sweep,
                                 a.arcType <= kAcGiArcChord ? static_cast<AcGiArcType>(a.arcType)
                                                            : kAcGiArcSimple);
            return drew();
        }
        case Op::Polyline:
        case Op::Polygon:
        case Op::PolylineWithNormal: {
            std::uint32_t count = 0;
            std::vector<AcGePoint3d> points;
            AcGePoint3d normal;
            if (!data.read(count) || count == 0 || !data.readPoints(count, points) ||
                (op == Op::PolylineWithNormal && !data.readPoint(normal)))
                return false;
            const AcGeVector3d n(normal.x, normal.y, normal.z);
            if (op == Op::Polygon)
                geometry.polygon(count, points.data());
            else
                geometry.polyline(count, points.data(), op == Op::PolylineWithNormal ? &n : nullptr);
            return drew();
        }
        case Op::Mesh: {
            MeshHead head{};
            std::vector<AcGePoint3d> points;
            if (!data.read(head) || head.rows == 0 || head.columns == 0 ||
                !data.readPoints(std::uint64_t{head.rows} * head.columns, points))
                return false;
            geometry.mesh(head.rows, head.columns, points.data());
            return drew();
        }
        case Op::Ray: {
            RayData r{};
            if (!data.read(r) || !EntryData::finite(r.base) || !EntryData::finite(r.through)) return false;
            geometry.ray(point(r.base), point(r.through));
            return drew();
        }
        case Op::UnicodeText: {
            TextHead t{};
            std::wstring text;
            if (!data.read(t) || !EntryData::finite(t.position) || !EntryData::finite(t.normal) ||
                !EntryData::finite(t.direction) || !std::isfinite(t.height) ||
                !std::isfinite(t.widthFactor) || !std::isfinite(t.oblique) || !data.readText(text))
                return false;
            geometry.text(point(t.position), vector(t.normal), vector(t.direction), t.height, t.widthFactor,
                          t.oblique, text.c_str());
            return drew();
        }
        case Op::Color: {
            std::uint32_t color = 0;
            if (!data.read(color) || color > AcCmColor::kByLayer) return false;
            traits.setColor(static_cast<Adesk::UInt16>(color));
            return true;
        }
        case Op::Layer:
        case Op::Linetype: {
            std::uint32_t index = 0;
            if (!data.read(index) || !m_database) return false;
            const bool layer = op == Op::Layer;
            const AcDbObjectId id =
                recordAt(layer ? m_database->layerTableId() : m_database->linetypeTableId(), index);
            if (id.isNull()) return false;
            if (layer)
                traits.setLayer(id);
            else
                traits.setLineType(id);
            return true;
        }
        case Op::Marker: {
            std::int32_t marker = 0;
            if (!data.read(marker)) return false;
            traits.setSelectionMarker(static_cast<Adesk::LongPtr>(marker));
            return true;
        }
        case Op::LineWeight: {
            std::int32_t weight = 0;
            if (!data.read(weight)) return false;
            traits.setLineWeight(lineWeightOrDefault(weight));
            return true;
        }
        case Op::LinetypeScale:
        case Op::Thickness: {
            double value = 0;
            if (!data.read(value) || !std::isfinite(value)) return false;
            if (op == Op::Thickness)
                traits.setThickness(value);
            else if (value > 0)
                traits.setLineTypeScale(value);
            return true;
        }
        case Op::PushMatrix: {
            MatrixData m{};
            if (!data.read(m) || !EntryData::finite(m.entry)) return false;
            AcGeMatrix3d xform;
            for (int row = 0; row < 4; ++row)
                for (int column = 0; column < 4; ++column)
                    xform(row, column) = m.entry[4 * row + column];
            geometry.pushModelTransform(xform);
            ++m_pushed;
            return true;
        }
        case Op::PopMatrix:
            if (m_pushed == 0) return false;
            geometry.popModelTransform();
            --m_pushed;
            return true;
        }
        return false;
    }

    int drawn() const { return m_drawn; }

private:
    bool drew() {
        ++m_drawn;
        return true;
    }

    AcGiWorldDraw& m_draw;
    const AcDbDatabase* m_database;
    int m_pushed = 0;
    int m_drawn = 0;
};

} // namespace

ProxyGraphicsReplay drawProxyGraphics(const std::uint8_t* image, std::size_t size, AcGiWorldDraw& draw,
                                      const AcDbDatabase* database) {
    ProxyGraphicsReplay result;
    if (!image || size < sizeof(Header)) return result;
    Header imageHeader{};
    std::memcpy(&imageHeader, image, sizeof imageHeader);
    // The image's own size, when it is sound, bounds the walk; a damaged one gives way to the data's.
    const std::size_t end =
        imageHeader.size >= sizeof(Header) && imageHeader.size <= size ? imageHeader.size : size;
    Replay replay(draw, database);
    for (std::size_t at = sizeof(Header); at < end;) {
        Header entry{};
        if (end - at < sizeof entry) {
            ++result.skipped;
            break;
        }
        std::memcpy(&entry, image + at, sizeof entry);
        if (entry.size < sizeof entry || entry.size > end - at) {
            ++result.skipped; // the rest cannot be found
            break;
        }
        const EntryData data(image + at + sizeof entry, entry.size - sizeof entry);
        // An operation this host does not know falls through every case and is skipped.
        if (!replay.entry(static_cast<Op>(entry.value), data)) ++result.skipped;
        at += entry.size;
    }
    result.drawn = replay.drawn();
    return result;
}

} // namespace host
