// Modules loaded in the process: what they register, their lock, and what unloading takes back.
#include <gtest/gtest.h>

#include "host/editor/editor.h"
#include "host/editor/editor_commands.h"
#include "host/rx/module_loader.h"
#include "host/rx/rx.h"

TEST(Modules, LoadRegisterLockAndUnload) {
    std::string error;
    host::Module* module = host::loadModule(TEST_MODULE, error);
    ASSERT_NE(module, nullptr) << error;
    EXPECT_NE(acrxFindAcRxClass(L"TestPoint"), nullptr);
    EXPECT_NE(acedRegCmds->lookupCmd(L"_TESTADD"), nullptr);
    EXPECT_EQ(acedRegCmds->lookupCmd(L"ajoute"), acedRegCmds->lookupCmd(L"TESTADD")) << "local name";
    EXPECT_TRUE(acrxServiceIsRegistered(L"TestService"));
    std::string name = std::string(TEST_MODULE).substr(std::string(TEST_MODULE).find_last_of('/') + 1);
    std::wstring wide(name.begin(), name.end());
    EXPECT_FALSE(acrxApplicationIsLocked(wide.c_str())) << "the module unlocked itself at initialisation";
    EXPECT_TRUE(acrxLockApplication(module));
    EXPECT_TRUE(acrxApplicationIsLocked(wide.c_str()));
    EXPECT_FALSE(host::unloadModule(module)) << "a locked module stays";
    EXPECT_TRUE(acrxUnlockApplication(module));
    EXPECT_TRUE(host::unloadModule(module));
    EXPECT_TRUE(host::loadedModules().empty());
    EXPECT_EQ(acrxFindAcRxClass(L"TestPoint"), nullptr);
    EXPECT_EQ(acedRegCmds->lookupCmd(L"TESTADD"), nullptr);
    EXPECT_TRUE(acedEditor->reactors().empty());
    EXPECT_FALSE(acrxServiceIsRegistered(L"TestService"));
    int unknownPacket = 0;
    EXPECT_FALSE(acrxUnlockApplication(&unknownPacket)) << "a packet the host never gave";
}

TEST(Modules, WhatCannotBeLoadedIsExplained) {
    std::string error;
    EXPECT_EQ(host::loadModule("/nonexistent/module.so", error), nullptr);
    EXPECT_NE(error.find("cannot load module /nonexistent/module.so"), std::string::npos) << error;
    EXPECT_EQ(host::loadModule(HOST_LIBRARY, error), nullptr);
    EXPECT_NE(error.find("has no entry point"), std::string::npos) << error;
    EXPECT_TRUE(host::loadedModules().empty());
}

TEST(CommandStack, NamesAreUniqueAndGroupsGoTogether) {
    auto nothing = [] {};
    EXPECT_EQ(acedRegCmds->addCommand(L"G1", L"ONE", L"UN", 0, nothing), Acad::eOk);
    EXPECT_EQ(acedRegCmds->addCommand(L"G2", L"one", L"AUTRE", 0, nothing), Acad::eDuplicateKey);
    EXPECT_EQ(acedRegCmds->addCommand(L"G1", L"TWO", nullptr, 0, nothing), Acad::eOk);
    EXPECT_EQ(acedRegCmds->addCommand(L"G1", L"THREE", L"TROIS", 0, nullptr), Acad::eInvalidInput);
    EXPECT_STREQ(acedRegCmds->lookupCmd(L"TWO")->localName(), L"TWO") << "no local name: the global one";
    EXPECT_EQ(acedRegCmds->lookupCmd(L"_UN"), nullptr) << "an underscore asks for a global name";
    EXPECT_EQ(acedRegCmds->removeCmd(L"G1", L"ONE"), Acad::eOk);
    EXPECT_EQ(acedRegCmds->removeCmd(L"G1", L"ONE"), Acad::eKeyNotFound);
    EXPECT_EQ(acedRegCmds->removeGroup(L"g1"), Acad::eOk);
    EXPECT_EQ(acedRegCmds->lookupCmd(L"TWO"), nullptr);
    EXPECT_EQ(acedRegCmds->removeGroup(L"G1"), Acad::eKeyNotFound);
}

namespace {
struct Counting : AcEditorReactor {
    void commandEnded(const ACHAR*) override {
        ++ended;
        if (leaveOnFirst) acedEditor->removeReactor(this);
    }
    int ended = 0;
    bool leaveOnFirst = false;
};
} // namespace

TEST(EditorReactors, AReactorMayLeaveWhileBeingTold) {
    Counting stays, leaves;
    leaves.leaveOnFirst = true;
    acedEditor->addReactor(&leaves);
    acedEditor->addReactor(&stays);
    acedEditor->addReactor(&stays);
    acedEditor->fireCommandEnded(L"LINE");
    acedEditor->fireCommandEnded(L"LINE");
    EXPECT_EQ(leaves.ended, 1);
    EXPECT_EQ(stays.ended, 2) << "added once, told once per event";
    acedEditor->removeReactor(&stays);
    EXPECT_TRUE(acedEditor->reactors().empty());
}
