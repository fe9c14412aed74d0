// ZOR_PCONVERT: both directions through the command line, the remembered answers, the refused hatch
// boundaries offered as a selection, and cancels that leave the drawing as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "entity/drawing/draw_state.h"
#include "host/db/build_list.h"
#include "host/editor/command_line.h"
#include "host/entities/line.h"
#include "host/entities/lw_polyline.h"
#include "host/input/entity_refs.h"
#include "host/selection/selection_sets.h"
#include "plugin/app/command_table.h"
#include "tests/entity/poly_test_support.h"
#include "tests/plugin/application_session.h"

using plugin::test::shown;
using poly_test::append;

namespace {

struct ConvertCommand : ::testing::Test {
    ConvertCommand() { registerCommands(); }

    // A polyline of two pieces: a break at its second vertex.
    AcDbObjectId addBrokenPolyline() {
        auto* poly = new PolyArc3D;
        append(*poly, {0, 0, 0}, {0.5});
        append(*poly, {10, 0, 0}, {0, 0, 2});
        append(*poly, {20, 0, 0});
        append(*poly, {30, 0, 0});
        return s.addEntity(poly);
    }
    std::wstring select(AcDbObjectId id) { return L"@select " + id.handle().text(); }
    static std::wstring classOf(AcDbObjectId id) {
        AcDbEntity* e = nullptr;
        if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) return L"";
        std::wstring name = e->isA()->name();
        e->close();
        return name;
    }
    std::vector<std::wstring> classNames() {
        std::vector<std::wstring> names;
        for (AcDbObjectId id : host::currentSpaceEntities())
            if (std::wstring name = classOf(id); !name.empty()) names.push_back(std::move(name));
        return names;
    }

    plugin::test::ApplicationSession s;
    poly_test::RegisteredClasses classes;
};

TEST_F(ConvertCommand, PolylinesIntoHostPolylinesWithTheRememberedOptions) {
    const std::wstring first = select(addBrokenPolyline());
    s.type({L"ZOR_PCONVERT", L"P", L"L", L"HIT", first.c_str(), L""});
    host::runCommandLine();
    EXPECT_EQ(classNames(), (std::vector<std::wstring>{L"AcDbPolyline", L"AcDbPolyline"}))
        << "one per piece, the source erased";
    EXPECT_EQ(shown(L"Mode LWPOLY   Options : 'HIT'"), 1);

    const std::wstring second = select(addBrokenPolyline());
    s.type({L"ZOR_PCONVERT", L"", L"3", L"-", L"", second.c_str(), L""});
    host::runCommandLine();
    EXPECT_EQ(shown(L"< P >"), 1) << "the direction remembered";
    EXPECT_EQ(shown(L"Mode 3DPOLY   Options : 'HIT'"), 1) << "'-' keeps the options";
    EXPECT_EQ(classNames(), (std::vector<std::wstring>{L"AcDbPolyline", L"AcDbPolyline", L"AcDb3dPolyline",
                                                       L"AcDb3dPolyline"}));
}

TEST_F(ConvertCommand, HostCurvesIntoPolylinesThatTurnClockwise) {
    auto* square = new AcDbPolyline;
    const double corners[][2] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    for (unsigned int i = 0; i < 4; ++i)
        square->addVertexAt(i, AcGePoint2d(corners[i][0], corners[i][1]));
    square->setClosed(true);
    const AcDbObjectId squareId = s.addEntity(square);
    const AcDbObjectId lineId = s.addEntity(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(5, 5, 0)));
    const std::wstring both = select(squareId) + L" " + lineId.handle().text();
    s.type({L"ZOR_PCONVERT", L"A", both.c_str(), L""});
    host::runCommandLine();
    ASSERT_EQ(classNames(), (std::vector<std::wstring>{L"PolyArc3D", L"PolyArc3D"}));
    PolyArc3D* poly = nullptr;
    ASSERT_EQ(acdbOpenObject(poly, host::currentSpaceEntities()[0], AcDb::kForRead), Acad::eOk);
    EXPECT_GT(poly->getArea(nullptr), 0) << "the counter-clockwise square reversed";
    EXPECT_EQ(poly->GetCount(), 4);
    poly->close();
}

// A hatched square whose code runs do not close: each run is a boundary the hatch refuses.
TEST_F(ConvertCommand, RefusedHatchBoundariesBecomeThePreviousAndPickFirstSelection) {
    auto addSquare = [&] {
        auto* poly = new PolyArc3D;
        append(*poly, {0, 0, 0});
        append(*poly, {10, 0, 0});
        append(*poly, {10, 10, 0}, {0, 0, 0, 1});
        append(*poly, {0, 10, 0}, {0, 0, 0, 1});
        poly->setClosed(true);
        acdbRegApp(L"ZORTA");
        resbuf* xdata = acutBuildList(1001, L"ZORTA", 1000, L"*H=ANSI31", RTNONE);
        EXPECT_EQ(poly->setXData(xdata), Acad::eOk);
        acutRelRb(xdata);
        return s.addEntity(poly);
    };
    auto ids = [](const std::vector<host::SelectionMember>& members) {
        std::vector<AcDbObjectId> out;
        for (const host::SelectionMember& m : members)
            out.push_back(m.id);
        return out;
    };

    const std::wstring declined = select(addSquare());
    s.type({L"ZOR_PCONVERT", L"P", L"L", L"HT", declined.c_str(), L"", L"@answer no"});
    host::runCommandLine();
    EXPECT_EQ(shown(L"il y a 1 erreures"), 1);
    EXPECT_TRUE(host::pickFirst().empty());
    EXPECT_EQ(poly_drawing::g_hatchErrors, 0) << "the count is reset";

    const std::vector<AcDbObjectId> before = host::currentSpaceEntities();
    const std::wstring accepted = select(addSquare());
    s.type({L"ZOR_PCONVERT", L"P", L"L", L"HT", accepted.c_str(), L"", L"@answer yes"});
    host::runCommandLine();
    EXPECT_EQ(shown(L"il y a 1 erreures"), 2) << "the first run's refusal is not counted again";
    std::vector<AcDbObjectId> runs;
    for (AcDbObjectId id : host::currentSpaceEntities())
        if (std::ranges::find(before, id) == before.end() && classOf(id) == L"AcDbPolyline")
            runs.push_back(id);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_TRUE(std::ranges::is_permutation(ids(host::previousSelection()), runs));
    EXPECT_TRUE(std::ranges::is_permutation(ids(host::pickFirst()), runs));
    EXPECT_EQ(host::liveSelectionSets(), 0);
}

TEST_F(ConvertCommand, ACancelAtAnyPromptLeavesTheDrawingAsItWas) {
    const AcDbObjectId id = addBrokenPolyline();
    const std::vector<std::vector<const wchar_t*>> answers = {
        {}, {L"P"}, {L"P", L"3"}, {L"P", L"3", L"HIT"}, {L"P", L"3", L"HIT", L"0.5"}, {L"A"}};
    for (const auto& given : answers) {
        s.type({L"ZOR_PCONVERT"});
        for (const wchar_t* answer : given)
            s.type({answer});
        host::runCommandLine();
        EXPECT_EQ(host::currentSpaceEntities(), std::vector<AcDbObjectId>{id}) << given.size() << " answers";
    }
}

} // namespace
