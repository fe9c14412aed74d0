#include "host/filing/layer_linetypes.h"

#include "host/db/database.h"

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

} // namespace host
