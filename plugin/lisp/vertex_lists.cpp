#include "plugin/lisp/vertex_lists.h"

#include <cmath>

#include "cadutil/resbuf/cresbuf.h"
#include "entity/core/poly_arc3d.h"
#include "entity/core/vertex_groups.h"
#include "entity/core/vertex_name.h"
#include "host/lisp/entity_lists.h"
#include "host/lisp/lisp_functions.h"
#include "plugin/lisp/lisp_polyline.h"

namespace {

bool isFinitePoint(const ads_point p) {
    return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
}

// The option word of the polyline's DXF writer, set for one list request and put back on every path.
class EntgetOption {
public:
    explicit EntgetOption(int option) { CPolyArc3D::g_PolyEntgetOption = option; }
    ~EntgetOption() { CPolyArc3D::g_PolyEntgetOption = CPolyArc3D::g_PolyEntgetOptDef; }
    EntgetOption(const EntgetOption&) = delete;
    EntgetOption& operator=(const EntgetOption&) = delete;
};

void addVertexGroups(Cresbuf& list, const ads_name name, const P_Vertex& v) {
    list.AddName(-1, name);
    list.AddString(0, L"VERTEX");
    const ads_point point = {v.pt.x, v.pt.y, v.pt.z};
    list.AddPoint(10, point);
    list.AddReal(39, v.i39 / kFixedScale);
    list.AddReal(42, v.bulge);
    // The real flag word: a list read and written back keeps the vertex's flags.
    list.AddInt(70, v.flags);
    list.AddInt(71, v.tef1);
    list.AddInt(72, v.tef2);
    list.AddReal(40, v.f40(1));
    list.AddReal(41, v.f40(1));
    list.AddReal(50, 0.0);
}

int polylineMemberList(const ads_name name, Adesk::Int64 word, Adesk::Int64 node, int kind) {
    LispPolyline poly(word, AcDb::kForRead);
    Cresbuf list;
    if (kind == kEndMarker && poly) {
        list.AddName(-1, name);
        list.AddString(0, L"SEQEND");
        const ads_name plain = {word, 0};
        list.AddName(-2, plain);
    } else if (const P_Vertex* v = poly.vertex(node)) {
        addVertexGroups(list, name, *v);
    }
    return retList(list.head());
}

// One group of a LISP list on a vertex whose groups were found to fit.
void applyVertexGroup(P_Vertex& v, const resbuf& rb) {
    if (rb.restype == 10) {
        v.pt.set(rb.resval.rpoint[0], rb.resval.rpoint[1], rb.resval.rpoint[2]);
        return;
    }
    // The list reports the width with the vertex code in its last decimals: that report given back leaves
    // the width as it is.
    if (rb.restype == 40 && rb.resval.rreal == v.f40(1)) return;
    setVertexGroup(v, rb);
}

} // namespace

int retList(resbuf* chain) {
    if (!chain) return acedRetNil();
    if (chain->restype == RTNIL || chain->restype == RTNONE) return acedRetList(chain);
    resbuf open{};
    resbuf close{};
    open.restype = RTLB;
    close.restype = RTLE;
    resbuf* tail = chain;
    while (tail->rbnext)
        tail = tail->rbnext;
    open.rbnext = chain;
    tail->rbnext = &close;
    const int rc = acedRetList(&open);
    tail->rbnext = nullptr;
    return rc;
}

int vertexList(const ads_name name, bool whole) {
    Adesk::Int64 word = 0, node = 0;
    const int kind = decodeVName(name, word, node);
    if (kind == kVertexName || kind == kEndMarker) return polylineMemberList(name, word, node, kind);
    if (kind != kPlainName || !whole) return acedRetNil();
    const ads_name plain = {word, 0};
    resbuf* list = nullptr;
    {
        EntgetOption headerOnly(CPolyArc3D::kEntgetHeader);
        list = acdbEntGet(plain);
    }
    Cresbuf owner;
    owner.Attach(list);
    return retList(list);
}

bool vertexGroupsFit(const resbuf* list) {
    if (!list) return false;
    std::int32_t fixed = 0;
    for (const resbuf* rb = list->rbnext; rb; rb = rb->rbnext) {
        switch (rb->restype) {
        case 10:
            if (!isFinitePoint(rb->resval.rpoint)) return false;
            break;
        case 39:
        case 40:
            if (!toFixed(rb->resval.rreal, fixed)) return false;
            break;
        case 42:
            if (!std::isfinite(rb->resval.rreal) || std::fabs(rb->resval.rreal) > CPolyArc3D::kLargestBulge)
                return false;
            break;
        default:
            break;
        }
    }
    return true;
}

int applyVertexGroups(const resbuf* list, P_Vertex* vertex, const LispPolyline* poly) {
    P_Vertex* current = poly ? (*poly)->T() : vertex;
    for (const resbuf* rb = list ? list->rbnext : nullptr; rb; rb = rb->rbnext) {
        if (rb->restype == 10 && poly && current == (*poly)->T()) {
            current = (*poly)->A();
            poly->noteInserted(current);
        }
        // Groups before the first point of an empty polyline have no vertex to change.
        if (current) applyVertexGroup(*current, *rb);
    }
    return RTNORM;
}

int vertexNext(const ads_name name, ads_name out, int skip) {
    Adesk::Int64 word = 0, node = 0;
    const int kind = decodeVName(name, word, node);
    if (kind == kEndMarker) return RTERROR;
    if (kind == kVertexName) {
        LispPolyline poly(word, AcDb::kForRead);
        const P_Vertex* v = poly.vertex(node);
        if (!v) return RTERROR;
        poly.nameOf(v->N(), out);
        return RTNORM;
    }
    if (kind == kNoName) return acdbEntNext(nullptr, out);
    LispPolyline poly(word, AcDb::kForRead);
    if (!poly) {
        const ads_name plain = {word, 0};
        return acdbEntNext(plain, out);
    }
    poly.nameOf(poly->H(skip), out);
    return RTNORM;
}
