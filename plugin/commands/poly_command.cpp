// ZOR_POLY: a new polyline digitised with the editor, from an in-memory template of the class.
#include <cstdlib>
#include <string>

#include "cadutil/command_line/print.h"
#include "cadutil/resbuf/text_convert.h"
#include "entity/core/poly_classes.h"
#include "host/lisp/lisp_symbols.h"
#include "plugin/app/command_handlers.h"
#include "plugin/app/help.h"
#include "plugin/commands/command_state.h"
#include "plugin/editor/default_width.h"
#include "plugin/editor/qpoly_edit.h"

using namespace command_state;

namespace {

// The figure mode a script or menu left in "lisp_modfig", when it holds a number.
void takeFigureMode(qpoly_edit& editor) {
    resbuf* value = nullptr;
    if (acedGetSym(L"lisp_modfig", &value) != RTNORM || !value) return;
    if (value->restype == RTSHORT) editor.shapeMode = value->resval.rint;
    if (value->restype == RTLONG) editor.shapeMode = static_cast<short>(value->resval.rlong);
    acutRelRb(value);
}

// Whether a LISP program handed entity names over in "lisp_dwx_buffer"; the buffer is emptied either way.
bool takeLispBuffer() {
    resbuf* value = nullptr;
    if (acedGetSym(L"lisp_dwx_buffer", &value) != RTNORM || !value) return false;
    bool names = false;
    for (const resbuf* rb = value; rb; rb = rb->rbnext)
        names = names || rb->restype == RTENAME;
    if (value->restype != RTNIL) {
        resbuf nil{};
        nil.restype = RTNIL;
        acedPutSym(L"lisp_dwx_buffer", &nil);
    }
    acutRelRb(value);
    return names;
}

std::string linetypeOf(const CPolyArc3D& poly) {
    char name[512] = {};
    const std::wstring wide = poly.linetype();
    return wide.size() < sizeof name ? wideToStr(name, wide.c_str()) : "";
}

// The default width of a polyline whose linetype begins with "P": none while the mode is inactive; the
// remembered one while the mode is constant for that linetype; otherwise the remembered one offered at the
// default-width prompt, whose answer the next polylines keep (a constant one for this linetype).
void applyDefaultWidth(qpoly_edit& editor) {
    CPolyArc3D* poly = editor.openWrite();
    if (!poly) return;
    const std::string linetype = linetypeOf(*poly);
    const int mode = default_width::currentMode();
    if (!linetype.starts_with('P')) {
        editor.closeEntity();
        return;
    }
    if (mode == default_width::kInactive) {
        editor.closeEntity();
        cmdprintf(" largeur d\xe9"
                  "faut Inactive\n");
        return;
    }
    poly->f42(g_rememberedWidth);
    editor.closeEntity();
    if (mode == default_width::kConstant && g_defaultWidthMode == linetype) {
        cmdprintf(" largeur d\xe9"
                  "faut Constante =%.4f M\xe8tre \n",
                  g_rememberedWidth);
        return;
    }
    const int chosen = askDefaultWidth(editor.id);
    if (chosen == default_width::kConstant) g_defaultWidthMode = linetype;
}

// A polyline of an "S" linetype closes when "VESPIR" asks for closed spirals; one whose ends meet closes.
void closeWhereAsked(qpoly_edit& editor) {
    CPolyArc3D* poly = editor.openWrite();
    if (!poly) return;
    const char* spiral = std::getenv("VESPIR");
    if (linetypeOf(*poly).starts_with('S') && spiral && spiral[0] == 'C') poly->f70(poly->f70() | 1);
    poly->MajClosed();
    editor.closeEntity();
}

} // namespace

int c_get_qpoly() {
    setCmdHelp(L"", L"id_Z3D_poly", L"ZORTAPOLY");
    try {
        g_lastKind = 2;
        PolyArc3D polyTemplate;
        polyTemplate.setLastFlagCPolyArc3D();
        qpoly_edit editor(AcDbObjectId(), &polyTemplate, 0);
        if (editor.id.isNull()) {
            editor.close();
            return 0;
        }
        const bool fromLisp = takeLispBuffer();
        applyDefaultWidth(editor);
        takeFigureMode(editor);
        editor.edit();
        if (!fromLisp) closeWhereAsked(editor);
        editor.close();
    } catch (...) {
        msgprintf("\nProbleme avec la COMMANDE c_get_qpoly():'ZOR_POLY'");
    }
    return 0;
}
