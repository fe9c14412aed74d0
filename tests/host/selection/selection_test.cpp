// Selections: modes, filters on type, layer and colour (with "<NOT" and "~"), picks with their graphics
// markers, the pick-first set, entity picks, and filters that cannot be read.
#include <gtest/gtest.h>

#include "host/input/prompts.h"
#include "host/lisp/entity_lists.h"
#include "host/selection/selection_sets.h"
#include "host/selection/ssget.h"
#include "host/selection/wildcard.h"
#include "tests/host/editor_test_support.h"

using host::test::Chain;
using host::test::EditorSession;

namespace {

resbuf* text(int code, const wchar_t* value, resbuf* next = nullptr) {
    resbuf* rb = acutNewRb(code);
    rb->resval.rstring = acutNewString(value);
    rb->rbnext = next;
    return rb;
}

resbuf* shortValue(int code, short value, resbuf* next = nullptr) {
    resbuf* rb = acutNewRb(code);
    rb->resval.rint = value;
    rb->rbnext = next;
    return rb;
}

// The members of a set, then the set freed.
std::vector<AcDbObjectId> members(ads_name ss) {
    std::vector<AcDbObjectId> out;
    Adesk::Int32 n = 0;
    EXPECT_EQ(acedSSLength(ss, &n), RTNORM);
    for (Adesk::Int32 i = 0; i < n; ++i) {
        ads_name e;
        acedSSName(ss, i, e);
        AcDbObjectId id;
        acdbGetObjectId(id, e);
        out.push_back(id);
    }
    acedSSFree(ss);
    return out;
}

struct ThreeSegments : EditorSession {
    ThreeSegments() {
        addLayer(L"ROUTE");
        a = addSegment({0, 0, 0}, {10, 0, 0}, L"0", 1);
        b = addSegment({0, 10, 0}, {10, 10, 0}, L"ROUTE");
        c = addSegment({0, 20, 0}, {10, 20, 0}, L"ROUTE", 3);
    }
    AcDbObjectId a, b, c;
};

} // namespace

TEST(Wildcards, PatternsOfFiltersAndLisp) {
    EXPECT_EQ(acutWcMatch(L"ZORTAPOLY", L"TAVROPOLY,ZORTAPOLY"), RTNORM);
    EXPECT_EQ(acutWcMatch(L"ROUTE", L"~0"), RTNORM);
    EXPECT_EQ(acutWcMatch(L"0", L"~0"), RTERROR);
    EXPECT_EQ(acutWcMatch(L"N100", L"N#@#"), RTERROR);
    EXPECT_EQ(acutWcMatch(L"N1A0", L"N#@#"), RTNORM);
    EXPECT_EQ(acutWcMatch(L"L12X", L"L12*"), RTNORM);
    EXPECT_EQ(acutWcMatch(L"a,b", L"a`,b"), RTNORM);
    EXPECT_EQ(acutWcMatch(L"b", L"[a-c]"), RTNORM);
    EXPECT_EQ(acutWcMatch(L"b", L"[~a-c]"), RTERROR);
    EXPECT_EQ(acutWcMatch(L"line", L"LINE"), RTERROR) << "case counts in LISP";
    EXPECT_TRUE(host::wildcardMatch(L"line", L"LINE", true)) << "not in filters";
}

TEST(Selection, EverythingOfTheDrawingThroughAFilter) {
    ThreeSegments s;
    ads_name ss;
    Chain layer(text(8, L"route"));
    ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, layer.rb, ss), RTNORM);
    EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{s.b, s.c}));
    Chain byLayerColour(shortValue(62, 256));
    ASSERT_EQ(acedSSGet(L"_X", nullptr, nullptr, byLayerColour.rb, ss), RTNORM);
    EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{s.b})) << "a colour not written counts as 256";
    Chain notLayer0(text(-4, L"<NOT", text(8, L"0", text(-4, L"NOT>"))));
    ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, notLayer0.rb, ss), RTNORM);
    EXPECT_EQ(members(ss).size(), 2u);
    Chain tilde(text(8, L"~0"));
    ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, tilde.rb, ss), RTNORM);
    EXPECT_EQ(members(ss).size(), 2u);
    Chain type(text(0, L"LINE,ARC"));
    EXPECT_EQ(acedSSGet(L"X", nullptr, nullptr, type.rb, ss), RTERROR) << "nothing of that type";
    Chain orColours(text(-4, L"<OR", shortValue(62, 1, shortValue(62, 3, text(-4, L"OR>")))));
    ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, orColours.rb, ss), RTNORM);
    EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{s.a, s.c}));
    EXPECT_EQ(host::liveSelectionSets(), 0);
}

TEST(Selection, FiltersThatCannotBeReadSelectNothing) {
    ThreeSegments s;
    ads_name ss;
    Chain unknown(shortValue(9999, 1));
    EXPECT_EQ(acedSSGet(L"X", nullptr, nullptr, unknown.rb, ss), RTERROR);
    EXPECT_NE(s.transcript().find(L"the filter group code 9999 is unknown"), std::wstring::npos);
    Chain open(text(-4, L"<NOT", text(8, L"0")));
    EXPECT_EQ(acedSSGet(L"X", nullptr, nullptr, open.rb, ss), RTERROR);
    EXPECT_NE(s.transcript().find(L"\"<NOT\" is not closed"), std::wstring::npos);
    Chain two(text(-4, L"<NOT", text(8, L"0", text(8, L"1", text(-4, L"NOT>")))));
    EXPECT_EQ(acedSSGet(L"X", nullptr, nullptr, two.rb, ss), RTERROR);
    EXPECT_EQ(acedSSGet(L"Z", nullptr, nullptr, nullptr, ss), RTERROR);
    EXPECT_NE(s.transcript().find(L"the selection mode \"Z\" is unknown"), std::wstring::npos);
    EXPECT_EQ(host::liveSelectionSets(), 0);
}

TEST(Selection, TheUserSelectsUntilEnterWithTheGivenPrompts) {
    ThreeSegments s;
    s.type({L"@pick last", L"@select all", L""});
    const ACHAR* prompts[] = {L"\nChoix des Polylignes a inverser ", L"\nRetirer   Polylignes a inverser "};
    Chain layer(text(8, L"ROUTE"));
    ads_name ss;
    ASSERT_EQ(acedSSGet(L":$", prompts, nullptr, layer.rb, ss), RTNORM);
    EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{s.c, s.b}));
    EXPECT_NE(s.transcript().find(L"Choix des Polylignes a inverser @pick last"), std::wstring::npos);
    EXPECT_NE(s.transcript().find(L"2 trouvé(s), 1 filtré(s)"), std::wstring::npos);
    s.type({L""});
    EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTERROR) << "Enter with nothing chosen";
    EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTCAN) << "an empty queue cancels";
}

TEST(Selection, ASinglePickKeepsItsMarkerAndPoint) {
    ThreeSegments s;
    std::wstring pick = L"@pick " + s.b.handle().text() + L" 7 4,10";
    s.type({pick.c_str(), L""});
    Chain type(text(0, L"TESTSEGMENT"));
    ads_name ss;
    ASSERT_EQ(acedSSGet(L"_:n:s-m", nullptr, nullptr, type.rb, ss), RTNORM);
    resbuf* description = nullptr;
    ASSERT_EQ(acedSSNameX(&description, ss, 0), RTNORM);
    Chain owner(description);
    std::vector<const resbuf*> items;
    for (const resbuf* rb = description; rb; rb = rb->rbnext)
        items.push_back(rb);
    ASSERT_GE(items.size(), 7u);
    EXPECT_EQ(items[0]->restype, RTLB);
    EXPECT_EQ(items[1]->resval.rint, 1) << "picked";
    EXPECT_EQ(items[3]->resval.rlong, 7);
    ASSERT_EQ(items[6]->restype, RT3DPOINT);
    EXPECT_EQ(items[6]->resval.rpoint[0], 4);
    EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{s.b}));
    EXPECT_EQ(host::inputQueue().size(), 1u) << "a single selection ends without Enter";
    EXPECT_EQ(acedSSGet(L"_:n:s-m", nullptr, nullptr, type.rb, ss), RTERROR) << "Enter at a single pick";
}

TEST(Selection, APointTakesTheEntityUnderIt) {
    ThreeSegments s;
    ads_name ss;
    ads_point onB = {5, 10.01, 0}, nowhere = {5, 15, 0};
    ASSERT_EQ(acedSSGet(nullptr, onB, nullptr, nullptr, ss), RTNORM);
    EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{s.b}));
    EXPECT_EQ(acedSSGet(nullptr, nowhere, nullptr, nullptr, ss), RTERROR);
}

TEST(Selection, PickFirstAndEntitySelection) {
    ThreeSegments s;
    ads_name ss;
    ASSERT_EQ(acedSSGet(L"X", nullptr, nullptr, nullptr, ss), RTNORM);
    ASSERT_EQ(acedSSSetFirst(ss, nullptr), RTNORM);
    acedSSFree(ss);
    ASSERT_EQ(acedSSGet(L"I", nullptr, nullptr, nullptr, ss), RTNORM);
    EXPECT_EQ(members(ss).size(), 3u);
    acedSSSetFirst(nullptr, nullptr);
    EXPECT_EQ(acedSSGet(L"I", nullptr, nullptr, nullptr, ss), RTERROR);

    s.type({L"5,20", L"5,15", L"", L"Opt"});
    ads_name e;
    ads_point p;
    ASSERT_EQ(acedEntSel(nullptr, e, p), RTNORM);
    AcDbObjectId id;
    acdbGetObjectId(id, e);
    EXPECT_EQ(id, s.c);
    EXPECT_EQ(p[0], 5);
    EXPECT_EQ(acedEntSel(nullptr, e, p), RTERROR) << "nothing under the point";
    EXPECT_EQ(acedEntSel(nullptr, e, p), RTERROR) << "Enter";
    acedInitGet(0, L"Options _ Options");
    EXPECT_EQ(acedEntSel(nullptr, e, p), RTKWORD);
}
