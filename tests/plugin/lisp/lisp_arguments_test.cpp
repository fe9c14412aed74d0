// The argument reader of the LISP functions: list items one by one, selection sets member by member from
// the last with the progress meter, the null name; and what the other LISP functions make of it.
#include "tests/plugin/lisp/lisp_call.h"

#include "cadutil/database/tef_color_tables.h"
#include "host/editor/status_bar.h"
#include "host/selection/selection_sets.h"
#include "plugin/lisp/lisp_arguments.h"

using namespace plugin::test;

namespace {

struct ArgumentReader : LispSession {
    // A selection set of `n` new segments, and their names in the set's order.
    LispValue selectionOf(int n, std::vector<AcDbObjectId>& members) {
        std::vector<host::SelectionMember> chosen;
        for (int i = 0; i < n; ++i) {
            members.push_back(session.addSegment({double(i), 0, 0}, {double(i), 1, 0}));
            chosen.push_back(host::chosenMember(members.back()));
        }
        ads_name ss;
        host::newSelectionSet(chosen, ss);
        return LispValue::fromName(ss, LispValue::PickSet);
    }

    // Reads every argument of `args`: the ids of the names read, until RTNIL.
    std::vector<AcDbObjectId> readNames(const std::vector<LispValue>& args, const char* title = nullptr) {
        resbuf* chain = host::toResbufs(args);
        startLispCall(chain);
        g_lispCall.progressTitle = title;
        std::vector<AcDbObjectId> read;
        const void* value = nullptr;
        for (int type; (type = lisp_nextarg(value)) != RTNIL;) {
            EXPECT_EQ(type, RTENAME);
            AcDbObjectId id;
            acdbGetObjectId(id, static_cast<const Adesk::Int64*>(value));
            read.push_back(id);
        }
        EXPECT_EQ(value, nullptr);
        endLispCall();
        acutRelRb(chain);
        return read;
    }
};

TEST_F(ArgumentReader, ASelectionSetGivesItsMembersLastToFirstBetweenTheOtherArguments) {
    std::vector<AcDbObjectId> members;
    const LispValue set = selectionOf(3, members);
    const AcDbObjectId before = session.addSegment({9, 9, 0}, {8, 8, 0});
    const std::vector<AcDbObjectId> read = readNames({nameOf(before), set, list({nameOf(before)})});
    ASSERT_EQ(read.size(), 5u) << "the set's three members and the name inside a list";
    EXPECT_EQ(read[0], before);
    EXPECT_EQ(read[1], members[2]);
    EXPECT_EQ(read[2], members[1]);
    EXPECT_EQ(read[3], members[0]);
    EXPECT_EQ(read[4], before);
    EXPECT_TRUE(host::statusBarLog().empty()) << "no title, no meter";
}

TEST_F(ArgumentReader, WithATitleTheMeterMovesEveryTenMembers) {
    std::vector<AcDbObjectId> members;
    const LispValue set = selectionOf(25, members);
    EXPECT_EQ(readNames({set}, "Lecture").size(), 25u);
    const std::vector<host::MeterEvent>& log = host::statusBarLog();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0].kind, host::MeterEvent::Shown);
    EXPECT_EQ(log[0].label, L"Lecture");
    EXPECT_EQ(log[0].last, 25);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(log[i].kind, host::MeterEvent::Moved);
        EXPECT_EQ(log[i].first, 10 * i - 5) << "members read when the count left is a multiple of 10";
    }
    EXPECT_EQ(log[4].kind, host::MeterEvent::Restored);
}

TEST_F(ArgumentReader, ACallEndedInsideASetTakesTheMeterAway) {
    std::vector<AcDbObjectId> members;
    const LispValue set = selectionOf(12, members);
    // ZOR_VertexCount reads one name: the set's last member, a segment.
    resbuf* chain = host::toResbufs({set});
    startLispCall(chain);
    g_lispCall.progressTitle = "Comptage";
    const void* value = nullptr;
    EXPECT_EQ(lisp_nextarg(value), RTENAME);
    endLispCall();
    acutRelRb(chain);
    ASSERT_FALSE(host::statusBarLog().empty());
    EXPECT_EQ(host::statusBarLog().back().kind, host::MeterEvent::Restored);
}

TEST_F(ArgumentReader, TheNameOfAllOnesIsTheNullNameAndTextsComeNarrowed) {
    const ads_name allOnes = {0, -1};
    resbuf* chain = host::toResbufs({LispValue::fromName(allOnes), text(L"abc")});
    startLispCall(chain);
    const void* value = nullptr;
    ASSERT_EQ(lisp_nextarg(value), RTENAME);
    EXPECT_EQ(static_cast<const Adesk::Int64*>(value)[1], 0);
    ASSERT_EQ(lisp_nextarg(value), RTSTR);
    EXPECT_STREQ(static_cast<const char*>(value), "abc");
    endLispCall();
    acutRelRb(chain);
}

TEST_F(ArgumentReader, SetTefColorTakesARowAndAText) {
    EXPECT_EQ(callLisp(L"ZOR_SetTefColor", {integer(0), text(L"1,8,0,5")}).integer, 1);
    EXPECT_EQ(tefColorText(0), "1,8,0,5,");
    EXPECT_EQ(callLisp(L"ZOR_SetTefColor", {text(L"3")}).integer, 1);
    EXPECT_EQ(tefColorText(1), "3,") << "row 1 by default";
    EXPECT_TRUE(callLisp(L"ZOR_SetTefColor", {integer(0)}).isNil());
    EXPECT_EQ(tefColorText(0), "1,8,0,5,");
}

} // namespace
