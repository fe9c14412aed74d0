// ZOR_DRAWFLAG: sets the draw flag word that the polyline's drawing reads.
#include "cadutil/command_line/print.h"
#include "entity/drawing/draw_state.h"
#include "host/input/prompts.h"
#include "plugin/app/command_handlers.h"
#include "plugin/app/help.h"

int c_DrawFlag() {
    setCmdHelp(L"", L"ID_Z3D_DRAWFLAG", L"ZORTAPOLY");
    cmdprintf("\n +1 >> Draw Like LWPOLY ");
    cmdprintf("\n +2 >> Draw Like LWPOLY in 3DVIEW");
    cmdprintf("\n +4 >> Save PROXY ");
    cmdprintf("\n +8 >> No HATCH");
    cmdprintf("\n Flag Draw ZORPOLY <%d> ", poly_drawing::g_drawFlag);
    int value = 0;
    if (acedGetInt(nullptr, &value) == RTNORM) poly_drawing::g_drawFlag = value;
    return 0;
}
