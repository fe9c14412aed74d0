// Drags: the order in which a jig hears moves, points, keywords, Enter and cancel; typed input; and a key
// filter that turns a key into a keyword while the drag runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/db/system_variables.h"
#include "host/editor/documents.h"
#include "host/editor/editor_checks.h"
#include "host/editor/win_msg_filter.h"
#include "host/entities/line.h"
#include "host/graphics/graphics_recorder.h"
#include "host/input/jig.h"
#include "host/input/text_numbers.h"
#include "tests/host/editor_test_support.h"

using host::test::EditorSession;

namespace {

class RecordingJig : public AcEdJig {
public:
    DragStatus sampler() override {
        AcGePoint3d p;
        DragStatus s = acquirePoint(p);
        if (s != kNormal) return s;
        if (p == m_last) return kNoChange;
        m_last = p;
        log.push_back(L"sample " + host::formatPoint(p));
        return kNormal;
    }
    bool update() override {
        log.push_back(L"update");
        return true;
    }
    std::vector<std::wstring> log;

private:
    AcGePoint3d m_last{-1, -1, -1};
};

std::wstring statusName(AcEdJig::DragStatus s) {
    return std::to_wstring(static_cast<int>(s));
}

// Turns End into the keyword "_GE", as the editor's key filter does during a drag.
bool endGoesToTheEnd(MSG* msg) {
    if (msg->wParam != VK_END) return false;
    if (msg->message == WM_KEYDOWN) acDocManager->sendStringToExecute(curDoc(), L"_GE\r", false, true, false);
    return true;
}

} // namespace

TEST(Jig, HearsMovesThenWhatEndsTheDrag) {
    EditorSession s;
    s.type({L"@move 1,1", L"@move 1,1", L"@move 2,2", L"5,5", L"@move 3,3", L"gt", L"", L"^C", L"free text"});
    RecordingJig jig;
    jig.setDispPrompt(L"\nPoint suivant ?");
    jig.setKeywordList(L"GTete GFin _ GH GE");
    jig.setUserInputControls(AcEdJig::UserInputControls(AcEdJig::kNullResponseAccepted));
    std::vector<std::wstring> results;
    for (int i = 0; i < 5; ++i)
        results.push_back(statusName(jig.drag()));
    EXPECT_EQ(results, (std::vector<std::wstring>{L"0", L"1", L"-1", L"-4", L"-3"}));
    std::vector<std::wstring> expected = {L"sample 1.0,1.0,0.0", L"update", L"sample 2.0,2.0,0.0", L"update",
                                          L"sample 5.0,5.0,0.0", L"update", L"sample 3.0,3.0,0.0", L"update"};
    EXPECT_EQ(jig.log, expected) << "an unchanged point is not updated";
    ACHAR typed[32];
    ASSERT_EQ(jig.acquireString(typed, 32), AcEdJig::kNormal);
    EXPECT_STREQ(typed, L"free text");
    EXPECT_EQ(jig.drag(), AcEdJig::kCancel) << "an empty queue cancels";
}

TEST(Jig, EnterIsRefusedUnlessANullResponseIsAccepted) {
    EditorSession s;
    s.type({L"", L"1,2"});
    RecordingJig jig;
    EXPECT_EQ(jig.drag(), AcEdJig::kNormal);
    EXPECT_NE(s.transcript().find(L"Point requis."), std::wstring::npos);
}

TEST(Jig, AKeyFilterTurnsAKeyIntoAKeywordDuringTheDrag) {
    EditorSession s;
    ASSERT_TRUE(acedRegisterFilterWinMsg(endGoesToTheEnd));
    s.type({L"@move 1,0", L"@key END", L"@move 9,9"});
    RecordingJig jig;
    jig.setKeywordList(L"GTete GFin _ GH GE");
    EXPECT_EQ(jig.drag(), 2) << "the keyword GFin, by its global form";
    EXPECT_EQ(host::inputQueue().size(), 2u)
        << "the key's release and the last move wait for the next prompt";
    acedRemoveFilterWinMsg(endGoesToTheEnd);
}

TEST(Jig, NothingMayBeOpenForWriteWhenADragStarts) {
    EditorSession s;
    AcDbObjectId id = s.addSegment({0, 0, 0}, {1, 0, 0});
    AcDbObject* o = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(o, id, AcDb::kForWrite), Acad::eOk);
    s.type({L"1,1"});
    RecordingJig jig;
    jig.drag();
    o->close();
    ASSERT_EQ(host::editorChecks().failures().size(), 1u);
    EXPECT_NE(host::editorChecks().failures()[0].find(L"while a drag waits"), std::wstring::npos);
}

namespace {

// A jig that drags one end of a line and remembers the points it acquired.
class LineJig : public AcEdJig {
public:
    DragStatus sampler() override {
        AcGePoint3d p;
        DragStatus s = acquirePoint(p);
        if (s == kNormal) acquired.push_back(p);
        return s;
    }
    bool update() override {
        line.setEndPoint(acquired.back());
        return true;
    }
    AcDbEntity* entity() const override { return const_cast<AcDbLine*>(&line); }
    AcDbLine line{AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)};
    std::vector<AcGePoint3d> acquired;
};

} // namespace

TEST(Jig, ACursorMovedWithSnapsTakesTheRunningSnapAndEachUpdateIsDrawn) {
    EditorSession s;
    s.addSegment({10, 10, 0}, {20, 10, 0});
    resbuf endpoints{};
    endpoints.restype = RTSHORT;
    endpoints.resval.rint = 1;
    ASSERT_EQ(acedSetVar(L"OSMODE", &endpoints), RTNORM);
    s.type({L"@move 19.5,10.2 snap", L"@move 30,30 snap", L"@move 19.5,10.2", L"^C"});
    LineJig jig;
    EXPECT_EQ(jig.drag(), AcEdJig::kCancel);
    ASSERT_EQ(jig.acquired.size(), 3u);
    EXPECT_EQ(jig.acquired[0], AcGePoint3d(20, 10, 0));
    EXPECT_EQ(jig.acquired[1], AcGePoint3d(30, 30, 0)) << "nothing within the aperture";
    EXPECT_EQ(jig.acquired[2], AcGePoint3d(19.5, 10.2, 0)) << "a plain move is not snapped";
    // The last update showed the line to the cursor.
    ASSERT_FALSE(host::lastDragFrame().empty());
    const host::Primitive& drawn = host::lastDragFrame().back();
    ASSERT_EQ(drawn.points.size(), 2u);
    EXPECT_EQ(drawn.points[1], AcGePoint3d(19.5, 10.2, 0));
}
