#include "plugin/commands/command_state.h"

#include "cadutil/command_line/prompt_defaults.h"

namespace command_state {

int g_lastKind = 2;
int g_referenceMode = 0;
char g_spatialAnswer = 'O';
int g_averagingCount = 3;
CleanupTolerances g_cleanup;
double g_arcPointTolerance = 0.01;
int g_arcPointMode = 11;
std::string g_widthHeightAnswer = "LH";
double g_defaultWidth = 0;
double g_defaultHeight = 0;
std::string g_defaultWidthMode(1, '\1');
double g_rememberedWidth = 0;

namespace {
ZoneCallback g_zoneCallback = nullptr;
} // namespace

const char* lastKindName() {
    return g_lastKind == 1 ? "TAVROPOLY" : "ZORTAPOLY";
}

void noteKind(int kind) {
    if (kind == 1 || kind == 2) g_lastKind = kind;
}

void setZoneCallback(ZoneCallback callback) {
    g_zoneCallback = callback;
}

ZoneCallback zoneCallback() {
    return g_zoneCallback;
}

void resetCommandState() {
    g_lastKind = 2;
    g_referenceMode = 0;
    g_spatialAnswer = 'O';
    g_averagingCount = 3;
    g_cleanup = CleanupTolerances{};
    g_arcPointTolerance = 0.01;
    g_arcPointMode = 11;
    g_widthHeightAnswer = "LH";
    g_defaultWidth = 0;
    g_defaultHeight = 0;
    g_defaultWidthMode.assign(1, '\1');
    g_rememberedWidth = 0;
    g_zoneCallback = nullptr;
    g_smoothLinesAnswer = 7;
}

} // namespace command_state
