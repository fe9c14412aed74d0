// Selections: modes, filters on type, layer and colour (with "<NOT" and "~"), picks with their graphics
// markers, the pick-first set, entity picks, and filters that cannot be read.
#include <gtest/gtest.h>

#include <numbers>

#include "host/db/system_variables.h"
#include "host/editor/command_line.h"
#include "host/entities/circle_arc.h"
#include "host/entities/line.h"
#include "host/input/prompts.h"
#include "host/lisp/entity_lists.h"
#include "host/selection/pick_box.h"
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

// Pans (and zooms) the view: its centre and height.
void setView(const AcGePoint3d& centre, double height) {
    resbuf c{}, size{};
    c.restype = RT3DPOINT;
    c.resval.rpoint[0] = centre.x;
    c.resval.rpoint[1] = centre.y;
    size.restype = RTREAL;
    size.resval.rreal = height;
    ASSERT_EQ(acedSetVar(L"VIEWCTR", &c), RTNORM);
    ASSERT_EQ(acedSetVar(L"VIEWSIZE", &size), RTNORM);
}

TEST(Selection, APointOutsideTheViewTakesNothing) {
    ThreeSegments s;
    // A view 4 units high round (5, 0) on a 1920 x 1080 screen: x from about 1.44 to 8.56, y from -2 to 2.
    setView({5, 0, 0}, 4);
    ads_name ss;
    ads_point onA = {5, 0.01, 0}, onAOffScreen = {9.5, 0, 0}, onB = {5, 10.01, 0};
    ASSERT_EQ(acedSSGet(nullptr, onA, nullptr, nullptr, ss), RTNORM);
    EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{s.a}));
    EXPECT_EQ(acedSSGet(nullptr, onAOffScreen, nullptr, nullptr, ss), RTERROR);
    EXPECT_EQ(acedSSGet(nullptr, onB, nullptr, nullptr, ss), RTERROR);
}

// A large circle, a slanted line and a half arc, each with points inside its extents where nothing is drawn.
struct Curves : EditorSession {
    Curves() {
        circle = addEntity(new AcDbCircle({0, 0, 0}, AcGeVector3d::kZAxis, 50));
        line = addEntity(new AcDbLine({100, 0, 0}, {200, 100, 0}));
        arc = addEntity(new AcDbArc({300, 0, 0}, 20, 0, std::numbers::pi));
    }
    AcDbObjectId circle, line, arc;
    // Within the pick box of the curve, and a point of the extents well away from it.
    struct Probe {
        const char* what;
        AcDbObjectId* entity;
        AcGePoint3d on, off;
    };
    std::vector<Probe> probes() {
        const double near = host::pickTolerance() / 2;
        return {{"circle in its middle", &circle, {50 + near, 0, 0}, {0, 0, 0}},
                {"line beside its corner", &line, {150 + near, 50, 0}, {190, 10, 0}},
                {"arc on its chord", &arc, {300, 20 - near, 0}, {310, 0, 0}}};
    }
};

std::wstring pointText(const AcGePoint3d& p) {
    return std::to_wstring(p.x) + L"," + std::to_wstring(p.y);
}

TEST(Picks, APointSelectionTakesWhatIsDrawnThere) {
    Curves s;
    ads_name ss;
    for (const auto& probe : s.probes()) {
        SCOPED_TRACE(probe.what);
        ads_point on = {probe.on.x, probe.on.y, 0}, off = {probe.off.x, probe.off.y, 0};
        // The view pans to the probe, keeping its height and so the pick box.
        setView(probe.on, 100);
        ASSERT_EQ(acedSSGet(nullptr, on, nullptr, nullptr, ss), RTNORM);
        EXPECT_EQ(members(ss), (std::vector<AcDbObjectId>{*probe.entity}));
        EXPECT_EQ(acedSSGet(nullptr, off, nullptr, nullptr, ss), RTERROR);
    }
}

// What an entity selection answers to one typed line: the entity, or null when nothing was found.
AcDbObjectId entitySelection(EditorSession& s, const std::wstring& line) {
    s.type({line.c_str()});
    ads_name e;
    ads_point p;
    AcDbObjectId id;
    if (acedEntSel(nullptr, e, p) == RTNORM) acdbGetObjectId(id, e);
    return id;
}

TEST(Picks, AnEntitySelectionTakesWhatIsDrawnThere) {
    Curves s;
    for (const auto& probe : s.probes()) {
        SCOPED_TRACE(probe.what);
        EXPECT_EQ(entitySelection(s, pointText(probe.on)), *probe.entity);
        EXPECT_TRUE(entitySelection(s, pointText(probe.off)).isNull());
    }
}

TEST(Picks, AScriptPickTakesItsEntityOnlyWhereItIsDrawn) {
    Curves s;
    for (const auto& probe : s.probes()) {
        SCOPED_TRACE(probe.what);
        const std::wstring ref = L"@pick " + probe.entity->handle().text() + L" ";
        const std::wstring off = ref + pointText(probe.off);
        EXPECT_EQ(entitySelection(s, ref + pointText(probe.on)), *probe.entity);
        EXPECT_TRUE(entitySelection(s, off).isNull());
        s.type({off.c_str(), L""});
        ads_name ss;
        EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTERROR);
        EXPECT_NE(s.transcript().find(L"0 trouvé(s)"), std::wstring::npos);
    }
}

TEST(Picks, AScriptPickKeepsAnEntityThatDrawsNothing) {
    Curves s;
    AcDbEntity* circle = nullptr;
    ASSERT_EQ(acdbOpenObject(circle, s.circle, AcDb::kForWrite), Acad::eOk);
    circle->setVisibility(AcDb::kInvisible);
    circle->close();
    const std::wstring pick = L"@pick " + s.circle.handle().text() + L" 0,0";
    EXPECT_EQ(entitySelection(s, pick), s.circle) << "where it is cannot be told";
    EXPECT_TRUE(entitySelection(s, L"50,0").isNull()) << "a click finds only what is drawn";
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

// A set built in code, each entity once, answers the selection prompt of a command run from code.
TEST(Selection, ASetBuiltInCodeAnswersTheSelectCommand) {
    ThreeSegments s;
    ads_name ss;
    ASSERT_EQ(acedSSAdd(nullptr, nullptr, ss), RTNORM);
    for (AcDbObjectId id : {s.a, s.c, s.a}) {
        ads_name e;
        acdbGetAdsName(e, id);
        ASSERT_EQ(acedSSAdd(e, ss, ss), RTNORM);
    }
    ads_name entity, unused;
    acdbGetAdsName(entity, s.b);
    EXPECT_EQ(acedSSAdd(entity, entity, unused), RTERROR) << "an entity name is no set";
    const ads_name none = {0, 0};
    EXPECT_EQ(acedSSAdd(none, ss, ss), RTERROR) << "a name of no entity";

    ASSERT_EQ(acedCommandS(RTSTR, L"_SELECT", RTPICKS, ss, RTSTR, L"", RTNONE), RTNORM);
    const std::vector<AcDbObjectId> chosen = {s.a, s.c};
    std::vector<AcDbObjectId> previous;
    for (const host::SelectionMember& m : host::previousSelection())
        previous.push_back(m.id);
    EXPECT_EQ(previous, chosen);
    ads_name freed = {ss[0], ss[1]};
    EXPECT_EQ(members(ss), chosen) << "the set is the caller's still";

    acedSSAdd(entity, nullptr, ss);
    EXPECT_EQ(members(ss), std::vector<AcDbObjectId>{s.b}) << "a new set of one";
    EXPECT_EQ(acedCommandS(RTSTR, L"_SELECT", RTPICKS, freed, RTSTR, L"", RTNONE), RTERROR);
    EXPECT_EQ(host::previousSelection().size(), 2u) << "no command ran for a freed set";
    EXPECT_EQ(host::liveSelectionSets(), 0);
}
