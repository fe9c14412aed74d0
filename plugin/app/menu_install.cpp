#include "plugin/app/menu_install.h"

#include <filesystem>
#include <string>

#include "cadutil/command_line/print.h"
#include "cadutil/database/host_variables.h"
#include "cadutil/resbuf/text_convert.h"
#include "host/editor/command_line.h"
#include "host/editor/find_file.h"
#include "host/editor/menus.h"
#include "platform/files/path_map.h"
#include "services/settings/folders.h"

std::uint32_t g_InitFlags = 0;

namespace {

// The file of the install folder's "DLL" folder, as the host reads files; empty when it does not exist.
std::wstring installedFile(const char* name) {
    const std::string path = platform::hostPath(installFolder() + "DLL\\" + name);
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) ? codePageToWide(path) : std::wstring();
}

std::wstring supportFile(const ACHAR* name) {
    ACHAR found[260];
    return acedFindFile(name, found, std::size(found)) == RTNORM ? std::wstring(found) : std::wstring();
}

bool groupLoaded() {
    return acedIsMenuGroupLoaded(kMenuGroup);
}

void menuLoad(const std::wstring& path) {
    acedCommandS(RTSTR, L"_menuload", RTSTR, path.c_str(), RTNONE);
}

} // namespace

void unloadMenu() {
    if (groupLoaded()) acedCommandS(RTSTR, L"_menuunload", RTSTR, kMenuGroup, RTNONE);
}

void loadMenu() {
    unloadMenu();
    if (std::wstring mns = installedFile("ZORTAPOLY.MNS"); !mns.empty()) menuLoad(mns);
    if (!groupLoaded()) {
        std::wstring file = installedFile("ZORTAPOLY.CUI");
        if (file.empty()) file = supportFile(L"ZORTAPOLY.MNS");
        if (file.empty()) file = supportFile(L"ZORTAPOLY.CUI");
        if (!file.empty())
            menuLoad(file);
        else
            g_printHook("\n*** Menu ZORTAPOLY introuvable : ni %sDLL\\ZORTAPOLY.MNS ni .CUI, ni sur les "
                        "chemins de recherche",
                        installFolder().c_str());
    }
    if (groupLoaded()) {
        acedMenuCmd(L"P20=+ZORTAPOLY.POP1");
        g_InitFlags &= ~kMenuToInstall;
    }
    setVarShort("MENUBAR", 1);
}
