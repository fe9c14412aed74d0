// Lines typed into the host's window (@typed), and the transparent zoom that the editor program types into
// a running command's prompt.
#include <gtest/gtest.h>

#include "host/db/system_variables.h"
#include "host/editor/command_line.h"
#include "host/editor/editor_variables.h"
#include "host/input/prompts.h"
#include "host/input/script_line.h"
#include "host/input/typed_input.h"
#include "tests/host/editor_test_support.h"

using host::test::EditorSession;

namespace {

AcGePoint3d viewCentre() {
    resbuf value{};
    EXPECT_EQ(acedGetVar(L"VIEWCTR", &value), RTNORM);
    return AcGePoint3d(value.resval.rpoint[0], value.resval.rpoint[1], value.resval.rpoint[2]);
}

std::size_t count(const std::wstring& text, const std::wstring& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Answers each wait with the items of `text`, as a window would have received them.
struct FakeWindow {
    explicit FakeWindow(std::wstring text) {
        host::setTypedLinesSource([this, text](int lines, int waitMs) {
            asked.push_back({lines, waitMs});
            return host::typedItems(text);
        });
    }
    ~FakeWindow() { host::setTypedLinesSource(nullptr); }
    std::vector<std::pair<int, int>> asked;
};

} // namespace

TEST(TransparentZoom, RunsInsideAPointPromptWhichThenAsksAgain) {
    EditorSession s;
    const double height = host::realVariable(L"VIEWSIZE");
    s.type({L"'_zoom", L"c", L"1250.5,3320.25,101.7", L"", L"7,8"});
    ads_point picked;
    EXPECT_EQ(acedGetPoint(nullptr, L"\nPoint de départ: ", picked), RTNORM);
    EXPECT_DOUBLE_EQ(picked[0], 7);
    EXPECT_DOUBLE_EQ(picked[1], 8);
    EXPECT_TRUE(viewCentre().isEqualTo(AcGePoint3d(1250.5, 3320.25, 101.7)));
    EXPECT_DOUBLE_EQ(host::realVariable(L"VIEWSIZE"), height) << "Enter keeps the height";
    EXPECT_EQ(count(s.transcript(), L"Point de départ: "), 2u) << host::toUtf8(s.transcript());
}

TEST(TransparentZoom, TakesAHeightRefusesOtherCommandsAndCancels) {
    EditorSession s;
    s.type({L"'zoom", L"_c", L"1,2", L"25", L"'MOVE", L"'zoom", L"c", L"^C", L"3,4"});
    ads_point picked;
    EXPECT_EQ(acedGetPoint(nullptr, L"\nPoint: ", picked), RTNORM);
    EXPECT_DOUBLE_EQ(picked[0], 3);
    EXPECT_DOUBLE_EQ(host::realVariable(L"VIEWSIZE"), 25);
    EXPECT_TRUE(viewCentre().isEqualTo(AcGePoint3d(1, 2, 0))) << "the cancelled zoom changed nothing";
    EXPECT_NE(s.transcript().find(L"ne peut pas être utilisée de manière transparente"), std::wstring::npos);
}

TEST(TypedLines, AnswerThePromptsThatFollowTheWait) {
    EditorSession s;
    FakeWindow window(L"'_zoom\nc\n5,6\n\n");
    s.type({L"@typed 4 2000", L"9,9"});
    ads_point picked;
    EXPECT_EQ(acedGetPoint(nullptr, L"\nPoint: ", picked), RTNORM);
    EXPECT_DOUBLE_EQ(picked[0], 9);
    EXPECT_TRUE(viewCentre().isEqualTo(AcGePoint3d(5, 6, 0)));
    ASSERT_EQ(window.asked.size(), 1u);
    EXPECT_EQ(window.asked[0], std::make_pair(4, 2000));
}

TEST(TypedLines, ATimeOutOrNoWindowAnswersCancelAndSaysSo) {
    EditorSession s;
    ads_point picked;
    {
        FakeWindow window(L"");
        s.type({L"@typed", L"1,1"});
        EXPECT_EQ(acedGetPoint(nullptr, L"\nPoint: ", picked), RTCAN);
        EXPECT_EQ(window.asked[0], std::make_pair(1, host::kDefaultTypedWaitMs));
        EXPECT_NE(s.transcript().find(L"0 ligne(s) tapée(s) sur 1"), std::wstring::npos);
    }
    EXPECT_EQ(acedGetPoint(nullptr, L"\nPoint: ", picked), RTNORM) << "what followed the wait is kept";
    s.type({L"@typed 2 10"});
    EXPECT_EQ(acedGetPoint(nullptr, L"\nPoint: ", picked), RTCAN);
    EXPECT_NE(s.transcript().find(L"aucune fenêtre"), std::wstring::npos);
}

TEST(TypedLines, BadWaitLinesAreRefused) {
    std::vector<host::InputItem> items;
    std::wstring error;
    EXPECT_FALSE(host::parseScriptLine(L"@typed 0", items, error));
    EXPECT_FALSE(host::parseScriptLine(L"@typed 2 -5", items, error));
    EXPECT_FALSE(host::parseScriptLine(L"@typed x", items, error));
    EXPECT_NE(error.find(L"@typed [LINES] [MS]"), std::wstring::npos);
    EXPECT_TRUE(items.empty());
}
