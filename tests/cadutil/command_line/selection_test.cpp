// Selections of the plug-in: filter texts, selections with them, picks with marker and snap point, ids.
#include <gtest/gtest.h>

#include <string>

#include "cadutil/command_line/selection.h"
#include "host/db/symbol_tables.h"
#include "host/selection/selection_sets.h"
#include "tests/cadutil/cadutil_test_support.h"

using plugin::test::PluginSession;

namespace {

std::wstring dumped(const Cresbuf& chain) {
    host::clearCommandLineTranscript();
    chain.Dump();
    return host::commandLineTranscript();
}

} // namespace

TEST(FilterText, ModesAndItems) {
    PluginSession s;
    Cresbuf chain;
    std::string mode;
    EXPECT_EQ(chain.AddFilterText("X;0=TAVROPOLY,ZORTAPOLY,POLYLINE,LWPOLYLINE", mode), 1);
    EXPECT_EQ(mode, "X");
    EXPECT_STREQ(chain.head()->resval.rstring, L"TAVROPOLY,ZORTAPOLY,POLYLINE,LWPOLYLINE");

    Cresbuf negation;
    mode.clear();
    EXPECT_EQ(negation.AddFilterText("8=~0;70=~1;62=3;40=2.5;:S", mode), 5);
    EXPECT_EQ(negation.count(), 8);
    std::wstring lines = dumped(negation);
    EXPECT_NE(
        lines.find(
            L"code =   -4  val=\"<NOT\"\nRTSTR code =    8  val=\"0\"\nRTSTR code =   -4  val=\"NOT>\""),
        std::wstring::npos)
        << host::toUtf8(lines);
    EXPECT_STREQ(negation.GetAt(4)->resval.rstring, L"1") << "after \"~\" always a text";
    EXPECT_NE(lines.find(L"RTSHORT code =   62  val=       3"), std::wstring::npos);
    EXPECT_NE(lines.find(L"RTREAL  code =   40  val=      2.5000"), std::wstring::npos);
    EXPECT_EQ(mode, ":S");

    Cresbuf stopped;
    mode.clear();
    EXPECT_EQ(stopped.AddFilterText("0=LINE;;8=0", mode), 1) << "an empty item ends the list";
    EXPECT_EQ(stopped.AddFilterText("", mode), 0);
    EXPECT_EQ(stopped.AddFilterText("ab=1;62=x", mode), 2);
    EXPECT_EQ(stopped.count(), 1) << "items that cannot be read add nothing";
    EXPECT_NE(s.transcript().find(L"code DXF incorrect dans 'ab=1'"), std::wstring::npos);
    EXPECT_NE(s.transcript().find(L"valeur incorrecte dans '62=x'"), std::wstring::npos);
}

TEST(Selections, WithAFilterTextAndAPrompt) {
    PluginSession s;
    s.addLayer(L"ROUTE");
    AcDbObjectId a = s.addSegment({0, 0, 0}, {10, 0, 0});
    AcDbObjectId b = s.addSegment({0, 5, 0}, {10, 5, 0}, L"ROUTE");
    ads_name ss;
    EXPECT_EQ(ssgetFilter("X;8=~0", ss, nullptr), 1);
    AcDbObjectIdArray ids;
    EXPECT_EQ(ssToIds(ss, ids), 1);
    EXPECT_EQ(ids[0], b);
    EXPECT_EQ(ss[0], 0);
    EXPECT_EQ(host::liveSelectionSets(), 0) << "freed";
    EXPECT_EQ(ssToIds(ss, ids), 0) << "no set any more";

    s.type({L"@select all", L""});
    EXPECT_EQ(ssgetFilter("0=TESTSEGMENT", ss, "Entit\xe9s \xe0 traiter ([ENTER] si toutes) : "), 2);
    EXPECT_NE(s.transcript().find(L"Entités à traiter ([ENTER] si toutes) : @select all"),
              std::wstring::npos);
    ssToIds(ss, ids);
    EXPECT_EQ(ids.length(), 2);
    EXPECT_EQ(ids[0], a);
    s.type({L""});
    EXPECT_EQ(ssgetFilter("0=TESTSEGMENT", ss, "Entit\xe9s : "), -5001) << "Enter: nothing selected";
    EXPECT_EQ(ssgetFilter("0=TESTSEGMENT", ss, nullptr), -5002) << "the input ran out: cancel";
}

TEST(Selections, APickGivesItsMarkerPointAndSnap) {
    PluginSession s;
    AcDbObjectId segment = s.addSegment({0, 0, 0}, {10, 0, 0});
    std::wstring pick = L"@pick " + segment.handle().text() + L" 4 9.5,0.1";
    s.type({pick.c_str()});
    AcDbObjectId id;
    Adesk::GsMarker marker = 0;
    AcGePoint3d at, snap;
    ASSERT_EQ(pickEntity(id, "TESTSEGMENT", &marker, &at, &snap), RTNORM);
    EXPECT_EQ(id, segment);
    EXPECT_EQ(marker, 4);
    EXPECT_EQ(at, AcGePoint3d(9.5, 0.1, 0));
    EXPECT_EQ(snap, AcGePoint3d(9.5, 0, 0)) << "the nearest point, as the segment gives no mode 7 snap";

    s.type({pick.c_str(), L""});
    id = segment;
    EXPECT_EQ(pickEntity(id, "LINE", &marker), RTERROR) << "another type: nothing picked";
    EXPECT_TRUE(id.isNull()) << "the id starts null";
    EXPECT_EQ(pickEntity(id, nullptr), RTCAN) << "an unexpected code ends the pick";
    EXPECT_EQ(host::liveSelectionSets(), 0);
}

TEST(Selections, VisibilityFollowsTheLayer) {
    PluginSession s;
    s.addLayer(L"OFF");
    AcDbObjectId on = s.addSegment({0, 0, 0}, {1, 0, 0});
    AcDbObjectId off = s.addSegment({0, 0, 0}, {1, 0, 0}, L"OFF");
    AcDbLayerTableRecord* layer = nullptr;
    ASSERT_EQ(acdbOpenObject(layer, s.drawing.db->layerId(L"OFF"), AcDb::kForWrite), Acad::eOk);
    layer->setIsOff(true);
    layer->close();
    for (auto [id, visible] : {std::pair{on, 1}, std::pair{off, 0}}) {
        AcDbEntity* e = nullptr;
        ASSERT_EQ(acdbOpenObject(e, id, AcDb::kForWrite), Acad::eOk);
        EXPECT_EQ(isEntityVisible(e), visible);
        e->setVisibility(AcDb::kInvisible);
        EXPECT_EQ(isEntityVisible(e), 0);
        e->close();
    }
}
