// The rows of symbol blocks of a "*I=" style, drawn or made in a drawing.
#include <cmath>
#include <exception>
#include <memory>
#include <numbers>
#include <optional>
#include <string>

#include "cadutil/command_line/print.h"
#include "cadutil/database/blocks.h"
#include "cadutil/database/spaces.h"
#include "entity/core/poly_arc3d.h"
#include "entity/drawing/cartographic_styles.h"
#include "entity/drawing/style_properties.h"
#include "entity/drawing/style_text.h"
#include "geometry/arcs/arc3d.h"
#include "host/db/database.h"
#include "host/entities/block_reference.h"
#include "host/graphics/gi.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRadiansPerGrad = kPi / 200;
constexpr double kShortChord = 0.01; // a segment this short has no direction of its own

struct SymbolPart {
    std::string block;
    std::optional<double> scale;
    std::optional<double> spacing, first;
    SymbolPlacement placement;
    bool atVertices = false, atMiddles = false;
    StyleLook look;
};

// The scale of an s field: a real (0 means 1), or the entity's linetype scale times LTSCALE for a text
// beginning with a lower-case l.
std::optional<double> readScale(std::string_view value, double lineScale, bool hasPieces) {
    std::optional<double> scale = styleReal(value);
    if (value[0] == 'l' && hasPieces) scale = lineScale;
    if (scale && *scale == 0) scale = 1;
    return scale;
}

// A field's value into the part, d, f, x and y times the scale given before them; false when it cannot be
// read.
bool readField(const StyleField& field, double lineScale, bool hasPieces, SymbolPart& part) {
    const double multiplier = part.scale.value_or(1);
    auto real = [&](auto assign, double factor = 1) {
        const std::optional<double> number = styleReal(field.value);
        if (number) assign(*number * factor);
        return number.has_value();
    };
    switch (field.key) {
    case 'a':
        return real([&](double a) { part.placement.angle = a; }, kRadiansPerGrad);
    case 'c': {
        const std::optional<int> color = styleInt(field.value);
        if (color) part.look.color = *color;
        return color.has_value();
    }
    case 'd':
        return real([&](double d) { part.spacing = d; }, multiplier);
    case 'f':
        return real([&](double f) { part.first = f; }, multiplier);
    case 'l':
        part.look.layer = upperCased(field.value);
        return true;
    case 'o':
        for (char option : upperCased(field.value)) {
            part.atVertices |= option == 'P';
            part.atMiddles |= option == 'M';
        }
        return true;
    case 's':
        part.scale = readScale(field.value, lineScale, hasPieces);
        return part.scale.has_value();
    case 't':
        part.look.linetype = upperCased(field.value);
        return true;
    case 'x':
        return real([&](double x) { part.placement.along = x; }, multiplier);
    case 'y':
        return real([&](double y) { part.placement.across = y; }, multiplier);
    default:
        return false;
    }
}

SymbolPart readPart(std::string_view spec, std::string_view text, double lineScale, bool hasPieces) {
    SymbolPart part;
    const StyleFields fields = splitStyleFields(text);
    for (std::string_view item : fields.skipped)
        reportSkippedField(spec, item);
    for (const StyleField& field : fields.fields)
        if (!readField(field, lineScale, hasPieces, part)) reportSkippedField(spec, field.item);
    if (!part.first && part.spacing) part.first = *part.spacing / 2;
    part.block = upperCased(fields.lead);
    return part;
}

// Walks the pieces of one part, placing its symbols through the template.
class SymbolWalk {
public:
    SymbolWalk(const SymbolPart& part, AcDbBlockReference& symbol, AcGiWorldDraw* draw,
               AcDbDatabase* database, int space, AcDbVoidPtrArray* output, int& placed)
        : m_part(part), m_symbol(symbol), m_draw(draw), m_database(database), m_space(space),
          m_output(output), m_placed(placed), m_position(part.first.value_or(0)) {}

    // False once the call's symbols run out.
    bool walk(CPolyArc3D& piece) {
        m_piece = &piece;
        std::optional<double> previous;
        for (P_Vertex* v = piece.H(); v;) {
            P_Vertex* w = piece.N(v);
            CArc3d segment;
            if (w) segment.set(v, w->pt);
            const bool directionless = !w || segment.chord < kShortChord;
            const double h = directionless && previous ? *previous : segment.startGis;
            if (!previous) previous = h;
            if (m_part.atVertices) {
                const double turn = std::floor((*previous - h + kPi) / (2 * kPi)) * 2 * kPi;
                if (!place(v->pt, (turn + h + *previous) / 2)) return false;
            }
            const bool last = v == piece.T();
            if (m_part.atMiddles && directionless) {
                v = last ? nullptr : w;
                continue;
            }
            if (m_part.atMiddles && !place(segment.ptmilieu(), segment.chordGis)) return false;
            if (w && !placeSpaced(segment)) return false;
            if (!directionless) previous = segment.endGis;
            v = last ? nullptr : w;
        }
        return true;
    }

private:
    // Symbols every spacing along the segment; the distance to the next one carries over.
    bool placeSpaced(CArc3d& segment) {
        const double spacing = m_part.spacing.value_or(0);
        const double length = segment.len();
        if (!(spacing > 0) || !(length > kShortChord)) return true;
        std::optional<double> lastAt;
        for (double at = m_position; at <= length; at += spacing) {
            CPoint3d point;
            segment.ptAtDist(at, point);
            if (!place(point, segment.GisAtDist(at))) return false;
            lastAt = at;
        }
        m_position =
            lastAt ? std::max(0.0, spacing - (length - *lastAt)) : std::max(0.0, m_position - length);
        return true;
    }

    bool place(const CPoint3d& stored, double direction) {
        if (m_placed >= kMaxSymbolsPerCall) return false;
        ++m_placed;
        placeSymbol(m_symbol, m_draw, m_piece->WorldPoint(&stored), direction, m_part.placement, m_database,
                    m_space, m_output);
        return true;
    }

    const SymbolPart& m_part;
    AcDbBlockReference& m_symbol;
    AcGiWorldDraw* m_draw;
    AcDbDatabase* m_database;
    int m_space;
    AcDbVoidPtrArray* m_output;
    int& m_placed;
    double m_position; // distance to the next spaced symbol
    CPolyArc3D* m_piece = nullptr;
};

// False once the call's symbols run out.
bool placePart(std::string_view spec, const SymbolPart& part, AcGiWorldDraw* draw, int count,
               void* const* pieces, const AcDbEntity* entity, double entityScale, AcDbDatabase* database,
               int space, AcDbVoidPtrArray* output, int& placed) {
    AcDbObjectId block;
    if (part.block.empty() || getBlockId(part.block.c_str(), block, database) != Acad::eOk) {
        msgprintf("\nStyle %.*s : bloc introuvable \"%s\"", static_cast<int>(spec.size()), spec.data(),
                  part.block.c_str());
        return true;
    }
    AcDbBlockReference symbol(AcGePoint3d(), block);
    applyStyleLook(symbol, draw, entity, entityScale, part.look, database);
    if (part.scale) symbol.setScaleFactors(AcGeScale3d(*part.scale));
    SymbolWalk walk(part, symbol, draw, database, space, output, placed);
    for (int i = 0; i < count; ++i) {
        auto* piece = static_cast<CPolyArc3D*>(pieces[i]);
        if (piece->GetCount() < 2) continue;
        if (i == 0 && piece->normalMatrix()) symbol.setNormal(piece->Snormal());
        if (!walk.walk(*piece)) return false;
    }
    return true;
}

} // namespace

int placeSymbols(const char* spec, AcGiWorldDraw* draw, int count, void* const* pieces,
                 const AcDbEntity* entity, AcDbDatabase* database, int space, AcDbVoidPtrArray* output) {
    if (!spec) return 0;
    try {
        if (!database) database = workingDatabase();
        const double ltscale = database ? database->ltscale() : 1;
        const double entityScale = entity ? entity->linetypeScale() : 1;
        const std::string_view text(spec);
        int placed = 0;
        for (std::size_t start = 0; start <= text.size();) {
            const std::size_t bar = std::min(text.find('|', start), text.size());
            const SymbolPart part =
                readPart(text, text.substr(start, bar - start), entityScale * ltscale, count > 0);
            if (!placePart(text, part, draw, count, pieces, entity, entityScale, database, space, output,
                           placed)) {
                msgprintf("\nStyle %s : plus de %d symboles, les suivants ne sont pas plac\351s", spec,
                          kMaxSymbolsPerCall);
                break;
            }
            start = bar + 1;
        }
        return 1;
    } catch (const std::exception&) {
        msgprintf("\nprobleme Insertion BLOCK R\351guliers NomBlock=%s", spec);
        throw;
    }
}

int placeSymbol(AcDbBlockReference& blockRef, AcGiWorldDraw* draw, const CPoint3d& point, double direction,
                const SymbolPlacement& placement, AcDbDatabase* database, int space,
                AcDbVoidPtrArray* output) {
    CPoint3d position = point;
    if (placement.along != 0) position = position.polar(direction, placement.along);
    if (placement.across != 0) position = position.polar(direction + kPi / 2, placement.across);
    blockRef.setPosition(AcGePoint3d(position.x, position.y, position.z));
    blockRef.setRotation(direction + placement.angle);
    if (draw) {
        draw->geometry().draw(&blockRef);
        return 1;
    }
    std::unique_ptr<AcDbEntity> copy(AcDbEntity::cast(blockRef.clone()));
    if (copy && output) {
        output->append(copy.release());
        return 1;
    }
    AcDbObjectId id;
    if (copy && !appendEntityToSpace(id, copy.get(), space, database).isNull()) copy.release()->close();
    return 1;
}
