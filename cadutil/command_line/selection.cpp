#include "cadutil/command_line/selection.h"

#include <cstdlib>
#include <string>

#include "cadutil/database/doc_lock.h"
#include "cadutil/resbuf/cresbuf.h"
#include "cadutil/resbuf/text_convert.h"
#include "host/db/symbol_tables.h"
#include "host/entities/entity.h"
#include "host/selection/selection_sets.h"
#include "host/selection/ssget.h"

namespace {

// The transform that a pick description gives (origin and axes after the pick point), identity otherwise.
AcGeMatrix3d pickTransform(const std::vector<const resbuf*>& items) {
    AcGeMatrix3d m;
    if (items.size() < 13 || items[7]->restype != RT3DPOINT) return m;
    for (int axis = 0; axis < 4; ++axis) {
        const resbuf* rb = items[9 + axis];
        if (rb->restype != RT3DPOINT) return AcGeMatrix3d();
        int column = axis == 0 ? 3 : axis - 1;
        for (int row = 0; row < 3; ++row)
            m(row, column) = rb->resval.rpoint[row];
    }
    return m;
}

// The first snap point of the entity near the pick, in mode 7 then, failing that, 10.
void snapOf(AcDbObjectId id, Adesk::GsMarker marker, const AcGePoint3d& pick, const AcGeMatrix3d& xform,
            AcGePoint3d& snap) {
    AcDbEntity* entity = nullptr;
    if (id.isNull() || acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) return;
    for (int mode : {7, 10}) {
        AcGePoint3dArray points;
        AcDbIntArray geomIds;
        if (entity->getOsnapPoints(static_cast<AcDb::OsnapMode>(mode), marker, pick, pick, xform, points,
                                   geomIds) == Acad::eOk &&
            !points.isEmpty()) {
            snap = points.first();
            break;
        }
    }
    entity->close();
}

} // namespace

int ssgetFilter(const char* filter, ads_name ss, const char* prompt) {
    Cresbuf chain;
    std::string mode;
    chain.AddFilterText(filter, mode);
    std::wstring selectPrompt;
    const ACHAR* prompts[2] = {nullptr, nullptr};
    if (prompt) {
        mode += ":$";
        selectPrompt = codePageToWide(prompt);
        prompts[0] = prompts[1] = selectPrompt.c_str();
    }
    bool withPrompts = mode.find('$') != std::string::npos;
    int rc =
        acedSSGet(codePageToWide(mode).c_str(), withPrompts ? prompts : nullptr, nullptr, chain.head(), ss);
    if (rc != RTNORM) return -std::abs(rc);
    Adesk::Int32 length = 0;
    acedSSLength(ss, &length);
    return length;
}

int ssToIds(ads_name ss, AcDbObjectIdArray& ids) {
    CDocLock lock;
    ids.removeAll();
    Adesk::Int32 length = 0;
    if (!ss || (!ss[0] && !ss[1]) || acedSSLength(ss, &length) != RTNORM || length <= 0) return 0;
    ids.setLogicalLength(length);
    for (Adesk::Int32 i = 0; i < length; ++i) {
        ads_name name;
        acedSSName(ss, i, name);
        acdbGetObjectId(ids[i], name);
    }
    acedSSFree(ss);
    ss[0] = ss[1] = 0;
    return length;
}

int pickEntity(AcDbObjectId& id, const char* types, Adesk::GsMarker* marker, AcGePoint3d* pickPoint,
               AcGePoint3d* snapPoint) {
    id.setNull();
    Cresbuf filter;
    if (types) filter.AddText(0, types);
    ads_name ss;
    int rc = acedSSGet(L"_:n:s-m", nullptr, nullptr, filter.head(), ss);
    if (rc != RTNORM) return rc;
    Adesk::Int32 length = 0;
    resbuf* description = nullptr;
    ads_name picked;
    bool described = acedSSLength(ss, &length) == RTNORM && length > 0 &&
                     acedSSNameX(&description, ss, 0) == RTNORM && acedSSName(ss, 0, picked) == RTNORM;
    acedSSFree(ss);
    Cresbuf owner;
    owner.Attach(description);
    if (!described || !description) return RTERROR;

    std::vector<const resbuf*> items;
    for (const resbuf* rb = description; rb; rb = rb->rbnext)
        items.push_back(rb);
    Adesk::GsMarker gs = -1;
    AcGePoint3d at;
    if (items[0]->restype == RTLB) {
        if (items.size() >= 4)
            gs = items[3]->restype == RTSHORT ? items[3]->resval.rint : items[3]->resval.rlong;
        if (items.size() > 6 && items[6]->restype == RT3DPOINT) at = asPoint(*items[6]);
    }
    if (marker) *marker = gs;
    if (pickPoint) *pickPoint = at;
    acdbGetObjectId(id, picked);
    if (snapPoint) snapOf(id, gs, at, pickTransform(items), *snapPoint);
    return RTNORM;
}

int isEntityVisible(const AcDbEntity* entity) {
    if (!entity || entity->visibility() == AcDb::kInvisible) return 0;
    AcDbLayerTableRecord* layer = nullptr;
    if (acdbOpenObject(layer, entity->layerId(), AcDb::kForRead) != Acad::eOk) return 1;
    bool shown = !layer->isOff() && !layer->isFrozen() && !layer->isHidden() && !layer->isLocked();
    layer->close();
    return shown ? 1 : 0;
}
