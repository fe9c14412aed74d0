// The command ZORTAPOLY: the listing of every command and LISP function, the menu it installs, and the help
// topics that commands register.
#include <gtest/gtest.h>

#include "cadutil/resbuf/text_convert.h"
#include "host/db/system_variables.h"
#include "host/editor/command_line.h"
#include "host/editor/editor_commands.h"
#include "host/editor/menus.h"
#include "host/lisp/lisp_functions.h"
#include "platform/files/path_map.h"
#include "plugin/app/command_table.h"
#include "plugin/app/help.h"
#include "plugin/app/lisp_table.h"
#include "services/settings/folders.h"
#include "tests/plugin/application_session.h"

using plugin::test::ApplicationSession;
using plugin::test::shown;

namespace {

// The lines of the transcript between a heading and the end marker that follows it.
std::vector<std::wstring> listing(const std::wstring& transcript, const std::wstring& heading) {
    std::vector<std::wstring> lines;
    std::size_t at = transcript.find(heading);
    const std::size_t end = transcript.find(L"\n**** Fin Functions ZORTA ***", at);
    for (at = transcript.find(L'\n', at); at != std::wstring::npos && at < end;
         at = transcript.find(L'\n', at + 1))
        lines.push_back(transcript.substr(at + 1, transcript.find(L'\n', at + 1) - at - 1));
    return lines;
}

bool menuLog(std::initializer_list<const wchar_t*> expected) {
    return host::menuCommandLog() == std::vector<std::wstring>(expected.begin(), expected.end());
}

short menuBar() {
    resbuf value{};
    acedGetVar(L"MENUBAR", &value);
    return value.resval.rint;
}

} // namespace

TEST(Help, ListsEveryCommandAndEveryLispFunctionToTheLastRow) {
    ApplicationSession s;
    registerCommands();
    s.type({L"ZORTAPOLY"});
    host::runCommandLine();
    const std::vector<std::wstring> commands =
        listing(s.transcript(), L"**** Liste des commandes de ZORTAPOLY ***");
    ASSERT_EQ(commands.size(), 19u);
    EXPECT_EQ(commands.front(), L"ZORTAPOLY : 0 *Aide sur les fonctions de saisie ");
    EXPECT_EQ(commands[8], L"ZOR_PCONVERT : 6 Conversion de ZORTAPOLY en Autocad et inversement ");
    EXPECT_EQ(commands.back(), L"ZOR_SDNC : 0 Appliquer Table Carto ") << "the last row is listed too";
    const std::vector<std::wstring> functions = listing(s.transcript(), L"**** Liste des fONCTIONS ***");
    ASSERT_EQ(functions.size(), 21u);
    EXPECT_EQ(functions.front(), L"C:ZOR_? : Aide sur les fonctions de saisie ");
    EXPECT_EQ(functions.back(),
              L"ZOR_FromEntity : (ZOR_FromEntity ENAME): Entite 3Dpoly/LWpoly/TAVROPOLY..>>ZORTAPOLY ");
}

TEST(Help, InstallsTheMenuOnceFromTheInstallFolder) {
    ApplicationSession s;
    g_InitFlags = kMenuToInstall;
    c_help();
    EXPECT_TRUE(acedIsMenuGroupLoaded(L"ZORTAPOLY"));
    EXPECT_EQ(g_InitFlags & kMenuToInstall, 0u);
    EXPECT_TRUE(menuLog({L"P20=+ZORTAPOLY.POP1", L"P50=+ZORTAPOLY.POP1"}));
    EXPECT_EQ(menuBar(), 1);
    c_help();
    EXPECT_TRUE(menuLog({L"P20=+ZORTAPOLY.POP1", L"P50=+ZORTAPOLY.POP1", L"P50=+ZORTAPOLY.POP1"}))
        << "a loaded group is not loaded again";
}

TEST(Help, FallsBackToTheCuiFileThenToTheSupportPath) {
    ApplicationSession s;
    s.install.removeMenus();
    s.install.putMenu("ZORTAPOLY.CUI");
    c_help();
    EXPECT_TRUE(acedIsMenuGroupLoaded(L"ZORTAPOLY"));
    EXPECT_NE(s.transcript().find(L"ZORTAPOLY.CUI"), std::wstring::npos);
    s.install.removeMenus();
    testing_support::TempFolder support;
    std::filesystem::copy_file(MENU_FILE, support / "zortapoly.mns");
    setenv("ZHOST_SUPPORT", support.path().c_str(), 1);
    loadMenu();
    unsetenv("ZHOST_SUPPORT");
    EXPECT_TRUE(acedIsMenuGroupLoaded(L"ZORTAPOLY"));
    EXPECT_NE(s.transcript().find(L"/zortapoly.mns"), std::wstring::npos)
        << "found on the support path whatever its case";
}

TEST(Help, AMissingMenuFileIsReportedAndTriedAgainNextTime) {
    ApplicationSession s;
    s.install.removeMenus();
    g_InitFlags = kMenuToInstall;
    EXPECT_EQ(c_help(), 1);
    EXPECT_FALSE(acedIsMenuGroupLoaded(L"ZORTAPOLY"));
    EXPECT_EQ(shown(L"*** Menu ZORTAPOLY introuvable"), 1);
    EXPECT_EQ(g_InitFlags & kMenuToInstall, kMenuToInstall) << "still to be installed";
    EXPECT_TRUE(menuLog({L"P50=+ZORTAPOLY.POP1"})) << "the pull-down is asked for all the same";
    EXPECT_EQ(shown(L"**** Liste des commandes de ZORTAPOLY ***"), 1) << "the listing follows";
    s.install.putMenu("ZORTAPOLY.MNS");
    c_help();
    EXPECT_TRUE(acedIsMenuGroupLoaded(L"ZORTAPOLY"));
    EXPECT_EQ(g_InitFlags & kMenuToInstall, 0u);
}

TEST(Help, CommandsRegisterTheirTopicInTheHelpFile) {
    ApplicationSession s;
    const std::wstring file = codePageToWide(platform::hostPath(installFolder() + "DLL\\ZORTA.chm"));
    EXPECT_EQ(setCmdHelp(L"ZOR_TEST", L"id_test", L"ZORTAPOLY"), RTNORM);
    EXPECT_EQ(host::functionHelp(L"ZOR_TEST"), file + L"|ZORTAPOLY.htm#id_test");
    EXPECT_EQ(setCmdHelp(L"ZOR_TEST", L"id_test", nullptr), RTNORM);
    EXPECT_EQ(host::functionHelp(L"ZOR_TEST"), file + L"|id_test") << "no page: the topic alone";
    EXPECT_EQ(setCmdHelp(L"", L"id_test", nullptr), RTERROR) << "no command runs";
    registerCommands();
    s.type({L"ZOR_PMOD", L"^C", L"ZOR_Z3DSPACE", L"^C"});
    host::runCommandLine();
    EXPECT_EQ(host::functionHelp(L"ZOR_PMOD"), file + L"|ZORTAPOLY.htm#id_Z3D_mod") << "the running command";
    EXPECT_EQ(host::functionHelp(L"ZOR_Z3DSPACE"), file + L"|ID_Z3D_Z3DSPACE");
}
