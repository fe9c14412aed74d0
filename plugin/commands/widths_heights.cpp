// ZOR_PLH: the default width and/or height of the selected polylines, and, when asked, the vertices' own
// values of those quantities cleared.
#include <string>

#include "cadutil/command_line/print.h"
#include "cadutil/command_line/prompt_defaults.h"
#include "cadutil/resbuf/text_convert.h"
#include "entity/core/poly_arc3d.h"
#include "host/input/prompts.h"
#include "plugin/app/command_handlers.h"
#include "plugin/app/help.h"
#include "plugin/commands/command_state.h"
#include "plugin/commands/polyline_batch.h"
#include "services/str/str.h"

using namespace command_state;

namespace {

struct Quantities {
    bool width = false;
    bool height = false;
    bool resetVertices = false;
};

Quantities quantitiesOf(std::string answer) {
    STR::Majuscules(answer.data());
    Quantities q;
    q.width = answer.find_first_of("LW") != std::string::npos;
    q.height = answer.find('H') != std::string::npos;
    q.resetVertices = answer.find('R') != std::string::npos;
    return q;
}

} // namespace

int c_polyLH() {
    setCmdHelp(L"", L"id_Z3D_PLH", L"ZORTAPOLY");
    const std::string prompt = "\n== /Largeur D\xe9"
                               "faut ; /Hauteur D\xe9"
                               "faut ; /Raz sur sommets <" +
                               g_widthHeightAnswer + ">";
    ACHAR typed[256] = {};
    if (acedGetString(0, codePageToWide(prompt).c_str(), typed, 256) == RTCAN) return 0;
    if (typed[0]) {
        char answer[256];
        g_widthHeightAnswer = wideToStr(answer, typed);
    }
    const Quantities q = quantitiesOf(g_widthHeightAnswer);
    cmdprintf("\n== Changement de Largeur et Hauteur de POLYLIGNES :");
    PolylineBatch batch;
    if (!batch.select()) return 0;
    if (q.width && getr_def("\nLargeur D\xe9sir\xe9"
                            "e",
                            &g_defaultWidth) == RTCAN)
        return 0;
    if (q.height && getr_def("\nHauteur D\xe9sir\xe9"
                             "e",
                             &g_defaultHeight) == RTCAN)
        return 0;
    const int done = batch.forEach([&](CPolyArc3D& poly) {
        if (q.height) poly.f39(g_defaultHeight);
        if (q.width) poly.f42(g_defaultWidth);
        // The vertices' own values are the user's work: cleared only when asked for ("Raz").
        if (!q.resetVertices) return;
        for (P_Vertex* v = poly.H(); v; v = v->pVN) {
            if (q.height) v->i39 = 0;
            if (q.width) v->i40 = 0;
        }
    });
    if (done)
        cmdprintf("\n==== %d POLYLIGNES Trait\xe9"
                  "es ",
                  done);
    return 0;
}
