#include "entity/drawing/style_properties.h"

#include "cadutil/database/layers.h"
#include "cadutil/database/linetypes.h"
#include "entity/drawing/style_text.h"
#include "host/entities/entity.h"
#include "host/graphics/gi.h"

void applyStyleLook(AcDbEntity& made, AcGiWorldDraw* draw, const AcDbEntity* entity, double linetypeScale,
                    const StyleLook& look, AcDbDatabase* database) {
    AcGiSubEntityTraits* traits = draw ? &draw->subEntityTraits() : nullptr;
    if (entity) made.setPropertiesFrom(entity);
    if (traits) {
        if (entity) {
            traits->setLayer(entity->layerId());
            traits->setColor(entity->colorIndex());
        }
        traits->setLineType(AcDbObjectId());
        traits->setLineTypeScale(linetypeScale);
        traits->setLineWeight(AcDb::kLnWt000);
    }
    if (look.color != 0 && made.setColorIndex(static_cast<Adesk::UInt16>(look.color)) == Acad::eOk && traits)
        traits->setColor(static_cast<Adesk::UInt16>(look.color));
    AcDbObjectId id;
    if (!look.layer.empty() &&
        getLayerId(styleLayerName(look.layer, entity ? entity->layer() : nullptr).c_str(), id, database) ==
            Acad::eOk &&
        made.setLayer(id) == Acad::eOk && traits)
        traits->setLayer(id);
    const char* linetype = look.linetype.empty() ? "CONTINUOUS" : look.linetype.c_str();
    if (getLinetypeId(linetype, id, true, database) == Acad::eOk && made.setLinetype(id) == Acad::eOk &&
        traits)
        traits->setLineType(id);
}
