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

// The groups of a vertex's or an end marker's list, linked in place: the list lives for the one call that
// returns it, so its groups need no heap.
class GroupChain {
public:
    resbuf* head() { return m_count ? m_groups : nullptr; }
    void addName(int code, const ads_name name) {
        resbuf* rb = add(code);
        rb->resval.rlname[0] = name[0];
        rb->resval.rlname[1] = name[1];
    }
    // `text` outlives the call (the host only reads it).
    void addString(int code, const ACHAR* text) { add(code)->resval.rstring = const_cast<ACHAR*>(text); }
    void addPoint(int code, const AcGePoint3d& p) {
        resbuf* rb = add(code);
        rb->resval.rpoint[0] = p.x;
        rb->resval.rpoint[1] = p.y;
        rb->resval.rpoint[2] = p.z;
    }
    void addReal(int code, double value) { add(code)->resval.rreal = value; }
    void addShort(int code, int value) { add(code)->resval.rint = static_cast<short>(value); }

private:
    resbuf* add(int code) {
        resbuf* rb = &m_groups[m_count];
        *rb = resbuf{};
        rb->restype = static_cast<short>(code);
        if (m_count > 0) m_groups[m_count - 1].rbnext = rb;
        ++m_count;
        return rb;
    }

    resbuf m_groups[11];
    int m_count = 0;
};

void addVertexGroups(GroupChain& list, const ads_name name, const P_Vertex& v) {
    list.addName(-1, name);
    list.addString(0, L"VERTEX");
    list.addPoint(10, v.pt);
    list.addReal(39, v.i39 / kFixedScale);
    list.addReal(42, v.bulge);
    // The real flag word: a list read and written back keeps the vertex's flags.
    list.addShort(70, v.flags);
    list.addShort(71, v.tef1);
    list.addShort(72, v.tef2);
    list.addReal(40, v.f40(1));
    list.addReal(41, v.f40(1));
    list.addReal(50, 0.0);
}

int polylineMemberList(const ads_name name, Adesk::Int64 word, Adesk::Int64 node, int kind) {
    LispPolyline poly(word, AcDb::kForRead);
    GroupChain list;
    if (kind == kEndMarker && poly) {
        list.addName(-1, name);
        list.addString(0, L"SEQEND");
        const ads_name plain = {word, 0};
        list.addName(-2, plain);
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
