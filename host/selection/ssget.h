#pragma once
// Selection prompts. acedSSGet modes (a leading "_" is ignored): "" asks the user, who picks entities or
// gives selections until Enter; ":$" takes the select prompt and the remove prompt from `pt1` (two texts);
// ":S" ends after the first selection that chose something; "X" takes every entity of the drawing; "I" the
// pick-first set; "P" the previous selection (of the SELECT command); "L" the last entity; ":N", ":E" and
// "-M" are accepted and change nothing here. A null or empty mode with `pt1` a point (user coordinates) takes
// the entity under that point, nothing outside the view. Only entities that match `filter` are chosen. RTNORM
// with a new set; RTERROR when nothing was chosen, for an unknown mode or a malformed filter; RTCAN on
// cancel.
#include "host/db/resbuf.h"

int acedSSGet(const ACHAR* mode, const void* pt1, const void* pt2, const resbuf* filter, ads_name ss);
// One entity: a pick, or a point on an entity; RTERROR on Enter or when nothing lies under the point, RTCAN
// on cancel, RTKWORD for a keyword set with acedInitGet.
int acedEntSel(const ACHAR* prompt, ads_name entity, ads_point point);
