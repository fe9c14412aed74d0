// ZOR_PINV: the selected polylines reversed, or only the closed ones whose turn is not the one asked for
// (clockwise for "Topo", counter-clockwise for "tRigo").
#include <cwctype>

#include "cadutil/command_line/print.h"
#include "entity/core/poly_arc3d.h"
#include "host/input/prompts.h"
#include "plugin/app/command_handlers.h"
#include "plugin/app/help.h"
#include "plugin/commands/polyline_batch.h"

namespace {

bool turnsWrongWay(CPolyArc3D& poly, wchar_t wanted) {
    if (!poly.MajClosed()) return false;
    // The signed area is positive for a clockwise outline.
    const double area = poly.getArea(nullptr);
    return wanted == L'R' ? area > 0 : area < 0;
}

} // namespace

int c_inv_qpoly() {
    setCmdHelp(L"", L"ID_Z3D_inv", L"ZORTAPOLY");
    acedInitGet(RSG_NONEG, L"T R I");
    ACHAR answer[10] = {};
    if (acedGetKword(L"\nInversion de polylignes ; SENS DESIRE : Topo tRigo Inverser ", answer, 10) != RTNORM)
        return 0;
    const wchar_t wanted = static_cast<wchar_t>(std::towupper(answer[0]));
    PolylineBatch batch;
    if (!batch.select("\nChoix des Polylignes a inverser ", "\nRetirer   Polylignes a inverser ")) return 0;
    int reversed = 0;
    batch.forEach([&](CPolyArc3D& poly) {
        if ((wanted == L'I' || turnsWrongWay(poly, wanted)) && poly.einvsens(1, nullptr, nullptr)) ++reversed;
    });
    cmdprintf("\n %d Polylignes Invers\xe9"
              "es ",
              reversed);
    return 0;
}
