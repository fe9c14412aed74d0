// The plug-in modules in the host: what loading one registers, what unloading leaves (nothing), the start-up
// flag, the five builds each in its own host, and what the host does with bad input.
#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

#include "host/editor/command_line.h"
#include "host/editor/double_click_edit.h"
#include "host/editor/editor.h"
#include "host/editor/editor_commands.h"
#include "host/editor/menus.h"
#include "host/filing/file_bytes.h"
#include "host/lisp/lisp_functions.h"
#include "host/rx/app_info.h"
#include "host/rx/host_versions.h"
#include "host/rx/module_loader.h"
#include "platform/settings/registry.h"
#include "services/startup/fvar.h"
#include "tests/host/editor_test_support.h"
#include "tests/plugin/install_folder.h"
#include "tests/plugin/transcript.h"
#include "tests/support/program_run.h"

using host::HostVersion;
using plugin::test::shown;

namespace {

constexpr int kPluginLoaded = 4;

struct ModuleSession : host::test::EditorSession {
    // Loads the module and tells it that the drawing is loaded; null (the test failed) when it cannot.
    host::Module* load(const char* path) {
        std::string error;
        host::Module* module = host::loadModule(path, error);
        EXPECT_NE(module, nullptr) << error;
        if (module) host::sendToModule(module, AcRx::kLoadDwgMsg);
        return module;
    }
    void run(std::initializer_list<const wchar_t*> lines) {
        type(lines);
        host::runCommandLine();
    }
    plugin::test::InstallFolder install;
};

std::string startupKey() {
    std::string key;
    for (const ACHAR* c = host::emulatedHost().productRootKey; *c; ++c)
        key += static_cast<char>(*c);
    return key + "\\Applications\\ZORTAPOLYApp";
}

void expectEverythingRegistered() {
    AcRxClass* polyArc = acrxFindAcRxClass(L"PolyArc3D");
    ASSERT_NE(polyArc, nullptr);
    EXPECT_NE(polyArc->queryX(AcDbDoubleClickEdit::desc()), nullptr);
    EXPECT_EQ(acedRegCmds->commandCount(), 19);
    EXPECT_EQ(acedEditor->reactors().size(), 1u);
    EXPECT_TRUE(acrxServiceIsRegistered(L"ZortaPoly"));
    EXPECT_EQ(host::definedFunctions().size(), 21u);
    EXPECT_TRUE(host::isLispFunctionDefined(L"ZOR_FromEntity"));
    EXPECT_EQ(vfVar.pluginFlags & kPluginLoaded, kPluginLoaded);
    EXPECT_TRUE(host::applicationEntries().contains(L"ZORTAPOLYApp"));
}

void expectNothingLeft() {
    EXPECT_TRUE(host::moduleClasses().empty());
    EXPECT_EQ(acrxClassDictionary->at(L"PolyArc3D"), nullptr);
    EXPECT_EQ(acedRegCmds->commandCount(), 0);
    EXPECT_TRUE(acedEditor->reactors().empty());
    EXPECT_EQ(acrxServiceDictionary()->numEntries(), 0);
    EXPECT_TRUE(host::definedFunctions().empty());
    EXPECT_FALSE(acedIsMenuGroupLoaded(L"ZORTAPOLY"));
    EXPECT_EQ(vfVar.pluginFlags & kPluginLoaded, 0);
}

using Outcome = testing_support::ProgramRun;

Outcome zhost(const std::string& arguments, const std::string& environment) {
    return testing_support::runProgram(environment + " " ZHOST_PROGRAM " " + arguments);
}

} // namespace

TEST(Module, UnloadLeavesNothingAndAReloadRestoresEverything) {
    ModuleSession s;
    for (int round = 0; round < 2; ++round) {
        host::Module* module = s.load(MODULE_2021);
        ASSERT_NE(module, nullptr);
        expectEverythingRegistered();
        s.run({L"ZORTAPOLY", L"(ZOR_VGET 1)"});
        EXPECT_TRUE(acedIsMenuGroupLoaded(L"ZORTAPOLY"));
        EXPECT_EQ(shown(L"**** Liste des fONCTIONS ***"), round + 1);
        host::sendToModule(module, AcRx::kUnloadDwgMsg);
        EXPECT_TRUE(host::definedFunctions().empty()) << "undefined with the drawing";
        host::sendToModule(module, AcRx::kLoadDwgMsg);
        EXPECT_EQ(host::definedFunctions().size(), 21u) << "defined again for the next drawing";
        EXPECT_TRUE(host::unloadModule(module)) << "the module unlocked itself";
        expectNothingLeft();
    }
}

TEST(Module, TheStartupFlagQueuesTheHelpOnceWhenTheFirstCommandEnds) {
    ModuleSession s;
    using namespace platform::registry;
    ASSERT_TRUE(setValue(Hive::LocalMachine, startupKey(), "INITZORTAPOLY", Value::dword(1)));
    s.install.removeMenus();
    ASSERT_NE(s.load(MODULE_2021), nullptr);
    EXPECT_FALSE(queryValue(Hive::LocalMachine, startupKey(), "INITZORTAPOLY")) << "deleted at once";
    s.run({L"ZOR_PZ", L"ZOR_PLH", L"ZOR_PINV"});
    EXPECT_EQ(shown(L"**** Liste des commandes de ZORTAPOLY ***"), 1);
    EXPECT_EQ(shown(L"Commande: ZORTAPOLY"), 1);
    host::unloadAllModules();

    ASSERT_NE(s.load(MODULE_2021), nullptr);
    s.run({L"ZOR_PZ", L"ZOR_PLH"});
    EXPECT_EQ(shown(L"Commande: ZORTAPOLY"), 1) << "without the value nothing more is sent";
}

TEST(Module, EachBuildLoadsIntoItsOwnHostOnly) {
    const std::pair<HostVersion, const char*> builds[] = {{HostVersion::Acad2017, MODULE_2017},
                                                          {HostVersion::Acad2018, MODULE_2018},
                                                          {HostVersion::Acad2019, MODULE_2019},
                                                          {HostVersion::Acad2021, MODULE_2021},
                                                          {HostVersion::Zrx2021, MODULE_ZRX2021}};
    ModuleSession s;
    for (const auto& [host, hostModule] : builds) {
        host::emulateHost(host);
        for (const auto& [built, path] : builds) {
            std::string error;
            host::Module* module = host::loadModule(path, error);
            if (built != host) {
                EXPECT_EQ(module, nullptr) << path << " in " << host::hostFacts(host).product;
                EXPECT_NE(error.find(" is built for "), std::string::npos) << error;
                EXPECT_TRUE(host::moduleClasses().empty()) << "nothing of a refused module stays";
                continue;
            }
            ASSERT_NE(module, nullptr) << error;
            host::sendToModule(module, AcRx::kLoadDwgMsg);
            expectEverythingRegistered();
            s.run({L"ZOR_?"});
            EXPECT_EQ(shown(L"\nZOR_SDNC : 0 Appliquer Table Carto "), 1) << path;
            host::unloadAllModules();
            expectNothingLeft();
            host::clearCommandLineTranscript();
        }
    }
}

TEST(Module, ASecondLoadIsRefusedAndTheFirstGoesOn) {
    ModuleSession s;
    ASSERT_NE(s.load(MODULE_2021), nullptr);
    std::string error;
    EXPECT_EQ(host::loadModule(MODULE_2021, error), nullptr);
    EXPECT_NE(error.find("is already loaded"), std::string::npos) << error;
    expectEverythingRegistered();
    s.run({L"ZORTAPOLY"});
    EXPECT_EQ(shown(L"**** Liste des commandes de ZORTAPOLY ***"), 1);
}

TEST(Module, BadSettingsAndAMissingMenuAreReportedAndTheHostGoesOn) {
    ModuleSession s;
    s.install.writeSettings("[TAVRO]\nTAVROPOLY=oui\n");
    s.install.removeMenus();
    ASSERT_NE(s.load(MODULE_2021), nullptr);
    EXPECT_NE(s.transcript().find(L"TAVROPOLY='oui'"), std::wstring::npos);
    EXPECT_EQ(acrxFindAcRxClass(L"tavro_poly"), nullptr);
    s.run({L"ZORTAPOLY", L"ZOR_PMOD"});
    EXPECT_EQ(shown(L"*** Menu ZORTAPOLY introuvable"), 1);
    EXPECT_EQ(shown(L"**** Liste des commandes de ZORTAPOLY ***"), 1);
    EXPECT_EQ(host::unknownCommandCount(), 0);
    host::unloadAllModules();
    expectNothingLeft();

    s.install.writeSettings("[TAVRO]\nTAVROPOLY=1\n");
    ASSERT_NE(s.load(MODULE_2021), nullptr);
    EXPECT_NE(acrxFindAcRxClass(L"tavro_poly"), nullptr);
    host::unloadAllModules();
    expectNothingLeft();
}

TEST(Module, ZhostOpensTheSurveyPlanWithThePluginAndRefusesAnotherHostsBuild) {
    plugin::test::InstallFolder install;
    host::test::TemporaryFile saved(".dxf");
    const std::string environment = "ZORTA_NAMESPACE=zhost_plugin_" + std::to_string(getpid()) +
                                    "_ ZORTA=" + install.root.path() + "/install/";
    Outcome session = zhost(EXAMPLES "/survey_polylines.dxf --load " MODULE_2021 " --script " EXAMPLES
                                     "/zortapoly_session.scr --save " +
                                saved.path,
                            environment);
    EXPECT_EQ(session.status, 0) << session.output;
    EXPECT_NE(session.output.find("ZOR_FromEntity : "), std::string::npos) << session.output;
    const std::string dxf = host::readFileBytes(saved.wide()).value_or("");
    EXPECT_NE(dxf.find("\nZORTA\n"), std::string::npos) << "the plug-in's application name is registered";
    std::size_t polylines = 0;
    for (std::size_t at = dxf.find("  0\nZORTAPOLY\n"); at != std::string::npos;
         at = dxf.find("  0\nZORTAPOLY\n", at + 1))
        ++polylines;
    EXPECT_EQ(polylines, 5u) << "the polylines are read and saved again";

    Outcome refused = zhost("--host 2019 --load " MODULE_2021, environment);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.output.find("is built for AutoCAD 2021; this host emulates AutoCAD 2019"),
              std::string::npos)
        << refused.output;
}
