// ZOR_EDELPARC: runs of vertices that lie on one circle replaced by arcs on the selected polylines.
#include <string>

#include "cadutil/command_line/print.h"
#include "cadutil/resbuf/text_convert.h"
#include "entity/core/poly_arc3d.h"
#include "host/input/prompts.h"
#include "plugin/app/command_handlers.h"
#include "plugin/app/help.h"
#include "plugin/commands/command_state.h"
#include "plugin/commands/polyline_batch.h"
#include "plugin/editor/editor_prompts.h"
#include "services/str/str.h"

using namespace command_state;

namespace {

// The mode letters in the order they are shown, with their bits.
constexpr struct {
    char letter;
    int bit;
} kModeLetters[] = {{'A', 1}, {'C', 2}, {'T', 4}, {'D', 8}, {'S', 0x10}};

std::string lettersOf(int mode) {
    std::string letters;
    for (const auto& m : kModeLetters)
        if (mode & m.bit) letters += m.letter;
    return letters;
}

int modeOf(const std::string& letters) {
    int mode = 0;
    for (const auto& m : kModeLetters)
        if (letters.find(m.letter) != std::string::npos) mode |= m.bit;
    return mode;
}

// Asks for the mode until an answer names one; false when the prompt failed.
bool askMode() {
    for (;;) {
        const std::string prompt = "\nTraiter : 'A' = les ARCS ; 'C' = les Cercles ; 'T' = Toute courbe ;'D' "
                                   "Tout segment m\xeame droit ; 'S' Suprime les tangeances <" +
                                   lettersOf(g_arcPointMode) + ">";
        ACHAR typed[100] = {};
        const int rc = acedGetString(0, codePageToWide(prompt).c_str(), typed, 100);
        if (rc == RTNONE || (rc == RTNORM && !typed[0])) return true;
        if (rc != RTNORM) {
            cmdprintf("R\xe9ponse erronn\xe9"
                      "e ");
            return false;
        }
        char answer[100];
        const int mode = modeOf(STR::Majuscules(wideToStr(answer, typed)));
        if (mode) {
            g_arcPointMode = mode;
            return true;
        }
    }
}

} // namespace

int c_EDelParc() {
    setCmdHelp(L"", L"ID_Z3D_EDELPARC", nullptr);
    cmdprintf("\n\xe9limination de points d'arcs inutiles ");
    g_arcPointTolerance = askDistance(g_arcPointTolerance,
                                      " Ecart tol\xe9rable entre les points \xe9limin\xe9s et le r\xe9sultat",
                                      nullptr, nullptr, 0);
    if (!askMode()) return 0;
    PolylineBatch batch;
    if (!batch.select()) return 0;
    int changed = 0, removed = 0;
    batch.forEach([&](CPolyArc3D& poly) {
        const int n = poly.EDelParc(g_arcPointTolerance, g_arcPointMode, nullptr, nullptr);
        if (n > 0) {
            ++changed;
            removed += n;
        }
    });
    if (changed == 0) return 0;
    cmdprintf("\n==== %d %s recalcul\xe9"
              "es en Z ",
              changed, lastKindName());
    cmdprintf(" ; **** %d  sommets \xe9limin\xe9s ****", removed);
    return 0;
}
