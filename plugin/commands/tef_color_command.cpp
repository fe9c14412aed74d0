// ZOR_SETTEFCOLOR: the colours of one TEF colour table typed as a list; an empty list removes the table.
#include "cadutil/command_line/print.h"
#include "cadutil/database/tef_color_tables.h"
#include "cadutil/resbuf/text_convert.h"
#include "host/input/prompts.h"
#include "plugin/app/command_handlers.h"
#include "plugin/app/help.h"

int c_SetTefColor() {
    setCmdHelp(L"", L"ID_Z3D_TEFCOLOR", L"ZORTAPOLY");
    cmdprintf("\n Couleur pour chaque TEF (0=Couleur Poly)");
    cmdprintf("\n (0) TEF0 (1) TEF1 ");
    acedInitGet(RSG_NONEG, L"0 1");
    ACHAR answer[10] = {};
    if (acedGetKword(nullptr, answer, 10) != RTNORM) return 0;
    const int row = answer[0] - L'0';
    if (row < 0 || row > 1) return 0;
    cmdprintf("\n Couleurs en commencant par la valeure 1 du tef%d (1,8,...) pour le TEF%d :", row, row);
    ACHAR typed[2048] = {};
    if (acedGetString(1, nullptr, typed, 2048) != RTNORM) return 0;
    char list[2048];
    setTefColorList(row, wideToStr(list, typed));
    return 0;
}
