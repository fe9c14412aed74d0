#include "entity/drawing/draw_state.h"

namespace poly_drawing {

int g_drawFlag = 0;
int g_regenWord = 0;
int g_drawGuard = 0;
int g_hatchErrors = 0;

void resetDrawState() {
    g_drawFlag = 0;
    g_regenWord = 0;
    g_drawGuard = 0;
    g_hatchErrors = 0;
}

} // namespace poly_drawing
