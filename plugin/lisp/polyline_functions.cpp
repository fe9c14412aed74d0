// The LISP functions that snap on polylines, convert them to and from host entities and set the TEF colours.
#include <cstring>
#include <memory>
#include <string>

#include "cadutil/database/doc_lock.h"
#include "cadutil/database/spaces.h"
#include "cadutil/database/tef_color_tables.h"
#include "cadutil/resbuf/cresbuf.h"
#include "cadutil/resbuf/text_convert.h"
#include "entity/core/poly_classes.h"
#include "entity/core/vertex_name.h"
#include "entity/snaps/osnap_request.h"
#include "host/db/db_object.h"
#include "host/lisp/lisp_functions.h"
#include "host/selection/osnap.h"
#include "plugin/lisp/lisp_arguments.h"
#include "plugin/lisp/lisp_functions.h"
#include "plugin/lisp/lisp_polyline.h"
#include "plugin/lisp/lisp_reading.h"
#include "plugin/lisp/vertex_lists.h"
#include "services/startup/fvar.h"

namespace {

int answerNil() {
    acedRetNil();
    return 1;
}

int answerIdName(AcDbObjectId id) {
    ads_name name;
    if (id.isNull() || acdbGetAdsName(name, id) != Acad::eOk) return answerNil();
    acedRetName(name, RTENAME);
    return 1;
}

} // namespace

int lisp_snap() {
    const void* value = nullptr;
    const int pointType = lisp_nextarg(value);
    if (!value || (pointType != RTPOINT && pointType != RT3DPOINT)) return answerNil();
    ads_point point;
    std::memcpy(point, value, sizeof point);
    if (pointType == RTPOINT) point[2] = 0;
    if (lisp_nextarg(value) != RTSTR || !value) return answerNil();
    const std::wstring mode = codePageToWide(static_cast<const char*>(value));
    Adesk::Int64 word = 0;
    if (!nextPlainName(word)) return answerNil();
    LispPolyline poly(word, AcDb::kForRead);
    if (!poly) return answerNil();
    OsnapRequest request(poly.get());
    ads_point snapped;
    acedOsnap(point, mode.c_str(), snapped);
    retList(request.m_candidates->head());
    return 1;
}

int lisp_tolwpoly() {
    Adesk::Int64 word = 0;
    if (!nextPlainName(word)) return answerNil();
    LispPolyline poly(word, AcDb::kForRead);
    AcDbObjectId made;
    if (!poly || !poly->tolw(1, &made)) return answerNil();
    return answerIdName(made);
}

int lisp_to3dpoly() {
    // The deviation may come before or after the name.
    double deviation = 0;
    Adesk::Int64 word = 0;
    bool named = false;
    for (int i = 0; i < 3; ++i) {
        const void* value = nullptr;
        const int type = lisp_nextarg(value);
        if (type == RTNIL) break;
        if (type == RTREAL && value) {
            deviation = *static_cast<const double*>(value);
        } else if (type == RTENAME && value && !named) {
            Adesk::Int64 node = 0;
            if (decodeVName(static_cast<const Adesk::Int64*>(value), word, node) != kPlainName)
                return answerNil();
            named = true;
        } else {
            return answerNil();
        }
    }
    if (!named) return answerNil();
    LispPolyline poly(word, AcDb::kForRead);
    if (!poly) return answerNil();
    // The conversion may put the new entity in the polyline's place: the id then designates it.
    AcDbObjectId id = poly->objectId();
    if (!poly->to3d(1, deviation, &id)) return answerNil();
    return answerIdName(id);
}

int lisp_pconvert() {
    // [deviation] [options] name, in that order.
    double deviation = vfVar.maxSagitta;
    std::string options = "A";
    const void* value = nullptr;
    int type = lisp_nextarg(value);
    if (type == RTREAL && value) {
        deviation = *static_cast<const double*>(value);
        type = lisp_nextarg(value);
    }
    if (type == RTSTR && value) {
        options = static_cast<const char*>(value);
        type = lisp_nextarg(value);
    }
    Adesk::Int64 word = 0, node = 0;
    if (type != RTENAME || !value ||
        decodeVName(static_cast<const Adesk::Int64*>(value), word, node) != kPlainName)
        return answerNil();
    const ads_name name = {word, 0};
    AcDbObjectId id;
    AcDbEntity* entity = nullptr;
    if (acdbGetObjectId(id, name) != Acad::eOk || acdbOpenObject(entity, id, AcDb::kForWrite) != Acad::eOk)
        return answerNil();
    PolyArc3D* poly = PolyArc3D::cast(entity);
    const bool converted =
        poly && poly->explodeZor(nullptr, options.c_str(), deviation, nullptr, nullptr, -1) == Acad::eOk &&
        poly->erase() == Acad::eOk;
    entity->close();
    if (!converted) return answerNil();
    acedRetInt(1);
    return 1;
}

int lisp_fromentity() {
    CDocLock lock;
    Adesk::Int64 word = 0;
    if (!nextPlainName(word)) return answerNil();
    const ads_name name = {word, 0};
    AcDbObjectId sourceId;
    AcDbEntity* source = nullptr;
    if (acdbGetObjectId(sourceId, name) != Acad::eOk ||
        acdbOpenObject(source, sourceId, AcDb::kForRead) != Acad::eOk)
        return answerNil();
    auto made = std::make_unique<PolyArc3D>();
    const Acad::ErrorStatus es = made->from(source, 0);
    source->close();
    AcDbObjectId id;
    if (es != Acad::eOk || appendEntityToSpace(id, made.get(), -1).isNull()) return answerNil();
    // The drawing owns it now.
    made.release()->close();
    return answerIdName(id);
}

int lisp_settefcolor() {
    const void* value = nullptr;
    int type = lisp_nextarg(value);
    int row = 1;
    if (type == RTSHORT && value) {
        row = *static_cast<const short*>(value);
        type = lisp_nextarg(value);
    }
    if (type != RTSTR || !value) return answerNil();
    setTefColorList(row, static_cast<const char*>(value));
    acedRetInt(1);
    return 1;
}
