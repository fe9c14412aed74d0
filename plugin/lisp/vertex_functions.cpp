// The LISP functions that read, change, walk, insert and delete the vertices of polylines by name.
#include "entity/core/poly_arc3d.h"
#include "entity/core/vertex_name.h"
#include "host/lisp/entity_lists.h"
#include "host/lisp/lisp_functions.h"
#include "plugin/lisp/lisp_arguments.h"
#include "plugin/lisp/lisp_functions.h"
#include "plugin/lisp/lisp_polyline.h"
#include "plugin/lisp/lisp_reading.h"
#include "plugin/lisp/vertex_lists.h"

namespace {

int answerNil() {
    acedRetNil();
    return 1;
}

int answerName(const ads_name name) {
    acedRetName(name, RTENAME);
    return 1;
}

int listOfNextName(bool whole) {
    ads_name name;
    if (!nextEntityName(name)) return answerNil();
    vertexList(name, whole);
    return 1;
}

// The vertex a vertex name designates, in its polyline opened in `mode`.
struct NamedVertex {
    Adesk::Int64 word = 0;
    Adesk::Int64 node = 0;
    int kind = kNoName;
};

NamedVertex nextVertexName() {
    NamedVertex named;
    ads_name name;
    if (nextEntityName(name)) named.kind = decodeVName(name, named.word, named.node);
    return named;
}

// ZOR_ENTNEXT and ZOR_VNEXT: the name after the argument (or the drawing's first entity without one).
int nextName(bool verticesOnly) {
    const void* value = nullptr;
    const int type = lisp_nextarg(value);
    if (type != RTENAME && type != RTNIL) return answerNil();
    ads_name out;
    if (vertexNext(type == RTENAME ? static_cast<const Adesk::Int64*>(value) : nullptr, out, 0) != RTNORM)
        return answerNil();
    Adesk::Int64 word = 0, node = 0;
    if (verticesOnly && decodeVName(out, word, node) != kVertexName) return answerNil();
    return answerName(out);
}

} // namespace

int lisp_entget() {
    return listOfNextName(true);
}

int lisp_vget() {
    return listOfNextName(false);
}

int lisp_vmod() {
    GroupListArgument list;
    resbuf* head = list.head();
    Adesk::Int64 word = 0, node = 0;
    const int kind = head ? decodeVName(head->resval.rlname, word, node) : kNoName;
    if (kind == kPlainName) {
        if (acdbEntMod(head) != RTNORM) return answerNil();
        retList(head);
        return 1;
    }
    if (kind != kVertexName) return answerNil();
    LispPolyline poly(word, AcDb::kForWrite);
    P_Vertex* v = poly.vertex(node);
    if (!v || !vertexGroupsFit(head)) return answerNil();
    poly.announceChange();
    applyVertexGroups(head, v, nullptr);
    retList(head);
    return 1;
}

int lisp_vadd() {
    GroupListArgument list;
    resbuf* head = list.head();
    Adesk::Int64 word = 0, node = 0;
    if (!head || decodeVName(head->resval.rlname, word, node) != kPlainName) return answerNil();
    LispPolyline poly(word, AcDb::kForWrite);
    if (!poly || !vertexGroupsFit(head)) return answerNil();
    poly.announceChange();
    applyVertexGroups(head, nullptr, &poly);
    retList(head);
    return 1;
}

int lisp_getvertex() {
    Adesk::Int64 word = 0;
    if (!nextPlainName(word)) return answerNil();
    const void* value = nullptr;
    const int type = lisp_nextarg(value);
    if (!value || (type != RTSHORT && type != RTLONG)) return answerNil();
    const long index =
        type == RTSHORT ? *static_cast<const short*>(value) : *static_cast<const Adesk::Int32*>(value);
    ads_name name;
    {
        LispPolyline poly(word, AcDb::kForRead);
        if (!poly) return answerNil();
        const P_Vertex* v = poly->H(static_cast<int>(index <= 1 ? 0 : index - 1));
        if (!v) return answerNil();
        poly.nameOf(v, name);
    }
    vertexList(name, false);
    return 1;
}

int lisp_entnext() {
    return nextName(false);
}

int lisp_vnext() {
    return nextName(true);
}

int lisp_vback() {
    const NamedVertex named = nextVertexName();
    if (named.kind != kVertexName) return answerNil();
    LispPolyline poly(named.word, AcDb::kForRead);
    const P_Vertex* v = poly.vertex(named.node);
    if (!v) return answerNil();
    ads_name out;
    poly.nameOf(v->B(), out);
    return answerName(out);
}

int lisp_vtail() {
    Adesk::Int64 word = 0;
    if (!nextPlainName(word)) return answerNil();
    LispPolyline poly(word, AcDb::kForRead);
    if (!poly) return answerNil();
    ads_name out;
    poly.nameOf(poly->T(), out);
    return answerName(out);
}

int lisp_vcount() {
    ads_name name;
    if (!nextEntityName(name)) return answerNil();
    Adesk::Int64 word = 0, node = 0;
    int count = 0;
    if (decodeVName(name, word, node) == kPlainName) {
        LispPolyline poly(word, AcDb::kForRead);
        if (poly) count = poly->GetCount();
    }
    acedRetInt(count);
    return 1;
}

int lisp_vinsert() {
    Adesk::Int64 word = 0;
    if (!nextPlainName(word)) return answerNil();
    const void* value = nullptr;
    const int type = lisp_nextarg(value);
    NamedVertex after;
    if (type == RTENAME) {
        after.kind = decodeVName(static_cast<const Adesk::Int64*>(value), after.word, after.node);
        // The vertex must be one of the polyline given.
        if (after.kind != kVertexName || after.word != word) return answerNil();
    } else if (type != RTNIL) {
        return answerNil();
    }
    LispPolyline poly(word, AcDb::kForWrite);
    if (!poly) return answerNil();
    P_Vertex* previous = nullptr;
    if (after.kind == kVertexName && !(previous = poly.vertex(after.node))) return answerNil();
    const P_Vertex* inserted = poly->I(previous);
    poly.noteInserted(inserted);
    ads_name out;
    poly.nameOf(inserted, out);
    return answerName(out);
}

int lisp_vdel() {
    const NamedVertex named = nextVertexName();
    if (named.kind != kVertexName) return answerNil();
    LispPolyline poly(named.word, AcDb::kForWrite);
    P_Vertex* v = poly.vertex(named.node);
    if (!v) return answerNil();
    poly->D(v);
    poly.noteRemoved(v);
    acedRetInt(1);
    return 1;
}
