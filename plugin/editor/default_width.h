#pragma once
// The default width of a polyline and the mode new polylines take it in (inactive, constant, ask), kept with
// the commands' other remembered values.
#include "host/db/db_object_id.h"

namespace default_width {
constexpr int kInactive = 0;
constexpr int kAsk = 1;
constexpr int kConstant = 67;
// The mode the remembered text gives: its first character, constant for any above 10.
int currentMode();
} // namespace default_width

// Asks the polyline's default width, typed or measured, where the keywords switch the mode first: inactive
// (width 0, ends at once), constant or ask (each asks again). A mode other than inactive remembers the width
// for the next polylines. The mode chosen, or -1 after a cancel (nothing changed) or without a polyline.
// The entity is opened only around reading and setting its width, never across a prompt.
int askDefaultWidth(AcDbObjectId id);
