#pragma once
// Helpers of the entity's tests: the classes registered for a test, polylines made from points, vertices
// with every attribute, and field-by-field comparison.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "entity/core/poly_classes.h"

namespace poly_test {

// The entity classes registered for one test; the entity's process-wide words are reset after it.
struct RegisteredClasses {
    RegisteredClasses() {
        PolyArc3D::rxInit();
        tavro_poly::rxInit();
    }
    ~RegisteredClasses() {
        tavro_poly::rxUninit();
        PolyArc3D::rxUninit();
        CPolyArc3D::resetClassState();
    }
    RegisteredClasses(const RegisteredClasses&) = delete;
    RegisteredClasses& operator=(const RegisteredClasses&) = delete;
};

struct Attributes {
    double bulge = 0;
    short flags = 0;
    signed char tef1 = 0;
    signed char tef2 = 0;
    std::int32_t i39 = 0;
    std::int32_t i40 = 0;
    std::int64_t tag = 0;
};

inline P_Vertex* append(CPolyArc3D& poly, const CPoint3d& p, const Attributes& a = {}) {
    P_Vertex* v = poly.A();
    v->pt = p;
    v->bulge = a.bulge;
    v->flags = a.flags;
    v->tef1 = a.tef1;
    v->tef2 = a.tef2;
    v->i39 = a.i39;
    v->i40 = a.i40;
    v->tag = a.tag;
    return v;
}

// The point of a vertex, read by value (nodes are packed).
inline CPoint3d point(const P_Vertex* v) {
    return v->pt;
}

// The bulges of the vertices, in order.
inline std::vector<double> bulges(const CPolyArc3D& poly) {
    std::vector<double> b;
    for (const P_Vertex* v = poly.H(); v; v = v->pVN)
        b.push_back(v->bulge);
    return b;
}

inline void appendAll(CPolyArc3D& poly, std::initializer_list<CPoint3d> points) {
    for (const CPoint3d& p : points)
        append(poly, p);
}

// A polyline with every attribute, arcs, heights, negative and wide values, and its own system. Its tags
// fit in 31 bits: above, the binary record and DXF read them back differently (each test says how).
inline void fillRich(CPolyArc3D& poly) {
    append(poly, {1.25, -2.5, 0});
    append(poly, {10, 0, 3.75}, {0.41421356, 0x84, 6, -3, 150000, -7, 5});
    append(poly, {10, 10, -1e-9}, {-1.5, 1, 2, 0, 29, 2147483647, 0x7FFFFFFF});
    append(poly, {0, 10, 12.5}, {0, 0, 0, 3, 0, 0, 1});
    poly.f70(9);
    poly.f71(0x0B);
    poly.f39(2.5);
    poly.f43(0.75);
    poly.f42(0.125);
    poly.setSNormal(AcGeVector3d(0.6, -0.48, 0.64), 0);
}

// Every field of two vertices but their links.
inline void expectSameVertex(const P_Vertex* a, const P_Vertex* b, int index) {
    const CPoint3d pa = a->pt, pb = b->pt;
    EXPECT_EQ(pa, pb) << "point of vertex " << index;
    EXPECT_EQ(double(a->bulge), double(b->bulge)) << "bulge of vertex " << index;
    EXPECT_EQ(short(a->flags), short(b->flags)) << "flags of vertex " << index;
    EXPECT_EQ(int(a->tef1), int(b->tef1)) << "tef1 of vertex " << index;
    EXPECT_EQ(int(a->tef2), int(b->tef2)) << "tef2 of vertex " << index;
    EXPECT_EQ(std::int32_t(a->i39), std::int32_t(b->i39)) << "i39 of vertex " << index;
    EXPECT_EQ(std::int32_t(a->i40), std::int32_t(b->i40)) << "i40 of vertex " << index;
    EXPECT_EQ(std::int64_t(a->tag), std::int64_t(b->tag)) << "tag of vertex " << index;
}

// Header, system and every vertex.
inline void expectSamePolyline(const CPolyArc3D& a, const CPolyArc3D& b) {
    EXPECT_EQ(a.kindWord(), b.kindWord());
    EXPECT_EQ(a.f39(), b.f39());
    EXPECT_EQ(a.f70(), b.f70());
    EXPECT_EQ(a.f71(), b.f71());
    EXPECT_EQ(a.f42(), b.f42());
    EXPECT_EQ(a.f43(), b.f43());
    EXPECT_EQ(a.Snormal(), b.Snormal());
    EXPECT_EQ(a.normalMatrix() != nullptr, b.normalMatrix() != nullptr);
    ASSERT_EQ(a.GetCount(), b.GetCount());
    int i = 0;
    for (const P_Vertex *va = a.H(), *vb = b.H(); va && vb; va = va->pVN, vb = vb->pVN, ++i)
        expectSameVertex(va, vb, i);
}

} // namespace poly_test
