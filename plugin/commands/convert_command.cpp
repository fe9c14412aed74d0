// ZOR_PCONVERT: host curves into polylines of the system (A), or these into host polylines with the hatches,
// symbols and code runs of their styles (P). The answers are remembered for the next run in the process.
#include <cstdio>
#include <string>

#include "cadutil/command_line/print.h"
#include "cadutil/command_line/prompt_defaults.h"
#include "cadutil/command_line/selection.h"
#include "cadutil/resbuf/text_convert.h"
#include "entity/core/poly_classes.h"
#include "entity/drawing/draw_state.h"
#include "host/editor/command_line.h"
#include "host/editor/message_box.h"
#include "host/input/prompts.h"
#include "host/selection/selection_sets.h"
#include "plugin/app/command_handlers.h"
#include "plugin/app/help.h"
#include "services/startup/fvar.h"

namespace {

struct Remembered {
    double deviation = 0; // not positive until first set
    std::string options;
    char direction = 'A';
    char output = 'A';
};
Remembered g_remembered;

// A choice among one-letter keywords, the remembered one for Enter; 0 on cancel.
char askChoice(const ACHAR* keywords, const char* format, char remembered) {
    char prompt[160];
    std::snprintf(prompt, sizeof prompt, format, remembered);
    acedInitGet(0, keywords);
    ACHAR answer[8] = {};
    const int rc = acedGetKword(codePageToWide(prompt).c_str(), answer, 8);
    if (rc == RTNONE) return remembered;
    if (rc != RTNORM) return 0;
    return static_cast<char>(answer[0]);
}

// The options text; an answer that starts with a blank, '-', '+' or '*', or none, keeps them. False on
// cancel.
bool askOptions(std::string& options) {
    char prompt[200];
    std::snprintf(prompt, sizeof prompt,
                  "\nOption(s) d\xe9sir\xe9"
                  "es : H=Hachures ; B=Bloc(Symboles) T=Eclate Tefs< %s > ? : ",
                  options.c_str());
    ACHAR answer[256] = {};
    if (acedGetString(1, codePageToWide(prompt).c_str(), answer, 256) != RTNORM) return false;
    char text[256];
    wideToStr(text, answer);
    const std::string given(text);
    if (given.empty() || std::string(" -+*").find(given[0]) != std::string::npos) return true;
    const std::size_t first = given.find_first_not_of(' ');
    options = given.substr(first, given.find_last_not_of(' ') - first + 1);
    return true;
}

void printMode(char output, const std::string& options) {
    if (output == '2')
        cmdprintf("\nMode 2DPOLY ");
    else if (output == '3')
        cmdprintf("\nMode 3DPOLY ");
    else if (output == 'A')
        cmdprintf("\nMode Automatique : 3d si pas horizontal ou si c70 \xe0 8 ; lwpoly sinon");
    else
        cmdprintf("\nMode LWPOLY ");
    if (!options.empty()) cmdprintf("  Options : '%s'", options.c_str());
    cmdprintf("\n");
}

// A polyline of the system in place of the host entity; a closed one turns clockwise.
void convertToPolyline(AcDbEntity* source) {
    PolyArc3D* made = new PolyArc3D;
    if (made->from(source, 3) != Acad::eOk) {
        delete made;
        source->close();
        return;
    }
    // A source outside any drawing is not replaced: nothing holds the polyline then.
    if (made->objectId().isNull()) {
        delete made;
        return;
    }
    if ((made->f70() & 1) && made->getArea(nullptr) < 0) made->einvsens(0, nullptr, nullptr);
    made->close();
}

// Each selected entity, from the last to the first. The boundaries the hatches refused go to `errorIds`.
void convertSelection(const AcDbObjectIdArray& ids, const std::string& explodeOptions,
                      AcDbObjectIdArray& errorIds) {
    for (int i = ids.length() - 1; i >= 0; --i) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, ids[i], AcDb::kForWrite) != Acad::eOk) continue;
        vfVar.maxSagitta = g_remembered.deviation;
        if (PolyArc3D* poly = PolyArc3D::cast(entity)) {
            if (poly->explodeZor(nullptr, explodeOptions.c_str(), g_remembered.deviation, &errorIds, nullptr,
                                 -1) == Acad::eOk)
                poly->erase();
            poly->close();
        } else {
            convertToPolyline(entity);
        }
    }
}

// After refused hatch boundaries, the user may have them as the previous and pick-first selection, to
// mend them.
void offerRefusedBoundaries(const AcDbObjectIdArray& errorIds) {
    if (poly_drawing::g_hatchErrors <= 0) return;
    char text[160];
    std::snprintf(text, sizeof text,
                  "il y a %d erreures\nMettre ces entit\xe9s en s\xe9lection pr\xe9"
                  "c\xe9"
                  "dentes ?",
                  poly_drawing::g_hatchErrors);
    poly_drawing::g_hatchErrors = 0;
    if (AfxMessageBox(codePageToWide(text).c_str(), MB_YESNO | MB_TOPMOST | MB_SETFOREGROUND) != IDYES)
        return;
    ads_name ss;
    if (acedSSAdd(nullptr, nullptr, ss) != RTNORM) return;
    for (AcDbObjectId id : errorIds) {
        ads_name entity;
        if (acdbGetAdsName(entity, id) == Acad::eOk) acedSSAdd(entity, ss, ss);
    }
    acedCommandS(RTSTR, L"_SELECT", RTPICKS, ss, RTSTR, L"", RTNONE);
    acedSSSetFirst(ss, nullptr);
    acedSSFree(ss);
}

void runConversion() {
    if (!(g_remembered.deviation > 0)) {
        g_remembered.deviation = vfVar.maxSagitta;
        g_remembered.options = "HIT";
    }
    cmdprintf("\nConversion de Polylignes <-> ZORTAPOLY");
    const char direction =
        askChoice(L"A P _ A P",
                  "\n(A)utocad_vers_ZORTAPOLY  (P)ZORTAPOLY_vers_Autocad  < %c > : ", g_remembered.direction);
    if (!direction) return;
    g_remembered.direction = direction;

    const char* filter =
        "0=TAVROPOLY,LINE,ARC,LWPOLYLINE,POLYLINE,SPLINE,3DFACE,ELLIPSE,AECC_FEATURE_LINE,HATCH,";
    if (direction == 'A') {
        cmdprintf("\nEntites Autocad a convertir en ZORTAPOLY : ");
    } else {
        const char output =
            askChoice(L"3 L 2 A", "\n/Automatique /3dpoly /Lwpoly /2dpoly< %c >: ", g_remembered.output);
        if (!output) return;
        g_remembered.output = output;
        if (!askOptions(g_remembered.options)) return;
        printMode(output, g_remembered.options);
        if (output == '3' || output == 'A') {
            acedInitGet(RSG_NOZERO | RSG_NONEG, nullptr);
            if (getr_def("\nFleche Maxi ", &g_remembered.deviation) == RTCAN) return;
        }
        filter = "0=ZORTAPOLY";
    }
    ads_name ss;
    AcDbObjectIdArray ids;
    if (ssgetFilter(filter, ss, nullptr) <= 0 || ssToIds(ss, ids) == 0) return;
    // Only this run's refusals are offered.
    poly_drawing::g_hatchErrors = 0;
    AcDbObjectIdArray errorIds;
    convertSelection(ids, std::string(1, g_remembered.output) + g_remembered.options, errorIds);
    offerRefusedBoundaries(errorIds);
}

} // namespace

int c_convert() {
    setCmdHelp(L"", L"ID_Z3D_convert", L"ZORTAPOLY");
    try {
        runConversion();
    } catch (...) {
        msgprintf("\nProbleme avec la COMMANDE c_convert()");
    }
    return 0;
}
