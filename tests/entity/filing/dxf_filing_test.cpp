// The DXF groups: their order and precisions, the option word of entity lists, reading back, bad records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "geometry/points/angle_units.h"
#include "host/filing/dxf_filer.h"
#include "tests/entity/poly_test_support.h"
#include "tests/services/recording_screens.h"

using host::Group;
using poly_test::append;
using poly_test::appendAll;
using poly_test::Attributes;

namespace {

std::vector<Group> groupsOf(const CPolyArc3D& poly, AcDb::FilerType type = AcDb::kFileFiler) {
    host::DxfGroupFiler filer(type, nullptr);
    EXPECT_EQ(poly.dxfOutFields(&filer), Acad::eOk);
    return filer.groups();
}

// The groups after the entity's subclass marker (all of them when there is no marker).
std::vector<Group> ownGroups(const std::vector<Group>& groups) {
    auto marker = std::find_if(groups.begin(), groups.end(), [](const Group& g) {
        return g.code == 100 && (g.text() == L"PolyArc3D" || g.text() == L"tavro_poly");
    });
    return marker == groups.end() ? groups : std::vector<Group>(marker + 1, groups.end());
}

std::vector<int> codesOf(const std::vector<Group>& groups) {
    std::vector<int> codes;
    for (const Group& g : groups)
        codes.push_back(g.code);
    return codes;
}

// The host entity's groups, the subclass marker, then `own`.
std::vector<Group> record(std::vector<Group> own, const wchar_t* marker = L"PolyArc3D") {
    std::vector<Group> groups = {
        {100, std::wstring(L"AcDbEntity")}, {8, std::wstring(L"0")}, {100, std::wstring(marker)}};
    groups.insert(groups.end(), own.begin(), own.end());
    return groups;
}

Acad::ErrorStatus readGroups(CPolyArc3D& poly, std::vector<Group> groups) {
    host::DxfGroupFiler filer(AcDb::kFileFiler, nullptr, std::move(groups));
    return poly.dxfInFields(&filer);
}

Group point(double x, double y, double z) {
    return {10, AcGePoint3d(x, y, z)};
}

struct DxfRecord : ::testing::Test {
    DxfRecord() {
        append(poly, {1, 2, 3});
        append(poly, {4, 5, 6}, {0.5, 0x81, 6, -3, 150000, 25000, -5});
        append(poly, {7, 8, 0}, {.tag = 0x123456789LL});
        poly.f70(1);
        poly.f71(3);
        poly.f39(2.5);
        poly.f43(0.75);
    }
    ~DxfRecord() override { CPolyArc3D::resetClassState(); }
    PolyArc3D poly;
};

TEST_F(DxfRecord, HeaderAndVertexGroupsInTheirOrderWithTheirPrecisions) {
    const std::vector<Group> own = ownGroups(groupsOf(poly, AcDb::kBagFiler));
    EXPECT_EQ(codesOf(own),
              (std::vector<int>{69, 66, 70, 71, 39, 43, 91, 10, 10, 40, 39, 42, 70, 71, 72, 90, 10, 90}));
    EXPECT_EQ(own[0].integer(), 5);
    EXPECT_EQ(own[1].integer(), 1);
    EXPECT_EQ(own[2].integer(), 1);
    EXPECT_EQ(own[3].integer(), 3);
    EXPECT_EQ(own[4].real(), 2.5);
    EXPECT_EQ(own[5].real(), 0.75);
    EXPECT_EQ(own[6].integer(), 3);
    EXPECT_EQ(own[7].point(), AcGePoint3d(1, 2, 3));
    EXPECT_EQ(own[7].precision, 4);
    EXPECT_EQ(own[9].real(), 0.25);
    EXPECT_EQ(own[9].precision, 5);
    EXPECT_EQ(own[10].real(), 1.5);
    EXPECT_EQ(own[11].real(), 0.5);
    EXPECT_EQ(own[11].precision, 4);
    EXPECT_EQ(own[12].integer(), 0x81);
    EXPECT_EQ(own[13].integer(), 6);
    EXPECT_EQ(own[14].integer(), -3);
    EXPECT_EQ(own[15].integer(), -5);
    EXPECT_EQ(own[17].integer(), 0x23456789);

    poly.f42(0.125);
    poly.setSNormal(AcGeVector3d(0, -1, 0), 0);
    const std::vector<Group> more = ownGroups(groupsOf(poly, AcDb::kBagFiler));
    EXPECT_EQ(codesOf(more).size(), own.size() + 2);
    EXPECT_EQ(more[5].code, 42);
    EXPECT_EQ(more[8].code, 210);
    EXPECT_EQ(more[8].precision, 8);
    EXPECT_EQ(more[8].point(), AcGePoint3d(0, -1, 0));

    // Files keep every digit of points, bulges and the normal.
    const std::vector<Group> filed = ownGroups(groupsOf(poly));
    EXPECT_EQ(codesOf(filed), codesOf(more));
    for (const Group& g : filed) {
        if (g.code == 10 || g.code == 42 || g.code == 210) {
            EXPECT_EQ(g.precision, AcDb::kDfltPrec) << g.code;
        }
    }
}

TEST_F(DxfRecord, TheOptionWordChoosesWhatAListHolds) {
    CPolyArc3D::g_PolyEntgetOption = 0x10000003;
    std::vector<Group> groups = groupsOf(poly, AcDb::kBagFiler);
    EXPECT_EQ(groups.front().code, 5); // the host entity's groups come first
    EXPECT_EQ(codesOf(ownGroups(groups)), (std::vector<int>{69, 66, 70, 71, 39, 43, 91, 10, 90}));

    CPolyArc3D::g_PolyEntgetOption = 0x00000001;
    EXPECT_EQ(codesOf(groupsOf(poly, AcDb::kBagFiler)), (std::vector<int>{10}));

    CPolyArc3D::g_PolyEntgetOption = 0x10000000;
    EXPECT_EQ(codesOf(ownGroups(groupsOf(poly, AcDb::kBagFiler))).back(), 91);

    CPolyArc3D::g_PolyEntgetOption = 0x00000009; // past the last vertex: nothing
    EXPECT_TRUE(groupsOf(poly, AcDb::kBagFiler).empty());

    // A drawing file gets everything whatever the word holds.
    EXPECT_EQ(ownGroups(groupsOf(poly, AcDb::kFileFiler)).size(), 18u);
}

TEST(DxfTavroRecord, ListsOfTheLegacyClassCarryVerticesOnRequestFilesAlways) {
    tavro_poly tavro;
    appendAll(tavro, {{1, 2, 3}, {4, 5, 6}});
    const std::vector<Group> listed = groupsOf(tavro, AcDb::kBagFiler);
    EXPECT_EQ(std::count(listed.begin(), listed.end(), Group{100, std::wstring(L"tavro_poly")}), 1);
    EXPECT_EQ(codesOf(ownGroups(listed)).back(), 91);
    CPolyArc3D::g_PolyEntgetOption = CPolyArc3D::g_PolyEntgetOptDef | CPolyArc3D::kEntgetTavroKeep;
    EXPECT_EQ(codesOf(ownGroups(groupsOf(tavro, AcDb::kBagFiler))).back(), 10);
    CPolyArc3D::resetClassState();
    EXPECT_EQ(codesOf(ownGroups(groupsOf(tavro, AcDb::kFileFiler))).back(), 10);

    tavro_poly back;
    ASSERT_EQ(readGroups(back, groupsOf(tavro)), Acad::eOk);
    poly_test::expectSamePolyline(back, tavro);
}

TEST_F(DxfRecord, EveryFieldRoundTrips) {
    poly.f42(0.125);
    poly.setSNormal(AcGeVector3d(0.6, -0.48, 0.64), 1);
    PolyArc3D back;
    ASSERT_EQ(readGroups(back, groupsOf(poly)), Acad::eOk);
    // The tag keeps its low half, sign-extended.
    poly.T()->tag = 0x23456789;
    poly_test::expectSamePolyline(back, poly);
    EXPECT_EQ(std::memcmp(back.normalMatrix(), poly.normalMatrix(), sizeof(Mat3D)), 0);
}

TEST(DxfFixedPoint, HeightsAndWidthsReadBackToTheSameUnit) {
    for (std::int64_t i = -2147483647; i <= 2147483647; i += 1000003) {
        for (const auto value : {static_cast<std::int32_t>(i), static_cast<std::int32_t>(i % 100000), 29}) {
            PolyArc3D poly;
            append(poly, {0, 0, 0}, {.i39 = value, .i40 = -value});
            PolyArc3D back;
            ASSERT_EQ(readGroups(back, groupsOf(poly)), Acad::eOk);
            ASSERT_EQ(std::int32_t(back.H()->i39), value);
            ASSERT_EQ(std::int32_t(back.H()->i40), -value);
        }
    }
}

TEST(DxfRead, HeaderGroupsBeforeTheFirstVertexVertexGroupsAfter) {
    PolyArc3D poly;
    ASSERT_EQ(readGroups(poly, record({{40, 9.0},
                                       {72, Adesk::Int16(4)},
                                       {90, Adesk::Int32(4)},
                                       {39, 2.0},
                                       {42, 0.5},
                                       {70, Adesk::Int16(1)},
                                       {71, Adesk::Int16(2)},
                                       point(1, 2, 3),
                                       {39, _RVIDE},
                                       {40, 1.25},
                                       {42, 0.25},
                                       {70, Adesk::Int16(2)},
                                       {71, Adesk::Int16(-1)},
                                       {72, Adesk::Int16(3)},
                                       {90, Adesk::Int32(-9)},
                                       {43, 0.75},
                                       {999, std::wstring(L"skipped")}})),
              Acad::eOk);
    EXPECT_EQ(poly.f39(), 2.0);
    EXPECT_EQ(poly.f42(), 0.5);
    EXPECT_EQ(poly.f70(), 1);
    EXPECT_EQ(poly.f71(), 2);
    EXPECT_EQ(poly.f43(), 0.75);
    ASSERT_EQ(poly.GetCount(), 1);
    const P_Vertex* v = poly.H();
    EXPECT_EQ(std::int32_t(v->i39), 0);
    EXPECT_EQ(std::int32_t(v->i40), 125000);
    EXPECT_EQ(double(v->bulge), 0.25);
    EXPECT_EQ(short(v->flags), 2);
    EXPECT_EQ(int(v->tef1), -1);
    EXPECT_EQ(int(v->tef2), 3);
    EXPECT_EQ(std::int64_t(v->tag), -9);
}

TEST(DxfRead, HeaderOnlyGroupsAfterAVertexAreSkipped) {
    PolyArc3D poly;
    ASSERT_EQ(readGroups(poly, record({point(1, 2, 3),
                                       {69, Adesk::Int16(5)},
                                       {66, Adesk::Int16(1)},
                                       {42, 0.5},
                                       point(4, 5, 6),
                                       {91, Adesk::Int32(7)},
                                       {70, Adesk::Int16(2)}})),
              Acad::eOk);
    ASSERT_EQ(poly.GetCount(), 2);
    EXPECT_EQ(CPoint3d(poly.H()->pt), CPoint3d(1, 2, 3));
    EXPECT_EQ(double(poly.H()->bulge), 0.5);
    EXPECT_EQ(CPoint3d(poly.T()->pt), CPoint3d(4, 5, 6));
    EXPECT_EQ(short(poly.T()->flags), 2);
}

TEST(DxfRead, ARecordOfVerticesReplacesTheListAndKeepsItsClosedBit) {
    PolyArc3D poly;
    appendAll(poly, {{9, 9, 9}, {8, 8, 8}, {7, 7, 7}});
    ASSERT_EQ(
        readGroups(poly, record({{70, Adesk::Int16(1)}, point(1, 0, 0), point(2, 0, 0), point(2, 2, 0)})),
        Acad::eOk);
    EXPECT_EQ(poly.GetCount(), 3);
    EXPECT_EQ(poly.f70(), 1);
    EXPECT_EQ(CPoint3d(poly.H()->pt), CPoint3d(1, 0, 0));
}

TEST(DxfRead, ANormalAfterTheVerticesMapsThem) {
    PolyArc3D poly;
    const AcGeVector3d normal(0, -1, 0);
    ASSERT_EQ(
        readGroups(
            poly, record({point(1, 2, 3), point(4, 5, 6), {210, AcGePoint3d(normal.x, normal.y, normal.z)}})),
        Acad::eOk);
    ASSERT_NE(poly.normalMatrix(), nullptr);
    const CPoint3d world = poly.WorldPoint(poly.T());
    EXPECT_NEAR(world.x, 4, 1e-12);
    EXPECT_NEAR(world.y, 5, 1e-12);
    EXPECT_NEAR(world.z, 6, 1e-12);
}

TEST(DxfRead, VerticesWithoutANormalAreInTheWorldSystem) {
    PolyArc3D poly;
    appendAll(poly, {{1, 1, 1}});
    poly.setSNormal(AcGeVector3d(0, -1, 0), 1);
    ASSERT_EQ(readGroups(poly, record({point(1, 2, 3)})), Acad::eOk);
    EXPECT_EQ(poly.normalMatrix(), nullptr);
    EXPECT_EQ(CPoint3d(poly.H()->pt), CPoint3d(1, 2, 3));
}

TEST(DxfRead, AHeaderAloneKeepsTheVerticesWhereTheyAre) {
    PolyArc3D poly;
    appendAll(poly, {{1, 2, 3}, {4, 5, 6}});
    ASSERT_EQ(readGroups(poly, record({{71, Adesk::Int16(3)}, {210, AcGePoint3d(0, -1, 0)}})), Acad::eOk);
    EXPECT_EQ(poly.f71(), 3);
    EXPECT_EQ(poly.GetCount(), 2);
    const CPoint3d world = poly.WorldPoint(poly.T());
    EXPECT_NEAR(world.x, 4, 1e-12);
    EXPECT_NEAR(world.y, 5, 1e-12);
    EXPECT_NEAR(world.z, 6, 1e-12);
    ASSERT_EQ(readGroups(poly, record({{71, Adesk::Int16(1)}})), Acad::eOk);
    EXPECT_NE(poly.normalMatrix(), nullptr);
}

TEST(DxfRead, BadRecordsAreRefusedAndLeaveTheEntityAsItWas) {
    testing_support::RecordingScreens screens;
    screens.global.open = true;
    struct Bad {
        const char* what;
        std::vector<Group> groups;
        Acad::ErrorStatus status;
    };
    const Bad bads[] = {
        {"sous-classe", record({point(1, 2, 3)}, L"tavro_poly"), Acad::eBadDxfSequence},
        {"hors limites", record({point(1, 2, 3), {39, 1e9}}), Acad::eInvalidInput},
        {"hors limites", record({point(1, 2, 3), {39, 1e20}}), Acad::eInvalidInput},
        {"hors limites", record({point(1, 2, 3), {40, std::nan("")}}), Acad::eInvalidInput},
    };
    for (const Bad& bad : bads) {
        SCOPED_TRACE(bad.what);
        PolyArc3D poly, reference;
        for (CPolyArc3D* p : {static_cast<CPolyArc3D*>(&poly), static_cast<CPolyArc3D*>(&reference)}) {
            appendAll(*p, {{9, 9, 9}, {8, 8, 8}});
            p->f70(1);
        }
        screens.global.printed.clear();
        host::DxfGroupFiler filer(AcDb::kFileFiler, nullptr, bad.groups);
        EXPECT_EQ(poly.dxfInFields(&filer), bad.status);
        EXPECT_EQ(filer.filerStatus(), bad.status);
        poly_test::expectSamePolyline(poly, reference);
        EXPECT_NE(screens.global.printed.find("CPolyArc3D::dxfIn()"), std::string::npos);
        EXPECT_NE(screens.global.printed.find(bad.what), std::string::npos);
    }
}

} // namespace
