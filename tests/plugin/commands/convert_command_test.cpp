// ZOR_PCONVERT: both directions through the command line, the remembered answers, and cancels that leave
// the drawing as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/editor/command_line.h"
#include "host/entities/line.h"
#include "host/entities/lw_polyline.h"
#include "host/input/entity_refs.h"
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
    std::vector<std::wstring> classNames() {
        std::vector<std::wstring> names;
        for (AcDbObjectId id : host::currentSpaceEntities()) {
            AcDbEntity* e = nullptr;
            if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk) continue;
            names.emplace_back(e->isA()->name());
            e->close();
        }
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
