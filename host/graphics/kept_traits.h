#pragma once
// Traits kept as an entity sets them, for graphics systems that write down what is drawn with them.
#include "host/entities/entity.h"
#include "host/graphics/gi.h"

namespace host {

struct Traits {
    Adesk::UInt16 color = 256;
    AcDbObjectId layer, linetype;
    double linetypeScale = 1;
    AcDb::LineWeight lineWeight = AcDb::kLnWtByLayer;
    Adesk::LongPtr marker = 0;
    double thickness = 0;
};

class KeptTraits : public AcGiSubEntityTraits {
public:
    void setColor(Adesk::UInt16 colorIndex) override { m_traits.color = colorIndex; }
    void setLayer(AcDbObjectId layerId) override { m_traits.layer = layerId; }
    void setLineType(AcDbObjectId linetypeId) override { m_traits.linetype = linetypeId; }
    void setLineTypeScale(double scale) override { m_traits.linetypeScale = scale; }
    void setLineWeight(AcDb::LineWeight weight) override { m_traits.lineWeight = weight; }
    void setSelectionMarker(Adesk::LongPtr marker) override { m_traits.marker = marker; }
    void setThickness(double thickness) override { m_traits.thickness = thickness; }
    Adesk::UInt16 color() const override { return m_traits.color; }
    AcDbObjectId layerId() const override { return m_traits.layer; }
    AcDbObjectId lineTypeId() const override { return m_traits.linetype; }
    double lineTypeScale() const override { return m_traits.linetypeScale; }
    AcDb::LineWeight lineWeight() const override { return m_traits.lineWeight; }
    double thickness() const override { return m_traits.thickness; }

protected:
    // An entity is drawn with its own properties until it sets others.
    void setTraitsFrom(const AcDbEntity* entity) {
        m_traits = Traits{};
        m_traits.color = entity->colorIndex();
        m_traits.layer = entity->layerId();
        m_traits.linetype = entity->linetypeId();
        m_traits.linetypeScale = entity->linetypeScale();
        m_traits.lineWeight = entity->lineWeight();
    }

    Traits m_traits;
};

} // namespace host
