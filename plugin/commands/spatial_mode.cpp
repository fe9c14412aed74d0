// ZOR_Z3DSPACE: the editor's spatial input switched on or off, or the selected polylines given the current
// UCS's coordinate system or brought back to the world system.
#include <cmath>
#include <cwctype>

#include "cadutil/command_line/print.h"
#include "entity/core/poly_arc3d.h"
#include "host/editor/ucs.h"
#include "host/input/prompts.h"
#include "plugin/app/command_handlers.h"
#include "plugin/app/help.h"
#include "plugin/commands/command_state.h"
#include "plugin/commands/polyline_batch.h"

namespace {

// The Z axis of the current UCS, exactly +Z when it is that within 1e-5 in plan.
AcGeVector3d ucsNormal() {
    AcGeMatrix3d ucs;
    acedGetCurrentUCS(ucs);
    const AcGeVector3d z(ucs(0, 2), ucs(1, 2), ucs(2, 2));
    if (std::fabs(z.x) < 1e-5 && std::fabs(z.y) < 1e-5) return AcGeVector3d(0, 0, 1);
    return z;
}

void changeSystems(char letter) {
    const AcGeVector3d normal = ucsNormal();
    cmdprintf("\n Entites 'TAVROPOLY/ZORTAPOLY' \xe0 Traiter: ");
    PolylineBatch batch;
    if (!batch.select()) return;
    batch.forEach(
        [&](CPolyArc3D& poly) {
            if (letter == 'U')
                poly.setSNormal(normal, 1);
            else if (poly.normalMatrix())
                poly.setSNormal(static_cast<const Mat3D*>(nullptr), 1);
        },
        true);
}

} // namespace

int c_Z3dSpace() {
    setCmdHelp(L"", L"ID_Z3D_Z3DSPACE", nullptr);
    cmdprintf("\n Fonctions de gestion du Mode spacial des CPolyArc3D");
    cmdprintf("\nSur Saise:(O)ui (N)on ; Modifier: (S)upprime (U)cs < %c > : ",
              command_state::g_spatialAnswer);
    acedInitGet(RSG_NONEG, L"Oui Non Supp Ucs ");
    ACHAR answer[20] = {};
    const int rc = acedGetKword(nullptr, answer, 20);
    if (rc != RTNORM && rc != RTNONE) return 0;
    const char letter =
        rc == RTNORM ? static_cast<char>(std::towupper(answer[0])) : command_state::g_spatialAnswer;
    command_state::g_spatialAnswer = letter;
    switch (letter) {
    case 'O':
        cmdprintf("\n Saisie mode spatial ON");
        CPolyArc3D::m_Sz3DSpaceOpt = 1;
        break;
    case 'N':
        cmdprintf("\n Saisie mode spatial OFF");
        CPolyArc3D::m_Sz3DSpaceOpt = 0;
        break;
    case 'S':
    case 'U':
        changeSystems(letter);
        break;
    default:
        break;
    }
    return 0;
}
