#pragma once
// The process-wide words of the polyline's drawing, host command thread only:
// - the draw flag word (0 at load, set by ZOR_DRAWFLAG): bit 0 draws the polyline as a lightweight polyline
//   in standard display and proxy graphics, bit 1 the same in hidden and shaded views, bit 2 lets proxy
//   graphics draw, bit 3 leaves hatches and symbols out;
// - the regeneration word: 1 from the start of a drawing call, then the regeneration type, 0 once it ends
//   (the segment jig's diagnostics print it);
// - the drawing guard: set while the segments are drawn, so that a drawing re-entered from inside draws
//   nothing.
namespace poly_drawing {

constexpr int kDrawLightweight = 1;
constexpr int kDrawLightweightShaded = 2;
constexpr int kDrawProxy = 4;
constexpr int kDrawNoStyles = 8;

extern int g_drawFlag;
extern int g_regenWord;
extern int g_drawGuard;
extern int g_hatchErrors;

// Test support: the words as at load.
void resetDrawState();

} // namespace poly_drawing
