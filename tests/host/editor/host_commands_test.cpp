// The host's own services that modules call: EXTEND, menus and support files, object snaps, coordinate
// systems and message boxes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/db/system_variables.h"
#include "host/editor/command_line.h"
#include "host/editor/find_file.h"
#include "host/editor/menus.h"
#include "host/editor/message_box.h"
#include "host/editor/ucs.h"
#include "host/entities/lw_polyline.h"
#include "host/input/entity_refs.h"
#include "host/input/prompts.h"
#include "host/selection/osnap.h"
#include "tests/host/editor_test_support.h"
#include "tests/support/temp_folder.h"

using host::test::EditorSession;

namespace {

AcGePoint3d segmentEnd(AcDbObjectId id) {
    TestSegment* s = nullptr;
    EXPECT_EQ(acdbOpenObject(s, id, AcDb::kForRead), Acad::eOk);
    AcGePoint3d p = s ? s->end() : AcGePoint3d();
    if (s) s->close();
    return p;
}

} // namespace

TEST(HostCommands, ExtendReachesTheNearestBoundary) {
    EditorSession s;
    AcDbObjectId near = s.addSegment({10, -5, 0}, {10, 5, 0});
    AcDbObjectId far = s.addSegment({20, -5, 0}, {20, 5, 0});
    AcDbObjectId line = s.addSegment({0, 0, 0}, {5, 0, 0});
    std::wstring boundaries = L"@select " + near.handle().text() + L" " + far.handle().text();
    std::wstring nearEnd = L"@pick " + line.handle().text() + L" 0 4,0";
    std::wstring nearEndAgain = L"@pick " + line.handle().text() + L" 0 9,0";
    std::wstring nearStart = L"@pick " + line.handle().text() + L" 0 1,0";
    s.type(
        {L"_EXTEND", boundaries.c_str(), L"", nearEnd.c_str(), nearEndAgain.c_str(), nearStart.c_str(), L""});
    host::runCommandLine();
    EXPECT_EQ(segmentEnd(line), AcGePoint3d(20, 0, 0)) << "the nearer edge (x = 10), then the one beyond";
    EXPECT_NE(s.transcript().find(L"L'objet ne coupe aucune arête."), std::wstring::npos)
        << "nothing lies beyond the start";
}

TEST(HostCommands, MenusFromFilesOfTheSupportPath) {
    EditorSession s;
    testing_support::TempFolder folder;
    testing_support::writeFile(folder / "Zortapoly.mns", "//\n***MENUGROUP=ZORTAPOLY\n***POP1\n");
    ASSERT_EQ(setenv("ZHOST_SUPPORT", ("/nonexistent:" + folder.path()).c_str(), 1), 0);
    ACHAR found[512];
    ASSERT_EQ(acedFindFile(L"ZORTAPOLY.MNS", found, 512), RTNORM) << "found without regard to case";
    EXPECT_EQ(host::toUtf8(found), folder / "Zortapoly.mns");
    EXPECT_EQ(acedFindFile(L"ZORTAPOLY.CUI", found, 512), RTERROR);
    EXPECT_EQ(acedFindFile(L"ZORTAPOLY.MNS", found, 8), RTERROR) << "a path that does not fit";
    EXPECT_FALSE(acedIsMenuGroupLoaded(L"zortapoly"));
    EXPECT_EQ(acedCommandS(RTSTR, L"_menuload", RTSTR, L"ZORTAPOLY.MNS", RTNONE), RTNORM);
    EXPECT_TRUE(acedIsMenuGroupLoaded(L"zortapoly"));
    EXPECT_EQ(acedMenuCmd(L"P50=+ZORTAPOLY.POP1"), RTNORM);
    EXPECT_EQ(host::menuCommandLog().back(), L"P50=+ZORTAPOLY.POP1");
    EXPECT_EQ(acedCommandS(RTSTR, L"_menuunload", RTSTR, L"ZORTAPOLY", RTNONE), RTNORM);
    EXPECT_FALSE(acedIsMenuGroupLoaded(L"ZORTAPOLY"));
    unsetenv("ZHOST_SUPPORT");
}

TEST(HostServices, ObjectSnapsWithinTheAperture) {
    EditorSession s;
    s.addSegment({0, 0, 0}, {10, 0, 0});
    ads_point pick = {9.9, 0.1, 0}, result;
    ASSERT_EQ(acedOsnap(pick, L"_end", result), RTNORM);
    EXPECT_EQ(result[0], 10);
    ASSERT_EQ(acedOsnap(pick, L"mid,end", result), RTNORM);
    EXPECT_EQ(result[0], 10) << "the nearer of the candidates";
    ads_point farAway = {5, 5, 0};
    EXPECT_EQ(acedOsnap(farAway, L"_mid", result), RTERROR) << "outside the aperture";
    EXPECT_EQ(acedOsnap(pick, L"_bogus", result), RTERROR);
    s.type({L"@snap 4.95,0.05"});
    ads_point snapped;
    ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint: ", snapped), RTNORM);
    EXPECT_EQ(snapped[0], 4.95) << "OSMODE 4133 has no middle snap";
    resbuf mid{};
    mid.restype = RTSHORT;
    mid.resval.rint = 2;
    acedSetVar(L"OSMODE", &mid);
    s.type({L"@snap 4.95,0.05"});
    ASSERT_EQ(acedGetPoint(nullptr, L"\nPoint: ", snapped), RTNORM);
    EXPECT_EQ(snapped[0], 5);
}

TEST(HostServices, CoordinateSystems) {
    EditorSession s;
    AcGeMatrix3d ucs = AcGeMatrix3d::rotation(M_PI / 2, AcGeVector3d::kZAxis);
    ucs(0, 3) = 10;
    ASSERT_TRUE(acedSetCurrentUCS(ucs));
    EXPECT_FALSE(acedSetCurrentUCS(AcGeMatrix3d::scaling(2.0))) << "axes must be unit vectors";
    resbuf world{}, user{};
    world.restype = user.restype = RTSHORT;
    world.resval.rint = 0;
    user.resval.rint = 1;
    ads_point p = {1, 0, 0}, out;
    ASSERT_EQ(acedTrans(p, &user, &world, 0, out), RTNORM);
    EXPECT_NEAR(out[0], 10, 1e-12);
    EXPECT_NEAR(out[1], 1, 1e-12);
    ASSERT_EQ(acedTrans(p, &user, &world, 1, out), RTNORM);
    EXPECT_NEAR(out[0], 0, 1e-12) << "a displacement turns but does not move";
    resbuf xdir{};
    ASSERT_EQ(acedGetVar(L"UCSXDIR", &xdir), RTNORM);
    EXPECT_NEAR(xdir.resval.rpoint[1], 1, 1e-12);
    resbuf bad{};
    bad.restype = RTSHORT;
    bad.resval.rint = 7;
    EXPECT_EQ(acedTrans(p, &bad, &world, 0, out), RTERROR);
}

TEST(HostServices, MessageBoxesTakeTheirAnswersFromTheQueue) {
    EditorSession s;
    s.type({L"@answer yes", L"@answer no", L"@answer retry", L"NEXT"});
    EXPECT_EQ(AfxMessageBox(L"Mettre quand même Z ?", MB_YESNO), IDYES);
    EXPECT_EQ(AfxMessageBox(L"Encore ?", MB_YESNO), IDNO);
    EXPECT_EQ(AfxMessageBox(L"Fin", MB_OK), IDOK) << "no Retry button: the answer is refused";
    EXPECT_NE(s.transcript().find(L"n'a pas de bouton Réessayer"), std::wstring::npos);
    EXPECT_EQ(AfxMessageBox(L"Suite ?", MB_YESNO), IDNO) << "no answer waiting: the box changes nothing";
    EXPECT_EQ(AfxMessageBox(L"Suite ?", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(host::inputQueue().front()->text, L"NEXT") << "other input stays for prompts";
}

TEST(HostCommands, ExplodeReplacesEachEntityByItsPartsInOneUndoStep) {
    EditorSession s;
    auto* outline = new AcDbPolyline;
    outline->addVertexAt(0, AcGePoint2d(0, 0), 0, 0, 0);
    outline->addVertexAt(1, AcGePoint2d(10, 0), 1, 0, 0);
    outline->addVertexAt(2, AcGePoint2d(10, 10), 0, 0, 0);
    outline->setLayer(L"0");
    const AcDbObjectId source = s.addEntity(outline);
    const AcDbObjectId segment = s.addSegment({0, 0, 0}, {5, 5, 0});
    const std::wstring both = L"@select " + source.handle().text() + L" " + segment.handle().text();
    s.type({L"_EXPLODE", both.c_str(), L""});
    host::runCommandLine();
    std::vector<AcDbObjectId> after = host::currentSpaceEntities();
    ASSERT_EQ(after.size(), 3u) << "the segment, which gives nothing, and the outline's line and arc";
    EXPECT_EQ(after[0], segment);
    AcDbEntity* first = nullptr;
    ASSERT_EQ(acdbOpenObject(first, after[1], AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(first->isA()->name(), L"AcDbLine");
    first->close();
    AcDbEntity* second = nullptr;
    ASSERT_EQ(acdbOpenObject(second, after[2], AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(second->isA()->name(), L"AcDbArc");
    second->close();

    s.type({L"_U"});
    host::runCommandLine();
    EXPECT_EQ(host::currentSpaceEntities(), (std::vector<AcDbObjectId>{source, segment}))
        << "one step puts the outline back and takes its parts away";
}

TEST(HostCommands, EverydayCommandsTakeTheirAnswersFromArguments) {
    EditorSession s;
    const ads_point origin = {0, 0, 0}, far = {3, 4, 0};
    EXPECT_EQ(acedCommandS(RTSTR, L"_LINE", RT3DPOINT, origin, RTSTR, L"@10,0", RTSTR, L"", RTNONE), RTNORM);
    EXPECT_EQ(acedCommandS(RTSTR, L"CIRCLE", RT3DPOINT, far, RTREAL, 2.0, RTNONE), RTNORM);
    EXPECT_EQ(acedCommandS(RTSTR, L"DIST", RT3DPOINT, origin, RT3DPOINT, far, RTNONE), RTNORM);
    EXPECT_EQ(host::currentSpaceEntities().size(), 2u) << host::toUtf8(s.transcript());
    resbuf distance{};
    ASSERT_EQ(acedGetVar(L"DISTANCE", &distance), RTNORM);
    EXPECT_EQ(distance.resval.rreal, 5.0);
    EXPECT_EQ(acedCommandS(RTSTR, L"U", RTNONE), RTNORM);
    EXPECT_EQ(host::currentSpaceEntities().size(), 1u) << "U takes the whole of the last command back";
}
