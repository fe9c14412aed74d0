// The editor reactor: the extend mode kept for exactly one command, the help sent once after the first
// command, and the TEF colours kept in the drawing across a save and an open.
#include <gtest/gtest.h>

#include "host/db/dictionary.h"
#include "host/editor/command_line.h"
#include "host/editor/editor.h"
#include "host/filing/dxf_file.h"
#include "plugin/app/command_table.h"
#include "plugin/app/edit_reactor.h"
#include "tests/plugin/application_session.h"

using plugin::test::ApplicationSession;
using plugin::test::shown;

namespace {

struct ReactorSession : ApplicationSession {
    ReactorSession() { acedEditor->addReactor(&reactor); }
    ~ReactorSession() { acedEditor->removeReactor(&reactor); }
    myeditreact reactor;
};

std::vector<std::string> storedLists(AcDbDatabase* db) {
    std::vector<std::string> lists;
    readTefColors(lists, db);
    return lists;
}

} // namespace

TEST(EditReactor, TheExtendModeHoldsForTheNextCommandOnly) {
    ReactorSession s;
    int& mode = CPolyArc3D::m_PolyArc3dCmdeFlag;
    mode = 0x102;
    s.reactor.commandWillStart(L"EXTEND");
    EXPECT_EQ(mode, 2) << "the mode set for the next command";
    s.reactor.commandWillStart(L"LINE");
    EXPECT_EQ(mode, 0) << "and no further";
    mode = 0x1FF;
    s.reactor.commandWillStart(L"EXTEND");
    EXPECT_EQ(mode, 0xFF);
}

TEST(EditReactor, TheStartupFlagSendsTheHelpOnceAfterTheFirstCommand) {
    ReactorSession s;
    registerCommands();
    s.install.removeMenus();
    g_InitFlags = kMenuToInstall;
    s.type({L"ZOR_PZ", L"ZOR_PLH", L"ZOR_PINV"});
    host::runCommandLine();
    EXPECT_EQ(shown(L"**** Liste des commandes de ZORTAPOLY ***"), 1) << "even without a menu file";
    EXPECT_NE(g_InitFlags & kInstallCommandSent, 0u);

    g_InitFlags = 0;
    s.type({L"ZOR_PZ", L"ZOR_PLH"});
    host::runCommandLine();
    EXPECT_EQ(shown(L"**** Liste des commandes de ZORTAPOLY ***"), 1) << "nothing sent without the flag";
}

TEST(TefColors, ListsFillTablesFromEntryOne) {
    ApplicationSession s;
    setTefColorList(0, "1,8,0,5");
    ASSERT_NE(tefColorTable(0), nullptr);
    EXPECT_EQ((*tefColorTable(0))[0], 0);
    EXPECT_EQ((*tefColorTable(0))[1], 1);
    EXPECT_EQ((*tefColorTable(0))[2], 8);
    EXPECT_EQ((*tefColorTable(0))[4], 5);
    EXPECT_EQ(tefColorText(0), "1,8,0,5,");
    setTefColorList(1, " 3 , 256,7,");
    EXPECT_EQ(tefColorText(1), "3,256,7,") << "blanks around numbers and a final comma";
    setTefColorList(1, "1,300,2");
    EXPECT_EQ(tefColorTable(1), nullptr) << "a colour above 256 drops the table";
    setTefColorList(1, "1,-2");
    EXPECT_EQ(tefColorTable(1), nullptr);
    setTefColorList(0, "0");
    ASSERT_NE(tefColorTable(0), nullptr);
    EXPECT_EQ(tefColorText(0), "") << "an all-zero table keeps no list";
    setTefColorList(0, "");
    EXPECT_EQ(tefColorTable(0), nullptr);
    setTefColorList(2, "1,2");
    EXPECT_EQ(tefColorTable(2), nullptr) << "only rows 0 and 1";
}

TEST(TefColors, TheLastCodeIsKept) {
    ApplicationSession s;
    std::string list;
    for (int code = 1; code <= 260; ++code)
        list += std::to_string(code % 200) + ",";
    setTefColorList(0, list.c_str());
    EXPECT_EQ((*tefColorTable(0))[255], 255 % 200) << "255 numbers at most";
    const std::string text = tefColorText(0);
    EXPECT_EQ(text.substr(text.size() - 3), "55,") << "code 255 is saved with the others";
    setTefColorList(1, text.c_str());
    EXPECT_EQ(*tefColorTable(1), *tefColorTable(0));
}

TEST(TefColors, SavedWithTheDrawingAndReadWhenItOpens) {
    ReactorSession s;
    AcDbDatabase* db = s.drawing.db.get();
    s.reactor.beginSave(db, L"plan.dxf");
    EXPECT_TRUE(storedLists(db).empty()) << "no colours, nothing written";
    setTefColorList(1, "4,0,9");
    s.reactor.beginSave(db, L"plan.dxf");
    EXPECT_EQ(storedLists(db), (std::vector<std::string>{"", "4,0,9,"}));

    host::test::TemporaryFile file(".dxf");
    ASSERT_EQ(host::writeDxfFile(*db, file.wide()), Acad::eOk);
    AcDbDatabase reopened(false, true);
    ASSERT_EQ(reopened.readDwgFile(file.wide().c_str()), Acad::eOk);
    resetTefColors();
    setTefColorList(0, "2");
    s.reactor.dwgFileOpened(&reopened, file.wide().c_str());
    EXPECT_EQ(tefColorText(0), "2,") << "a table set in this session is kept";
    EXPECT_EQ(tefColorText(1), "4,0,9,") << "an absent one takes the drawing's list";

    resetTefColors();
    s.reactor.beginSave(&reopened, L"plan.dxf");
    EXPECT_EQ(storedLists(&reopened).size(), 2u) << "both tables empty: the older record stays";
    EXPECT_EQ(writeTefColors({}, &reopened), 1);
    EXPECT_TRUE(storedLists(&reopened).empty()) << "an empty list removes the record";
}

TEST(TefColors, OnlyAnXrecordUnderTheKeyIsRead) {
    ApplicationSession s;
    AcDbDatabase* db = s.drawing.db.get();
    EXPECT_EQ(getTefDictionary("ZORTATefColor", 0, db), nullptr) << "nothing created when reading";
    EXPECT_EQ(getTefDictionary("", 1, db), nullptr);
    AcDbXrecord* record = getTefDictionary("zortatefcolor", 1, db);
    ASSERT_NE(record, nullptr) << "created when writing, the key in capitals";
    record->close();
    AcDbXrecord* again = getTefDictionary("ZORTATefColor", 0, db);
    ASSERT_NE(again, nullptr);
    again->close();
    std::vector<std::string> lists{"old"};
    EXPECT_EQ(readTefColors(lists, db), 0) << "a record without texts";
    EXPECT_TRUE(lists.empty());
}
