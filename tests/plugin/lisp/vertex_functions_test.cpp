// The LISP functions on vertices: walking a polyline name by name, reading and writing vertex lists,
// appending, inserting and deleting, and names that no longer designate a vertex.
#include "tests/plugin/lisp/lisp_call.h"

#include <cmath>

#include "host/editor/command_line.h"
#include "host/entities/line.h"
#include "plugin/lisp/lisp_polyline.h"

using namespace plugin::test;
using poly_test::Attributes;

namespace {

struct VertexFunctions : LispSession {
    AcDbObjectId id = addPolyline({{0, 0, 1}, {10, 0, 2}, {10, 10, 3}});
    LispValue poly = nameOf(id);

    LispValue vertex(long long index) {
        return groupValue(callLisp(L"ZOR_GetVertexAt", {poly, integer(index)}), -1);
    }
};

TEST_F(VertexFunctions, WalkFromThePolylineThroughEachVertexToTheEndMarker) {
    std::vector<LispValue> names;
    for (LispValue n = callLisp(L"ZOR_ENTNEXT", {poly}); !n.isNil(); n = callLisp(L"ZOR_ENTNEXT", {n}))
        names.push_back(n);
    ASSERT_EQ(names.size(), 4u) << "three vertices and the end marker";
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(sameName(names[i], vertex(i + 1))) << i;
        const LispValue p = groupValue(callLisp(L"ZOR_VGET", {names[i]}), 10);
        ASSERT_EQ(p.items.size(), 3u);
        EXPECT_EQ(p.items[2].real, i + 1.0);
    }
    const LispValue seqend = callLisp(L"ZOR_VGET", {names[3]});
    EXPECT_EQ(groupValue(seqend, 0).text, L"SEQEND");
    EXPECT_TRUE(sameName(groupValue(seqend, -2), poly));

    // ZOR_VNEXT gives vertices only; ZOR_VBACK walks back to the end marker.
    EXPECT_TRUE(sameName(callLisp(L"ZOR_VNEXT", {names[1]}), names[2]));
    EXPECT_TRUE(callLisp(L"ZOR_VNEXT", {names[2]}).isNil());
    EXPECT_TRUE(sameName(callLisp(L"ZOR_VBACK", {names[1]}), names[0]));
    EXPECT_TRUE(sameName(callLisp(L"ZOR_VBACK", {names[0]}), names[3]));
    EXPECT_TRUE(sameName(callLisp(L"ZOR_VTAIL", {poly}), names[2]));

    EXPECT_EQ(callLisp(L"ZOR_VertexCount", {poly}).integer, 3);
    EXPECT_EQ(callLisp(L"ZOR_VertexCount", {names[0]}).integer, 0) << "a vertex name counts nothing";
    EXPECT_TRUE(sameName(vertex(0), vertex(1)));
    EXPECT_TRUE(sameName(vertex(-5), vertex(1)));
    EXPECT_TRUE(callLisp(L"ZOR_GetVertexAt", {poly, integer(4)}).isNil());
    EXPECT_TRUE(callLisp(L"ZOR_GetVertexAt", {poly, integer(100000)}).isNil()) << "a 32-bit index";
}

TEST_F(VertexFunctions, ListsOfPlainNamesHoldTheHeaderOfAPolylineAndAHostEntitysOwnGroups) {
    const LispValue header = callLisp(L"ZOR_ENTGET", {poly});
    EXPECT_EQ(groupValue(header, 0).text, L"ZORTAPOLY");
    EXPECT_EQ(groupValue(header, 91).integer, 3);
    EXPECT_TRUE(groupValue(header, 10).isNil()) << "no vertex group";
    EXPECT_EQ(CPolyArc3D::g_PolyEntgetOption, CPolyArc3D::g_PolyEntgetOptDef);

    const LispValue line = nameOf(session.addEntity(new AcDbLine({1, 2, 0}, {3, 4, 0})));
    const LispValue lineList = callLisp(L"ZOR_ENTGET", {line});
    EXPECT_EQ(groupValue(lineList, 0).text, L"LINE");
    EXPECT_EQ(groupValue(lineList, 11).items[1].real, 4.0);
    EXPECT_TRUE(callLisp(L"ZOR_VGET", {poly}).isNil()) << "ZOR_VGET reads vertex names only";
}

TEST_F(VertexFunctions, AVertexListWrittenBackChangesNothing) {
    // Widths with vertex codes in the last decimals, a height that is no binary fraction, flags and tags.
    const AcDbObjectId rich = addPolyline({{0, 0, 0}, {5, 1, 2}, {9, -3, 4}, {12, 0, 0}},
                                          {{.flags = 0x84, .tef1 = 4, .tef2 = 2, .i39 = 30000, .i40 = 30000},
                                           {.bulge = 0.5, .flags = 1, .tef1 = 1, .i40 = 0, .tag = -7},
                                           {.bulge = -0.25, .tef1 = 9, .tef2 = 9, .i39 = -123456, .i40 = 99},
                                           {.flags = 3, .tag = 2147483647}});
    PolyArc3D before;
    {
        ReadPolyline p(rich);
        before.copyVertexFrom(&*p);
    }
    for (int i = 1; i <= 4; ++i) {
        const LispValue vertexList = callLisp(L"ZOR_GetVertexAt", {nameOf(rich), integer(i)});
        EXPECT_EQ(callLisp(L"ZOR_VMOD", {vertexList}).items.size(), vertexList.items.size()) << i;
    }
    ReadPolyline after(rich);
    poly_test::expectSamePolyline(before, *after);
}

TEST_F(VertexFunctions, VmodSetsPointAndBulgeAndRoundsHeightsAndWidths) {
    const LispValue v = vertex(2);
    const LispValue given = list({group(-1, v), pointGroup(10, 1, 2, 3), group(42, real(0.5)),
                                  group(39, real(0.3)), group(40, real(-1.000004))});
    const LispValue answer = callLisp(L"ZOR_VMOD", {given});
    ASSERT_EQ(answer.items.size(), 5u);
    EXPECT_TRUE(sameName(answer.items[0].items[1], v));
    ReadPolyline p(id);
    const P_Vertex* second = p->H(1);
    EXPECT_EQ(CPoint3d(second->pt), CPoint3d(1, 2, 3));
    EXPECT_EQ(double(second->bulge), 0.5);
    EXPECT_EQ(std::int32_t(second->i39), 30000) << "0.3 rounds to the nearest unit";
    EXPECT_EQ(std::int32_t(second->i40), -100000);
}

TEST_F(VertexFunctions, VaddAppendsAtEachPointAndVinsertAndVdelChangeTheList) {
    const LispValue added = callLisp(
        L"ZOR_VADD", {list({group(-1, poly), group(71, integer(5)), pointGroup(10, 20, 0, 0),
                            group(42, real(0.25)), pointGroup(10, 30, 0, 0), group(71, integer(3))})});
    EXPECT_FALSE(added.isNil());
    {
        ReadPolyline p(id);
        ASSERT_EQ(p->GetCount(), 5);
        EXPECT_EQ(int(p->H(2)->tef1), 5) << "groups before the first point change the last vertex";
        EXPECT_EQ(double(p->H(3)->bulge), 0.25);
        EXPECT_EQ(CPoint3d(p->T()->pt), CPoint3d(30, 0, 0));
        EXPECT_EQ(int(p->T()->tef1), 3);
    }

    const LispValue head = callLisp(L"ZOR_VINSERT", {poly});
    const LispValue afterSecond = callLisp(L"ZOR_VINSERT", {poly, vertex(3)});
    ASSERT_FALSE(head.isNil());
    EXPECT_TRUE(sameName(head, vertex(1)));
    EXPECT_TRUE(sameName(afterSecond, vertex(4)));
    EXPECT_EQ(callLisp(L"ZOR_VertexCount", {poly}).integer, 7);

    EXPECT_EQ(callLisp(L"ZOR_VDEL", {afterSecond}).integer, 1);
    EXPECT_EQ(callLisp(L"ZOR_VertexCount", {poly}).integer, 6);
    ReadPolyline p(id);
    EXPECT_EQ(CPoint3d(p->H(3)->pt), CPoint3d(10, 10, 3)) << "the vertex after the deleted one follows";
}

TEST_F(VertexFunctions, VaddOnAnEmptyPolylineIgnoresGroupsBeforeThePoint) {
    const AcDbObjectId emptyId = addPolyline({});
    const LispValue empty = nameOf(emptyId);
    EXPECT_EQ(groupValue(callLisp(L"ZOR_VGET", {callLisp(L"ZOR_VTAIL", {empty})}), 0).text, L"SEQEND");
    EXPECT_FALSE(
        callLisp(L"ZOR_VADD", {list({group(-1, empty), group(42, real(0.5)), pointGroup(10, 1, 1, 1)})})
            .isNil());
    ReadPolyline p(emptyId);
    ASSERT_EQ(p->GetCount(), 1);
    EXPECT_EQ(double(p->H()->bulge), 0.0);
}

TEST_F(VertexFunctions, StaleAndForeignNamesGiveNilAndChangeNothing) {
    const AcDbObjectId otherId = addPolyline({{50, 50, 0}, {60, 50, 0}});
    const LispValue other = nameOf(otherId);
    const LispValue foreign = groupValue(callLisp(L"ZOR_GetVertexAt", {other, integer(1)}), -1);
    const LispValue gone = vertex(2);
    ASSERT_EQ(callLisp(L"ZOR_VDEL", {gone}).integer, 1);

    for (const wchar_t* reader : {L"ZOR_VGET", L"ZOR_ENTGET", L"ZOR_VNEXT", L"ZOR_ENTNEXT", L"ZOR_VBACK",
                                  L"ZOR_VDEL", L"ZOR_ToLWPOLY", L"ZOR_VTAIL"})
        EXPECT_TRUE(callLisp(reader, {gone}).isNil()) << reader;
    EXPECT_TRUE(callLisp(L"ZOR_VMOD", {list({group(-1, gone), pointGroup(10, 9, 9, 9)})}).isNil());
    EXPECT_TRUE(callLisp(L"ZOR_VINSERT", {poly, gone}).isNil());
    // A vertex of the other polyline, and one named with the other polyline's node.
    EXPECT_TRUE(callLisp(L"ZOR_VINSERT", {poly, foreign}).isNil());
    LispValue grafted = foreign;
    grafted.name[0] = vertex(1).name[0];
    EXPECT_TRUE(callLisp(L"ZOR_VGET", {grafted}).isNil());
    EXPECT_TRUE(callLisp(L"ZOR_VMOD", {list({group(-1, grafted), group(42, real(1))})}).isNil());

    EXPECT_EQ(callLisp(L"ZOR_VertexCount", {poly}).integer, 2);
    EXPECT_EQ(callLisp(L"ZOR_VertexCount", {other}).integer, 2);
    ReadPolyline p(otherId);
    EXPECT_EQ(double(p->H()->bulge), 0.0);
}

TEST_F(VertexFunctions, BadArgumentsGiveNilSilentlyAndChangeNothing) {
    const std::wstring transcript = host::commandLineTranscript();
    const LispValue v = vertex(1);
    const LispValue line = nameOf(session.addEntity(new AcDbLine({0, 0, 0}, {1, 1, 0})));
    const LispValue groupsThatDoNotFit[] = {group(39, real(1e9)),          group(40, real(-1e300)),
                                            group(42, real(std::nan(""))), pointGroup(10, 0, INFINITY, 0),
                                            group(10, text(L"bad")),       group(42, text(L"x"))};
    for (const LispValue& bad : groupsThatDoNotFit) {
        EXPECT_TRUE(callLisp(L"ZOR_VMOD", {list({group(-1, v), group(71, integer(7)), bad})}).isNil());
        EXPECT_TRUE(callLisp(L"ZOR_VADD", {list({group(-1, poly), pointGroup(10, 5, 5, 5), bad})}).isNil());
    }
    EXPECT_TRUE(callLisp(L"ZOR_VTAIL", {v}).isNil()) << "a vertex name where a plain name is needed";
    EXPECT_TRUE(callLisp(L"ZOR_VBACK", {poly}).isNil()) << "a plain name where a vertex name is needed";
    EXPECT_TRUE(callLisp(L"ZOR_VADD", {list({group(-1, v), pointGroup(10, 5, 5, 5)})}).isNil());
    EXPECT_TRUE(callLisp(L"ZOR_VINSERT", {poly, poly}).isNil());
    EXPECT_TRUE(callLisp(L"ZOR_VINSERT", {line}).isNil());
    EXPECT_TRUE(callLisp(L"ZOR_VTAIL", {line}).isNil());
    EXPECT_EQ(callLisp(L"ZOR_VertexCount", {line}).integer, 0);
    EXPECT_TRUE(callLisp(L"ZOR_GetVertexAt", {poly, real(1)}).isNil());
    EXPECT_TRUE(callLisp(L"ZOR_GetVertexAt", {integer(1), poly}).isNil());
    EXPECT_TRUE(callLisp(L"ZOR_VGET", {text(L"x")}).isNil());
    EXPECT_TRUE(callLisp(L"ZOR_VMOD", {integer(3)}).isNil());
    EXPECT_TRUE(callLisp(L"ZOR_VMOD", {}).isNil());

    EXPECT_EQ(callLisp(L"ZOR_VertexCount", {poly}).integer, 3);
    ReadPolyline p(id);
    EXPECT_EQ(int(p->H()->tef1), 0);
    EXPECT_EQ(CPoint3d(p->H()->pt), CPoint3d(0, 0, 1));
    EXPECT_EQ(host::commandLineTranscript(), transcript) << "nothing printed";
}

TEST_F(VertexFunctions, ErasedPolylinesAreReadButNotChanged) {
    const LispValue v = vertex(1);
    {
        AcDbEntity* e = nullptr;
        ASSERT_EQ(acdbOpenObject(e, id, AcDb::kForWrite), Acad::eOk);
        e->erase();
        e->close();
    }
    EXPECT_EQ(callLisp(L"ZOR_VertexCount", {poly}).integer, 3);
    EXPECT_FALSE(callLisp(L"ZOR_VGET", {v}).isNil());
    EXPECT_TRUE(callLisp(L"ZOR_VMOD", {list({group(-1, v), group(42, real(1))})}).isNil());
    EXPECT_TRUE(callLisp(L"ZOR_VDEL", {v}).isNil());
    EXPECT_TRUE(callLisp(L"ZOR_VINSERT", {poly}).isNil());
}

TEST_F(VertexFunctions, WalkingNameByNameBuildsTheNodeIndexOnce) {
    const long builds = vertexNodeIndex().builds;
    for (LispValue n = callLisp(L"ZOR_ENTNEXT", {poly}); !n.isNil(); n = callLisp(L"ZOR_VNEXT", {n}))
        callLisp(L"ZOR_VMOD", {callLisp(L"ZOR_VGET", {n})});
    EXPECT_EQ(vertexNodeIndex().builds - builds, 1);
}

} // namespace
