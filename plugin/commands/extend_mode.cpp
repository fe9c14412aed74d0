// ZOR_EXTEND: the host's extend command with the polyline's extend mode (0 normal, +1 the boundary's Z, +2
// extend and adjust), which holds for that command only.
#include <cstdio>

#include "cadutil/command_line/print.h"
#include "cadutil/resbuf/text_convert.h"
#include "entity/core/poly_arc3d.h"
#include "host/editor/command_line.h"
#include "host/input/prompts.h"
#include "plugin/app/command_handlers.h"
#include "plugin/app/edit_reactor.h"
#include "plugin/app/help.h"

int c_Extend() {
    setCmdHelp(L"", L"ID_ZOR_EXTEND", L"ZortaPoly");
    int& mode = CPolyArc3D::m_PolyArc3dCmdeFlag;
    char prompt[200];
    std::snprintf(prompt, sizeof prompt, "%s <%d> :",
                  "Type Extend (0)=Normal ; (+1) Z du Seuil ; (+2)Extend+Ajust) :", mode & kExtendMode);
    int value = 0;
    const int rc = acedGetInt(codePageToWide(prompt).c_str(), &value);
    // Cancel ends the command; Enter keeps the mode.
    if (rc != RTNORM && rc != RTNONE) return 0;
    if (rc == RTNORM) mode = value;
    mode |= kExtendForNextCommand;
    cmdprintf("\nS\xe9lection des seuils : ");
    acedCommandS(RTSTR, L"_extend", RTNONE);
    return 0;
}
