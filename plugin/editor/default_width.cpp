// The default-width prompt that ZOR_POLY and the properties keyword share.
#include "plugin/editor/default_width.h"

#include <string>

#include "cadutil/command_line/print.h"
#include "entity/core/poly_arc3d.h"
#include "entity/core/vertex_groups.h"
#include "host/input/prompts.h"
#include "plugin/commands/command_state.h"
#include "plugin/editor/editor_prompts.h"

using command_state::g_defaultWidthMode;
using command_state::g_rememberedWidth;

namespace default_width {

int currentMode() {
    const int first = g_defaultWidthMode.empty() ? 0 : static_cast<unsigned char>(g_defaultWidthMode[0]);
    return first > 10 ? kConstant : first;
}

} // namespace default_width

namespace {

const char* modeName(int mode) {
    if (mode == default_width::kInactive) return "Inactif'";
    return mode == default_width::kConstant ? "Constant'" : "Saisir'";
}

bool readWidth(AcDbObjectId id, double& width) {
    CPolyArc3D* poly = nullptr;
    if (acdbOpenObject(poly, id, AcDb::kForRead) != Acad::eOk) return false;
    width = poly->f42();
    poly->close();
    return true;
}

void writeWidth(AcDbObjectId id, double width) {
    CPolyArc3D* poly = nullptr;
    if (acdbOpenObject(poly, id, AcDb::kForWrite) != Acad::eOk) return;
    poly->f42(width);
    poly->close();
}

} // namespace

int askDefaultWidth(AcDbObjectId id) {
    using namespace default_width;
    double width = 0;
    if (!readWidth(id, width)) return -1;
    const std::string modeBefore = g_defaultWidthMode;
    int mode = currentMode();
    for (;;) {
        cmdprintf("Mode:'%s", modeName(mode));
        char typed[64] = {};
        int status = RTNORM;
        width = askDistance(width,
                            "\nLargeur par d\xe9"
                            "faut (/Inactif /Constant /Saisir '+' ou '-' >> Signe ) :",
                            "Inact0 Const1 Saisi2 _ Inact0 Const1 Keybo2", typed, sizeof typed, &status,
                            kLargestFixedValue);
        if (status == RTCAN) {
            g_defaultWidthMode = modeBefore;
            return -1;
        }
        // Only the keywords begin with a capital; any other text ends the input like a value.
        if (typed[0] < 'A' || typed[0] > 'Z') break;
        const char last = std::string(typed).back();
        if (last == '0') {
            mode = kInactive;
            width = 0;
        }
        if (last == '1') mode = kConstant;
        if (last == '2') mode = kAsk;
        // A constant mode already held keeps the linetype it belongs to.
        if (mode != currentMode()) g_defaultWidthMode.assign(1, static_cast<char>(mode));
        if (mode == kInactive) break;
    }
    writeWidth(id, width);
    cmdprintf(" largeur d\xe9"
              "faut =%.4f M\xe8tre ",
              width);
    if (mode != kInactive) g_rememberedWidth = width;
    return mode;
}
