#pragma once
// What the polyline commands remember between calls, process-wide and on the host's command thread only.
// Nothing here is kept in the drawing; resetCommandState puts every value back to its load value (tests).
#include <string>

namespace command_state {

// The kind of polyline the commands last opened: 1 TAVROPOLY, 2 ZORTAPOLY (2 at load).
extern int g_lastKind;
// "TAVROPOLY" or "ZORTAPOLY" for the last kind, as the counts print it.
const char* lastKindName();
// Notes the kind of a polyline a command opened; kinds other than 1 and 2 leave the last one.
void noteKind(int kind);

// ZOR_PAS: 1 makes the reference's zone layer current ("Courante"), 0 its own layer ("Inchangée").
extern int g_referenceMode;
// ZOR_Z3DSPACE: the letter last answered (O, N, S or U).
extern char g_spatialAnswer;
// ZOR_LISSNIV: the number of points averaged.
extern int g_averagingCount;
// ZOR_EPUREPTS: tolerances in XY and Z, least and greatest distance between vertices.
struct CleanupTolerances {
    double xy = 0.02;
    double z = 0.05;
    double minDistance = 0.05;
    double maxDistance = 50.0;
};
extern CleanupTolerances g_cleanup;
// ZOR_EDELPARC: the tolerance and the mode bits (A 1, C 2, T 4, D 8, S 0x10).
extern double g_arcPointTolerance;
extern int g_arcPointMode;
// ZOR_PLH: the last answer, the default width and the default height.
extern std::string g_widthHeightAnswer;
extern double g_defaultWidth;
extern double g_defaultHeight;

// The default width of new polylines: the mode text's first character is 0 (inactive), 1 (ask), or, above
// 10, the text is the linetype name the width belongs to (constant); the width last used.
extern std::string g_defaultWidthMode;
extern double g_rememberedWidth;

// The zone check of ZOR_PSUIT may be delegated: another module installs a function that is asked, with the
// polyline's layer name, whether to continue that polyline on the current zone (1 accepts). None by default.
using ZoneCallback = int (*)(const char* layerName);
void setZoneCallback(ZoneCallback callback);
ZoneCallback zoneCallback();

void resetCommandState();

} // namespace command_state
