// ZOR_POLY: a new polyline digitised with the editor, from an in-memory template of the class.
#include "cadutil/command_line/print.h"
#include "entity/core/poly_classes.h"
#include "host/lisp/lisp_symbols.h"
#include "plugin/app/command_handlers.h"
#include "plugin/app/help.h"
#include "plugin/editor/qpoly_edit.h"

namespace {

// The figure mode a script or menu left in "lisp_modfig", when it holds a number.
void takeFigureMode(qpoly_edit& editor) {
    resbuf* value = nullptr;
    if (acedGetSym(L"lisp_modfig", &value) != RTNORM || !value) return;
    if (value->restype == RTSHORT) editor.shapeMode = value->resval.rint;
    if (value->restype == RTLONG) editor.shapeMode = static_cast<short>(value->resval.rlong);
    acutRelRb(value);
}

} // namespace

int c_get_qpoly() {
    setCmdHelp(L"", L"id_Z3D_poly", L"ZORTAPOLY");
    try {
        PolyArc3D polyTemplate;
        polyTemplate.setLastFlagCPolyArc3D();
        qpoly_edit editor(AcDbObjectId(), &polyTemplate, 0);
        if (editor.id.isNull()) {
            editor.close();
            return 0;
        }
        takeFigureMode(editor);
        editor.edit();
        editor.close();
    } catch (...) {
        msgprintf("\nProbleme avec la COMMANDE c_get_qpoly():'ZOR_POLY'");
    }
    return 0;
}
