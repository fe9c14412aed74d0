// The hatch of a "*H=" style, drawn or made in a drawing.
#include <cmath>
#include <exception>
#include <memory>
#include <numbers>
#include <optional>
#include <string>

#include "cadutil/command_line/print.h"
#include "cadutil/database/spaces.h"
#include "cadutil/resbuf/text_convert.h"
#include "entity/core/poly_arc3d.h"
#include "entity/drawing/cartographic_styles.h"
#include "entity/drawing/draw_state.h"
#include "entity/drawing/style_properties.h"
#include "entity/drawing/style_text.h"
#include "host/db/database.h"
#include "host/entities/hatch.h"
#include "host/graphics/gi.h"

namespace {

constexpr double kRadiansPerGrad = std::numbers::pi / 200;

struct HatchStyle {
    AcDbHatch::HatchPatternType type = AcDbHatch::kPreDefined;
    std::string pattern;
    std::optional<double> angle, scale, spacing;
    StyleLook look;
};

void readPattern(std::string_view field, HatchStyle& style) {
    const std::string text = upperCased(field);
    if (text.size() < 2 || text[1] != '!') {
        style.pattern = text;
        return;
    }
    switch (text[0]) {
    case 'D':
        style.type = AcDbHatch::kUserDefined;
        style.pattern = "_USER";
        break;
    case 'C':
        style.type = AcDbHatch::kCustomDefined;
        style.pattern = text.substr(2);
        break;
    case 'P':
        style.pattern = text.substr(2);
        break;
    default:
        style.pattern = text;
        break;
    }
}

// A field's value into the style; false when it cannot be read.
bool readField(const StyleField& field, double entityScale, double ltscale, bool hasPieces,
               HatchStyle& style) {
    switch (field.key) {
    case 'a': {
        const std::optional<double> grads = styleReal(field.value);
        if (grads) style.angle = *grads * kRadiansPerGrad;
        return grads.has_value();
    }
    case 'c': {
        const std::optional<int> color = styleInt(field.value);
        if (color) style.look.color = *color;
        return color.has_value();
    }
    case 'd': {
        const std::optional<double> spacing = styleReal(field.value);
        if (spacing) style.spacing = spacing;
        return spacing.has_value();
    }
    case 'l':
        style.look.layer = upperCased(field.value);
        return true;
    case 's': {
        std::optional<double> scale = styleReal(field.value);
        if (field.value[0] == 'l' && hasPieces) scale = entityScale;
        if (!scale) return false;
        style.scale = *scale * ltscale > 0 ? *scale * ltscale : ltscale;
        return true;
    }
    case 't':
        style.look.linetype = upperCased(field.value);
        return true;
    default:
        return false;
    }
}

// Fields read from the last to the first, so the first of a repeated key stands.
HatchStyle readHatchStyle(std::string_view spec, double entityScale, double ltscale, bool hasPieces) {
    HatchStyle style;
    const StyleFields fields = splitStyleFields(spec);
    for (std::string_view item : fields.skipped)
        reportSkippedField(spec, item);
    for (auto field = fields.fields.rbegin(); field != fields.fields.rend(); ++field)
        if (!readField(*field, entityScale, ltscale, hasPieces, style)) reportSkippedField(spec, field->item);
    if (style.spacing) *style.spacing *= style.scale ? *style.scale : entityScale * ltscale;
    readPattern(fields.lead, style);
    return style;
}

bool finite(const CPoint3d& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// The piece's vertices in its plane with their bulges, closed by the head again.
Acad::ErrorStatus appendPolylineLoop(AcDbHatch& hatch, Adesk::Int32 loopType, const CPolyArc3D& piece) {
    AcGePoint2dArray points;
    AcGeDoubleArray bulges;
    for (P_Vertex* v = piece.H(); v; v = v->pVN) {
        if (!finite(v->pt) || !std::isfinite(v->bulge)) return Acad::eInvalidInput;
        points.append(AcGePoint2d(v->pt.x, v->pt.y));
        bulges.append(v->bulge);
    }
    points.append(AcGePoint2d(piece.H()->pt.x, piece.H()->pt.y));
    bulges.append(0);
    return hatch.appendLoop(loopType, points, bulges);
}

void refuseLoop(const AcDbObjectIdArray& ids, AcDbObjectIdArray* failedIds) {
    ++poly_drawing::g_hatchErrors;
    if (failedIds)
        for (AcDbObjectId id : ids)
            failedIds->append(id);
}

// Loops of boundary objects bring no plane of their own: the hatch lies in that of the first boundary.
void takePlaneOf(AcDbHatch& hatch, const AcDbObjectIdArray& ids) {
    AcDbCurve* curve = nullptr;
    if (ids.isEmpty() || acdbOpenObject(curve, ids.first(), AcDb::kForRead) != Acad::eOk) return;
    AcGePlane plane;
    AcDb::Planarity type = AcDb::kNonPlanar;
    if (curve->getPlane(plane, type) == Acad::eOk && type == AcDb::kPlanar) {
        hatch.setNormal(plane.normal());
        hatch.setElevation(plane.pointOnPlane().asVector().dotProduct(plane.normal()));
    }
    curve->close();
}

void appendLoops(AcDbHatch& hatch, AcGiWorldDraw* draw, int count, void* const* pieces, int flags,
                 AcDbObjectIdArray* failedIds) {
    const bool associative = (flags & kHatchAssociative) && !draw;
    if (associative) hatch.setAssociative(true);
    for (int i = 0; i < count; ++i) {
        const Adesk::Int32 loopType = i == 0 ? AcDbHatch::kExternal : AcDbHatch::kDefault;
        auto* piece = flags & kHatchIdLoops ? nullptr : static_cast<CPolyArc3D*>(pieces[i]);
        if (piece) {
            if (!(flags & (kHatchAssociative | kHatchIdLoops)) && piece->GetCount() < 2) continue;
            if (!piece->H()) continue;
            if (i == 0) {
                if (piece->normalMatrix()) hatch.setNormal(piece->Snormal());
                if (std::isfinite(piece->H()->pt.z)) hatch.setElevation(piece->H()->pt.z);
            }
            piece->setClosed(true);
            piece->MajClosed();
        }
        AcDbObjectIdArray ids;
        if (associative) {
            if (piece) {
                ids.append(piece->objectId());
                piece->close();
            } else {
                ids = *static_cast<const AcDbObjectIdArray*>(pieces[i]);
                if (i == 0) takePlaneOf(hatch, ids);
            }
            if (hatch.appendLoop(loopType, ids) != Acad::eOk) refuseLoop(ids, failedIds);
        } else if (piece && appendPolylineLoop(hatch, loopType, *piece) != Acad::eOk) {
            if (!piece->objectId().isNull()) ids.append(piece->objectId());
            refuseLoop(ids, failedIds);
        }
    }
}

void setPattern(AcDbHatch& hatch, const HatchStyle& style) {
    if (style.angle) hatch.setPatternAngle(*style.angle);
    if (style.scale) hatch.setPatternScale(*style.scale);
    if (style.spacing) {
        hatch.setPatternSpace(*style.spacing);
        if (style.type == AcDbHatch::kUserDefined) hatch.setPatternScale(*style.spacing);
    }
    hatch.setPatternDouble(false);
    std::wstring name(style.pattern.size() + 1, L'\0');
    strToWide(name.data(), style.pattern.c_str());
    hatch.setPattern(style.type, name.c_str());
    hatch.evaluateHatch(false);
}

// Appended to the space, and made a persistent reactor of the objects it follows.
void addToDatabase(std::unique_ptr<AcDbHatch> hatch, AcDbDatabase* database, int space) {
    AcDbObjectIdArray sources;
    hatch->getAssocObjIds(sources);
    AcDbObjectId id;
    if (appendEntityToSpace(id, hatch.get(), space, database).isNull()) return;
    hatch.release()->close();
    for (AcDbObjectId source : sources) {
        AcDbObject* object = nullptr;
        if (acdbOpenObject(object, source, AcDb::kForWrite) != Acad::eOk) continue;
        object->addPersistentReactor(id);
        object->close();
    }
}

} // namespace

int makeHatch(const char* spec, AcGiWorldDraw* draw, int count, void* const* pieces, int flags,
              const AcDbEntity* entity, AcDbObjectIdArray* failedIds, AcDbDatabase* database, int space,
              AcDbVoidPtrArray* output) {
    if (!spec) return 0;
    try {
        if (!database) database = workingDatabase();
        const double ltscale = database ? database->ltscale() : 1;
        const double entityScale = entity ? entity->linetypeScale() : 1;
        const HatchStyle style = readHatchStyle(spec, entityScale, ltscale, count > 0);
        if (style.pattern.empty()) {
            msgprintf("\nStyle de hachure sans motif : %s", spec);
            return 1;
        }
        auto hatch = std::make_unique<AcDbHatch>();
        appendLoops(*hatch, draw, count, pieces, flags, failedIds);
        applyStyleLook(*hatch, draw, entity, entityScale, style.look, database);
        setPattern(*hatch, style);
        if (draw)
            draw->geometry().draw(hatch.get());
        else if (output)
            output->append(hatch.release());
        else
            addToDatabase(std::move(hatch), database, space);
        return 1;
    } catch (const std::exception&) {
        msgprintf("\nprobleme Hachurage HATCH Hachurage AUTOCAD NomHatch=%s", spec);
        throw;
    }
}
