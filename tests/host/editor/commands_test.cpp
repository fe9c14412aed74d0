// The command stack and the command line: look-ups, the order of reactor events, locks, undo groups made by
// commands and undone by the host's UNDO, strings sent for execution, and the checks made at prompts and at
// the end of a command.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/db/system_variables.h"
#include "host/editor/command_line.h"
#include "host/editor/documents.h"
#include "host/editor/editor.h"
#include "host/editor/editor_checks.h"
#include "host/editor/editor_commands.h"
#include "host/editor/editor_variables.h"
#include "host/input/prompts.h"
#include "tests/host/editor_test_support.h"

using host::test::EditorSession;

namespace {

std::vector<std::wstring>& events() {
    static std::vector<std::wstring> list;
    return list;
}

class RecordingReactor : public AcEditorReactor {
public:
    void commandWillStart(const ACHAR* name) override {
        events().push_back(L"will start " + std::wstring(name));
    }
    void commandEnded(const ACHAR* name) override { events().push_back(L"ended " + std::wstring(name)); }
};

void recordingCommand() {
    resbuf names{};
    acedGetVar(L"CMDNAMES", &names);
    events().push_back(L"running " + std::wstring(names.resval.rstring) + L" lock " +
                       std::to_wstring(curDoc()->myLockMode()));
    acutDelString(names.resval.rstring);
}

void sendingCommand() {
    acDocManager->sendStringToExecute(curDoc(), L"FIRST\rSECOND\r");
    events().push_back(L"sent");
}

AcDbObjectId g_segment;

// Moves the segment's end inside an undo group of its own, as the editor's functions do.
void movingCommand() {
    acedCommandS(RTSTR, L"_undo", RTSTR, L"_be", RTNONE);
    TestSegment* s = nullptr;
    ASSERT_EQ(acdbOpenObject(s, g_segment, AcDb::kForWrite), Acad::eOk);
    s->extend(false, AcGePoint3d(50, 0, 0));
    s->close();
    acedCommandS(RTSTR, L"_undo", RTSTR, L"_e", RTNONE);
}

void leavesOpenCommand() {
    AcDbObject* o = nullptr;
    acdbOpenAcDbObject(o, g_segment, AcDb::kForWrite);
    ads_point p;
    acedGetPoint(nullptr, L"\nPoint: ", p);
    acDocManager->lockDocument(curDoc());
}

AcGePoint3d segmentEnd() {
    TestSegment* s = nullptr;
    EXPECT_EQ(acdbOpenObject(s, g_segment, AcDb::kForRead), Acad::eOk);
    AcGePoint3d p = s->end();
    s->close();
    return p;
}

} // namespace

TEST(CommandLine, GlobalAndLocalNames) {
    EditorSession s;
    events().clear();
    AcEdCommandStack* stack = AcEdCommandStack::cast(acrxSysRegistry()->at(L"ACAD_REGISTERED_COMMANDS"));
    ASSERT_EQ(stack, acedRegCmds);
    EXPECT_EQ(stack->addCommand(L"G1", L"MOVEIT", L"BOUGER", 0, recordingCommand), Acad::eOk);
    s.type({L"bouger", L"_moveit", L"_BOUGER", L"moveit"});
    host::runCommandLine();
    EXPECT_EQ(events().size(), 3u) << "the local name, the global one with \"_\", and the global one alone";
    EXPECT_NE(s.transcript().find(L"Commande inconnue \"_BOUGER\"."), std::wstring::npos)
        << "\"_\" looks up global names only";
    EXPECT_EQ(host::unknownCommandCount(), 1);
}

TEST(CommandLine, ReactorsHearEachCommandAroundItsRun) {
    EditorSession s;
    events().clear();
    RecordingReactor reactor;
    AcEditor* editor = AcEditor::cast(acrxSysRegistry()->at(L"AcEditor"));
    ASSERT_EQ(editor, acedEditor);
    editor->addReactor(&reactor);
    acedRegCmds->addCommand(L"T", L"REC", L"ENREG", 0, recordingCommand);
    s.type({L"enreg", L"_REC"});
    host::runCommandLine();
    std::vector<std::wstring> expected = {L"will start REC", L"running REC lock 1", L"ended REC",
                                          L"will start REC", L"running REC lock 1", L"ended REC"};
    EXPECT_EQ(events(), expected);
    EXPECT_EQ(curDoc()->myLockMode(), AcAp::kNotLocked) << "unlocked after the command";
    EXPECT_EQ(host::shortVariable(L"CMDACTIVE"), 0);
    editor->removeReactor(&reactor);
}

TEST(CommandLine, SentStringsRunRightAfterTheCommand) {
    EditorSession s;
    events().clear();
    acedRegCmds->addCommand(L"T", L"SEND", L"SEND", 0, sendingCommand);
    acedRegCmds->addCommand(L"T", L"FIRST", L"FIRST", 0, recordingCommand);
    acedRegCmds->addCommand(L"T", L"SECOND", L"SECOND", 0, recordingCommand);
    acedRegCmds->addCommand(L"T", L"THIRD", L"THIRD", 0, recordingCommand);
    s.type({L"SEND", L"THIRD"});
    host::runCommandLine();
    std::vector<std::wstring> expected = {L"sent", L"running FIRST lock 1", L"running SECOND lock 1",
                                          L"running THIRD lock 1"};
    EXPECT_EQ(events(), expected);
}

TEST(CommandLine, UnknownCommandsAreReported) {
    EditorSession s;
    s.type({L"NOSUCH"});
    host::runCommandLine();
    EXPECT_NE(s.transcript().find(L"Commande inconnue \"NOSUCH\"."), std::wstring::npos);
}

TEST(CommandLine, HostUndoTakesBackTheGroupACommandMade) {
    EditorSession s;
    g_segment = s.addSegment({0, 0, 0}, {10, 0, 0});
    acedRegCmds->addCommand(L"T", L"MOVEEND", L"MOVEEND", 0, movingCommand);
    s.type({L"MOVEEND"});
    host::runCommandLine();
    EXPECT_EQ(segmentEnd(), AcGePoint3d(50, 0, 0));
    EXPECT_EQ(s.drawing.db->undoGroupDepth(), 0);
    s.type({L"_UNDO", L"1"});
    host::runCommandLine();
    EXPECT_EQ(segmentEnd(), AcGePoint3d(10, 0, 0));
    EXPECT_TRUE(host::editorChecks().failures().empty()) << host::toUtf8(s.transcript());
}

TEST(CommandLine, ArgumentsACommandDoesNotUseAreDropped) {
    EditorSession s;
    acedRegCmds->addCommand(L"T", L"REC", L"REC", 0, recordingCommand);
    s.type({L"REC"});
    EXPECT_EQ(acedCommandS(RTSTR, L"_undo", RTSTR, L"_be", RTSTR, L"leftover", RTNONE), RTNORM);
    EXPECT_EQ(s.drawing.db->undoGroupDepth(), 1);
    s.drawing.db->endUndoGroup();
    ASSERT_EQ(host::inputQueue().size(), 1u);
    EXPECT_EQ(host::inputQueue().front()->text, L"REC") << "the user's own input stays";
    EXPECT_EQ(acedCommandS(RTSTR, L"_nosuch", RTNONE), RTERROR);
}

TEST(EditorChecks, OpenObjectsAndLocksLeftByACommandAreReported) {
    EditorSession s;
    g_segment = s.addSegment({0, 0, 0}, {10, 0, 0});
    acedRegCmds->addCommand(L"T", L"CARELESS", L"CARELESS", 0, leavesOpenCommand);
    s.type({L"CARELESS", L"1,1"});
    host::runCommandLine();
    const std::vector<std::wstring>& failures = host::editorChecks().failures();
    ASSERT_EQ(failures.size(), 3u) << host::toUtf8(s.transcript());
    EXPECT_NE(failures[0].find(L"open for write while a prompt waits"), std::wstring::npos);
    EXPECT_NE(failures[1].find(L"still open after the command CARELESS"), std::wstring::npos);
    EXPECT_NE(failures[2].find(L"1 document lock(s) left"), std::wstring::npos);
    EXPECT_EQ(curDoc()->lockDepth(), 0) << "the host took its lock back";
    AcDbObject* o = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(o, g_segment, AcDb::kForRead), Acad::eWasOpenForWrite);
    g_segment.stub()->object->close();
}

namespace {
int g_asked = 0;
void askingCommand() {
    int value = 0;
    if (acedGetInt(L"\nValeur: ", &value) == RTNORM) g_asked = value;
}
} // namespace

TEST(CommandLine, AnInputSourceFeedsPromptsAsTheyAsk) {
    EditorSession s;
    acedRegCmds->addCommand(L"T", L"ASK", L"ASK", 0, askingCommand);
    std::vector<std::wstring> typed = {L"ASK", L"12"};
    std::size_t next = 0;
    host::setInputSource([&] {
        if (next == typed.size()) return false;
        host::inputQueue().push(host::lineItem(typed[next++]));
        return true;
    });
    host::runCommandLine();
    host::setInputSource(nullptr);
    EXPECT_EQ(g_asked, 12) << "the second line was read when the command asked for it";
    EXPECT_EQ(next, typed.size());
}
