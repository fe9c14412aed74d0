// The LISP functions that snap on polylines and convert them, and random argument lists through the
// dispatch.
#include "tests/plugin/lisp/lisp_call.h"

#include <cmath>
#include <functional>
#include <random>

#include "host/editor/command_line.h"
#include "host/entities/circle_arc.h"
#include "host/entities/line.h"
#include "host/entities/lw_polyline.h"
#include "host/filing/text_codec.h"
#include "host/lisp/entity_lists.h"

using namespace plugin::test;

namespace {

struct PolylineFunctions : LispSession {
    AcDbObjectId id = addPolyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 5}}, {{}, {.bulge = 0.5}});
    LispValue poly = nameOf(id);

    static std::wstring typeOf(const LispValue& name) {
        AcDbObjectId made;
        AcDbEntity* e = nullptr;
        if (acdbGetObjectId(made, name.name) != Acad::eOk ||
            acdbOpenObject(e, made, AcDb::kForRead) != Acad::eOk)
            return L"";
        std::wstring type = host::entityTypeName(e);
        e->close();
        return type;
    }
};

TEST_F(PolylineFunctions, SnapListsTheCandidatesBestFirstWithTheirVertexNames) {
    const LispValue point = list({real(10.001), real(0.001), real(0)});
    const LispValue candidates = callLisp(L"ZOR_SNAP", {point, text(L"_end"), poly});
    ASSERT_EQ(candidates.kind, LispValue::List);
    ASSERT_FALSE(candidates.items.empty());
    const LispValue& best = candidates.items[0];
    ASSERT_EQ(best.items.size(), 5u) << "point, vertex name, distance, mode, index";
    EXPECT_EQ(best.items[0].items[0].real, 10.0);
    EXPECT_EQ(best.items[0].items[1].real, 0.0);
    const LispValue corner = groupValue(callLisp(L"ZOR_GetVertexAt", {poly, integer(2)}), -1);
    EXPECT_TRUE(sameName(best.items[1], corner));
    EXPECT_EQ(best.items[3].integer, 1);
    for (const LispValue& other : candidates.items)
        EXPECT_GE(other.items[2].real, best.items[2].real);
    EXPECT_TRUE(callLisp(L"ZOR_SNAP", {list({real(5), real(0.001)}), text(L"_cen"), poly}).isNil());
    EXPECT_TRUE(callLisp(L"ZOR_SNAP", {point, text(L"_end"), corner}).isNil()) << "a vertex name";
}

TEST_F(PolylineFunctions, ConversionsAnswerTheNamesOfTheHostPolylines) {
    const LispValue lw = callLisp(L"ZOR_ToLWPOLY", {poly});
    EXPECT_EQ(typeOf(lw), L"LWPOLYLINE");
    const LispValue solid = callLisp(L"ZOR_To3DPOLY", {poly, real(0.01)});
    EXPECT_EQ(typeOf(solid), L"POLYLINE");
    EXPECT_EQ(typeOf(callLisp(L"ZOR_To3DPOLY", {real(0.5), poly})), L"POLYLINE") << "deviation first";
    EXPECT_EQ(typeOf(poly), L"ZORTAPOLY") << "the source stays";
    EXPECT_TRUE(callLisp(L"ZOR_To3DPOLY", {real(0.5)}).isNil());
    EXPECT_TRUE(
        callLisp(L"ZOR_ToLWPOLY", {nameOf(session.addEntity(new AcDbLine({0, 0, 0}, {1, 0, 0})))}).isNil());
}

TEST_F(PolylineFunctions, PconvertReplacesThePolylineByHostEntities) {
    const LispValue line = nameOf(session.addEntity(new AcDbLine({0, 0, 0}, {1, 0, 0})));
    EXPECT_TRUE(callLisp(L"ZOR_PCONVERT", {line}).isNil());
    EXPECT_TRUE(callLisp(L"ZOR_PCONVERT", {callLisp(L"ZOR_VTAIL", {poly})}).isNil()) << "a vertex name";
    EXPECT_TRUE(callLisp(L"ZOR_PCONVERT", {text(L"L"), real(0.1), poly}).isNil())
        << "the deviation comes first";
    EXPECT_EQ(typeOf(poly), L"ZORTAPOLY");

    EXPECT_EQ(callLisp(L"ZOR_PCONVERT", {real(0.1), text(L"L"), poly}).integer, 1);
    EXPECT_EQ(typeOf(poly), L"") << "erased";
    EXPECT_EQ(typeOf(line), L"LINE");
    ads_name last;
    ASSERT_EQ(acdbEntLast(last), RTNORM);
    EXPECT_EQ(typeOf(LispValue::fromName(last)), L"LWPOLYLINE");
}

TEST_F(PolylineFunctions, FromEntityMakesAPolylineAndKeepsTheSource) {
    const LispValue circle = nameOf(session.addEntity(new AcDbCircle({5, 5, 0}, {0, 0, 1}, 2)));
    const LispValue made = callLisp(L"ZOR_FromEntity", {circle});
    EXPECT_EQ(typeOf(made), L"ZORTAPOLY");
    EXPECT_EQ(callLisp(L"ZOR_VertexCount", {made}).integer, 4);
    EXPECT_EQ(typeOf(circle), L"CIRCLE");
    EXPECT_TRUE(callLisp(L"ZOR_FromEntity", {callLisp(L"ZOR_VTAIL", {poly})}).isNil()) << "a vertex name";
}

// Random argument lists of every kind, names among them that designate nothing, deleted vertices and
// nodes of another polyline: nil (or no entity), nothing printed, nothing changed, no crash.
TEST_F(PolylineFunctions, RandomArgumentListsGiveNilAndChangeNothing) {
    const AcDbObjectId otherId = addPolyline({{50, 50, 0}, {60, 50, 0}, {60, 60, 0}});
    std::vector<LispValue> names;
    const LispValue gone = callLisp(L"ZOR_VINSERT", {poly});
    callLisp(L"ZOR_VDEL", {gone});
    names.push_back(gone);
    for (int i = 1; i <= 3; ++i) {
        LispValue foreign = groupValue(callLisp(L"ZOR_GetVertexAt", {nameOf(otherId), integer(i)}), -1);
        foreign.name[0] = gone.name[0]; // named as a vertex of the first polyline
        names.push_back(foreign);
    }
    const std::vector<host::Group> before = host::entityGroups(&*ReadPolyline(id), AcDb::kFileFiler);
    const std::vector<host::Group> otherBefore =
        host::entityGroups(&*ReadPolyline(otherId), AcDb::kFileFiler);
    const std::wstring transcript = host::commandLineTranscript();

    std::mt19937_64 random(22);
    auto pick = [&](int n) { return static_cast<int>(random() % n); };
    std::function<LispValue(int)> randomValue = [&](int depth) -> LispValue {
        switch (pick(depth > 1 ? 6 : 8)) {
        case 0:
            return integer(static_cast<long long>(random() % 200000) - 100000);
        case 1:
            return real(std::ldexp(double(random() % 1000) - 500, pick(80) - 40));
        case 2:
            return text(pick(2) ? L"_end" : L"1,2,x");
        case 3: {
            ads_name n = {static_cast<Adesk::Int64>(random()), static_cast<Adesk::Int64>(random())};
            return LispValue::fromName(n);
        }
        case 4:
        case 5:
            return names[pick(static_cast<int>(names.size()))];
        case 6:
            return group(pick(100) - 3, randomValue(depth + 1));
        default: {
            std::vector<LispValue> items;
            for (int i = pick(4); i >= 0; --i)
                items.push_back(randomValue(depth + 1));
            return list(items);
        }
        }
    };
    const wchar_t* functions[] = {L"ZOR_ENTGET",   L"ZOR_VGET",     L"ZOR_ENTMOD",     L"ZOR_VMOD",
                                  L"ZOR_VADD",     L"ZOR_VNEXT",    L"ZOR_VBACK",      L"ZOR_VTAIL",
                                  L"ZOR_VINSERT",  L"ZOR_SNAP",     L"ZOR_VDEL",       L"ZOR_GetVertexAt",
                                  L"ZOR_ToLWPOLY", L"ZOR_To3DPOLY", L"ZOR_FromEntity", L"ZOR_VertexCount",
                                  L"ZOR_PCONVERT"};
    int calls = 0;
    for (; calls < 10000; ++calls) {
        std::vector<LispValue> args;
        for (int i = pick(4); i > 0; --i)
            args.push_back(randomValue(0));
        const wchar_t* function = functions[pick(std::size(functions))];
        LispValue answer;
        try {
            answer = callLisp(function, args);
        } catch (const host::LispError&) {
            continue; // a list the host itself cannot pass on
        }
        const bool counted = std::wcscmp(function, L"ZOR_VertexCount") == 0 && answer.integer == 0;
        ASSERT_TRUE(answer.isNil() || counted) << "call " << calls << " of " << host::toUtf8(function);
    }
    EXPECT_EQ(host::entityGroups(&*ReadPolyline(id), AcDb::kFileFiler), before);
    EXPECT_EQ(host::entityGroups(&*ReadPolyline(otherId), AcDb::kFileFiler), otherBefore);
    EXPECT_EQ(host::commandLineTranscript(), transcript);
}

} // namespace
