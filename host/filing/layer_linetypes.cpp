#include "host/filing/layer_linetypes.h"

#include "host/db/database.h"
#include "host/filing/proxies.h"

namespace host {
namespace {

bool isLiveLinetype(AcDbObjectId id) {
    return id.isValid() && !id.isErased() && AcDbLinetypeTableRecord::cast(id.stub()->object);
}

} // namespace

std::wstring repairLayerLinetypes(AcDbDatabase& db,
                                  const std::function<std::wstring(AcDbLayerTableRecord&)>& namedLinetype) {
    auto* layers =
        db.layerTableId().isValid() ? AcDbSymbolTable::cast(db.layerTableId().stub()->object) : nullptr;
    if (!layers) return {};
    std::wstring repaired;
    for (AcDbObjectId id : layers->recordIds()) {
        auto* layer = id.isValid() ? AcDbLayerTableRecord::cast(id.stub()->object) : nullptr;
        if (!layer || isLiveLinetype(layer->linetypeObjectId())) continue;
        const std::wstring named = namedLinetype(*layer);
        if (isLiveLinetype(layer->linetypeObjectId())) continue;
        layer->setLinetypeObjectId(db.continuousLinetype());
        if (!named.empty())
            repaired += (repaired.empty() ? L"" : L", ") + std::wstring(layer->name()) + L" (" + named + L")";
    }
    if (repaired.empty()) return {};
    return L"Note: linetypes the drawing does not hold, replaced by Continuous on layers " + repaired;
}

std::wstring addLayersEntitiesName(AcDbDatabase& db) {
    std::wstring made;
    std::wstring previous; // entities mostly come layer after layer: one look-up a run
    for (ObjectStub* stub : db.stubs()) {
        auto* entity = stub->erased ? nullptr : AcDbEntity::cast(stub->object);
        if (!entity || proxyContent(entity) || entity->layer() == previous) continue;
        previous = entity->layer();
        if (!db.layerId(previous).isNull()) continue;
        AcDbLayerTable* layers = nullptr;
        if (acdbOpenObject(layers, db.layerTableId(), AcDb::kForWrite) != Acad::eOk) break;
        auto* layer = new AcDbLayerTableRecord;
        layer->setName(entity->layer());
        layer->setLinetypeObjectId(db.continuousLinetype());
        if (layers->add(layer) == Acad::eOk) {
            made += (made.empty() ? L"" : L", ") + std::wstring(entity->layer());
            layer->close();
        } else {
            delete layer;
        }
        layers->close();
    }
    return made.empty() ? made : L"Note: layers the drawing names but does not define, made: " + made;
}

} // namespace host
