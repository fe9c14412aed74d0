#include "plugin/app/help.h"

#include <string>

#include "cadutil/command_line/print.h"
#include "cadutil/database/host_variables.h"
#include "cadutil/resbuf/text_convert.h"
#include "host/editor/acut.h"
#include "host/editor/menus.h"
#include "host/lisp/lisp_functions.h"
#include "platform/files/path_map.h"
#include "plugin/app/command_table.h"
#include "plugin/app/lisp_table.h"
#include "plugin/app/menu_install.h"
#include "services/settings/folders.h"

int c_help() {
    if ((g_InitFlags & kMenuToInstall) || !acedIsMenuGroupLoaded(kMenuGroup)) loadMenu();
    acedMenuCmd(L"P50=+ZORTAPOLY.POP1");
    // Every row up to the table's end marker.
    g_printHook("\n**** Liste des commandes de ZORTAPOLY ***");
    for (const CmdEntry* row = g_CmdTable; row->name[0]; ++row)
        acutPrintf(L"\n%s : %x %s ", row->name, row->flags, row->description);
    g_printHook("\n**** Fin Functions ZORTA ***\n");
    g_printHook("\n**** Liste des fONCTIONS ***");
    for (const LispFuncEntry* row = g_LispFuncTable; row->name; ++row)
        acutPrintf(L"\n%s : %s ", row->name, row->help);
    g_printHook("\n**** Fin Functions ZORTA ***\n");
    return 1;
}

int setCmdHelp(const ACHAR* command, const ACHAR* topic, const ACHAR* page) {
    const std::wstring file = codePageToWide(platform::hostPath(installFolder() + "DLL\\ZORTA.chm"));
    std::wstring target = topic ? topic : L"";
    if (page && *page) target = std::wstring(page) + L".htm#" + target;
    std::wstring name = command ? command : L"";
    if (name.empty()) {
        resbuf running{};
        if (getVar("CMDNAMES", &running) == RTNORM) rbTakeString(name, &running);
        // Nested commands are listed after the first one.
        if (std::size_t blank = name.find(L' '); blank != std::wstring::npos && blank > 0) name.resize(blank);
    }
    return acedSetFunHelp(name.c_str(), file.c_str(), target.c_str(), 0);
}
