// The hosts the headless host stands for: what each one asks of a module, the names it registers, and the
// interfaces that differ between them (string answers, key filters, class look-up, demand-load entries, the
// double-click protocol).
#include <gtest/gtest.h>

#include <string>

#include "host/editor/command_line.h"
#include "host/editor/double_click_edit.h"
#include "host/editor/editor.h"
#include "host/editor/editor_commands.h"
#include "host/editor/win_msg_filter.h"
#include "host/entities/line.h"
#include "host/input/prompts.h"
#include "host/rx/app_info.h"
#include "host/rx/host_versions.h"
#include "host/rx/module_loader.h"
#include "host/rx/zrx_names.h"
#include "tests/host/editor_test_support.h"

using host::HostVersion;
using host::test::EditorSession;

namespace {

std::string loadError(const char* path) {
    std::string error;
    EXPECT_EQ(host::loadModule(path, error), nullptr);
    return error;
}

} // namespace

TEST(HostVersions, TheEmulatedFamilyNamesTheCommandStackAndTheEditor) {
    EditorSession s;
    AcRxDictionary* registry = acrxSysRegistry();
    host::emulateHost(HostVersion::Zrx2021);
    EXPECT_EQ(registry->at(L"ZCAD_REGISTERED_COMMANDS"), acedRegCmds);
    EXPECT_EQ(registry->at(L"ZcEditor"), acedEditor);
    EXPECT_EQ(registry->at(L"ACAD_REGISTERED_COMMANDS"), nullptr);
    EXPECT_EQ(registry->at(L"AcEditor"), nullptr);
    EXPECT_STREQ(acdbHostApplicationServices()->getMachineRegistryProductRootKey(),
                 L"Software\\ZWSOFT\\ZWCAD\\2021\\en-US");
    host::emulateHost(HostVersion::Acad2017);
    EXPECT_EQ(registry->at(L"ACAD_REGISTERED_COMMANDS"), acedRegCmds);
    EXPECT_EQ(registry->at(L"ZcEditor"), nullptr);
    EXPECT_EQ(host::emulatedHost().apiVersion, 21);
    EXPECT_EQ(host::hostVersionNamed("zrx2021"), HostVersion::Zrx2021);
    EXPECT_EQ(host::hostVersionNamed("2020"), std::nullopt);
}

TEST(HostVersions, AModuleBuiltForAnotherHostIsRefusedAndSaysForWhich) {
    EditorSession s;
    EXPECT_EQ(loadError(TEST_MODULE_2019),
              "module " TEST_MODULE_2019 " is built for AutoCAD 2019; this host emulates AutoCAD 2021");
    EXPECT_EQ(loadError(TEST_MODULE_ZRX),
              "module " TEST_MODULE_ZRX " is built for ZRX hosts; this host emulates AutoCAD 2021");
    host::emulateHost(HostVersion::Zrx2021);
    EXPECT_EQ(loadError(TEST_MODULE),
              "module " TEST_MODULE " is built for ObjectARX hosts; this host emulates ZWCAD 2021");
    std::string error;
    ASSERT_NE(host::loadModule(TEST_MODULE_ZRX, error), nullptr) << error;
    EXPECT_NE(acedRegCmds->lookupCmd(L"TESTADD"), nullptr) << "the ZRX module registered through zc names";
    EXPECT_TRUE(host::loadedModules().size() == 1);
}

TEST(HostVersions, ASecondLoadOfTheSameModuleIsRefusedAndTheFirstStays) {
    EditorSession s;
    std::string error;
    host::Module* first = host::loadModule(TEST_MODULE, error);
    ASSERT_NE(first, nullptr) << error;
    EXPECT_EQ(loadError(TEST_MODULE), "module " TEST_MODULE " is already loaded (as " TEST_MODULE ")");
    ASSERT_EQ(host::loadedModules().size(), 1u);
    EXPECT_NE(acedRegCmds->lookupCmd(L"TESTADD"), nullptr);
    EXPECT_TRUE(host::unloadModule(first));
    EXPECT_EQ(acrxFindAcRxClass(L"TestPoint"), nullptr) << "unloaded once, really gone";
}

TEST(HostVersions, TheClassDictionaryFollowsRegistrations) {
    EXPECT_EQ(AcRxClass::cast(acrxClassDictionary->at(L"AcDbLine")), AcDbLine::desc());
    AcRxClass* c = newAcRxClass(L"DictionaryProbe", L"AcDbLine", 0, 0, 0, nullptr);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(acrxClassDictionary->at(L"DictionaryProbe"), c);
    EXPECT_EQ(deleteAcRxClass(c), Acad::eOk);
    EXPECT_EQ(acrxClassDictionary->at(L"DictionaryProbe"), nullptr);
}

TEST(HostVersions, StringAnswersInEachHostsForm) {
    EditorSession s;
    const std::wstring longText(300, L'x');
    const std::wstring limit(kUnsizedStringUnits - 1, L'y');
    s.type(
        {longText.c_str(), L"Nom Fichier", L"huit car", L"sept ca", (limit + L"z").c_str(), limit.c_str()});
    AcString any;
    ASSERT_EQ(acedGetString(0, L"\nTexte: ", any), RTNORM);
    EXPECT_EQ(any.length(), 300) << "an AcString takes any length";
    ASSERT_EQ(acedGetString(1, L"\nTexte: ", any), RTNORM);
    EXPECT_STREQ(any.kwszPtr(), L"Nom Fichier");
    ACHAR buffer[8];
    ASSERT_EQ(acedGetFullString(1, L"\nTexte: ", buffer, 8), RTNORM);
    EXPECT_STREQ(buffer, L"sept ca") << "eight characters do not fit eight units with the terminator";
    EXPECT_NE(s.transcript().find(L"Le texte dépasse 7 caractères."), std::wstring::npos);
    EXPECT_EQ(acedGetFullString(1, L"\nTexte: ", buffer, 0), RTERROR);
    ACHAR unsized[kUnsizedStringUnits];
    ASSERT_EQ(zcedGetString(0, L"\nTexte: ", unsized), RTNORM);
    EXPECT_EQ(std::wstring(unsized), limit) << "the unsized form refused one character more";
}

namespace {
int swallowsEscape(MSG* msg) {
    return msg->wParam == VK_ESCAPE ? 2 : 0;
}
bool swallowsDelete(MSG* msg) {
    return msg->wParam == VK_DELETE;
}
} // namespace

TEST(HostVersions, FiltersAnsweringIntOrBoolSwallowKeysAlike) {
    EditorSession s;
    ASSERT_TRUE(acedRegisterFilterWinMsg(swallowsEscape));
    EXPECT_FALSE(acedRegisterFilterWinMsg(swallowsEscape));
    ASSERT_TRUE(acedRegisterFilterWinMsg(swallowsDelete));
    EXPECT_TRUE(host::offerKeyEvent(VK_ESCAPE, true, 0)) << "any non-zero int swallows";
    EXPECT_TRUE(host::offerKeyEvent(VK_DELETE, true, 0));
    EXPECT_FALSE(host::offerKeyEvent(VK_HOME, true, 0));
    EXPECT_TRUE(acedRemoveFilterWinMsg(swallowsEscape));
    EXPECT_FALSE(host::offerKeyEvent(VK_ESCAPE, true, 0));
    EXPECT_EQ(host::filterCount(), 1);
}

TEST(HostVersions, DemandLoadEntriesBelongToANamedApplication) {
    EditorSession s;
    AcadAppInfo info;
    EXPECT_EQ(info.writeToRegistry(), AcadApp::eInvalidKey);
    info.setAppName(L"TestApp");
    EXPECT_EQ(info.writeGroupNameToRegistry(L"G"), AcadApp::eKeyNotFound) << "no entry yet";
    info.setModuleName(L"/opt/test.so");
    info.setLoadReason(AcadApp::kOnCommandInvocation);
    ASSERT_EQ(info.writeToRegistry(), AcadApp::eOk);
    EXPECT_EQ(info.writeGroupNameToRegistry(L"G"), AcadApp::eOk);
    EXPECT_EQ(info.writeCommandNameToRegistry(L"CMD", L"COMMANDE"), AcadApp::eOk);
    const host::ApplicationEntry& entry = host::applicationEntries().at(L"TestApp");
    EXPECT_EQ(entry.module, L"/opt/test.so");
    EXPECT_EQ(entry.loadReasons, AcadApp::kOnCommandInvocation);
    ASSERT_EQ(entry.commands.size(), 1u);
    EXPECT_EQ(entry.commands[0].second, L"COMMANDE");
    ASSERT_EQ(info.writeToRegistry(), AcadApp::eOk);
    EXPECT_TRUE(host::applicationEntries().at(L"TestApp").groups.empty()) << "written again from the start";
}

namespace {
struct EditLine : AcDbDoubleClickEdit {
    void startEdit(AcDbEntity* entity, AcGePoint3d picked) override {
        openForRead = entity->isReadEnabled() && !entity->isWriteEnabled();
        at = picked;
        entity->close();
    }
    void finishEdit() override { finished = true; }
    bool openForRead = false;
    bool finished = false;
    AcGePoint3d at;
};
} // namespace

TEST(HostVersions, ADoubleClickGoesToTheExtensionOfTheEntitysClass) {
    EditorSession s;
    AcDbObjectId line = s.addSegment(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
    EXPECT_FALSE(host::doubleClickEntity(line, AcGePoint3d(5, 0, 0))) << "no extension";
    EditLine edit;
    AcRxClass* segment = AcDbCurve::desc();
    segment->addX(AcDbDoubleClickEdit::desc(), &edit);
    EXPECT_TRUE(host::doubleClickEntity(line, AcGePoint3d(5, 0, 0)));
    EXPECT_TRUE(edit.openForRead);
    EXPECT_TRUE(edit.finished);
    EXPECT_EQ(edit.at, AcGePoint3d(5, 0, 0));

    // The same from a script at the command prompt; a click where the line is not drawn hits nothing.
    const std::wstring handle = line.handle().text();
    const std::wstring onTheLine = L"@dblclick " + handle + L" 7,0", away = L"@dblclick " + handle + L" 7,50";
    s.type({onTheLine.c_str(), away.c_str()});
    host::runCommandLine();
    EXPECT_EQ(edit.at, AcGePoint3d(7, 0, 0));
    segment->delX(AcDbDoubleClickEdit::desc());
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(acdbOpenObject(entity, line, AcDb::kForWrite), Acad::eOk) << "the extension closed it";
    entity->close();
}
