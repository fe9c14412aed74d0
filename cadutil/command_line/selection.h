#pragma once
// Selections of the plug-in: with a filter written as text, into object ids, and the pick of one entity
// with its graphics marker, pick point and snap point.
#include "host/db/db_extents.h"
#include "host/db/resbuf.h"
#include "host/ge/ge.h"

class AcDbEntity;

// Selects with the filter text (see Cresbuf::AddFilterText) and an optional prompt (then the mode ":$").
// The number of entities selected, or the negated absolute value of the host's code (-5002 on cancel,
// -5001 when nothing was selected).
int ssgetFilter(const char* filter, ads_name ss, const char* prompt);
// Fills `ids` with the members in order, frees the set and zeroes its name; the count (0 for no set).
int ssToIds(ads_name ss, AcDbObjectIdArray& ids);
// One entity picked, among the types of `types` ("TAVROPOLY,ZORTAPOLY"; null for any). `id` starts null;
// the marker, pick point and snap point are written when asked for and known. RTNORM, or the host's code of
// whatever ended the pick (RTERROR when nothing was picked).
int pickEntity(AcDbObjectId& id, const char* types, Adesk::GsMarker* marker = nullptr,
               AcGePoint3d* pickPoint = nullptr, AcGePoint3d* snapPoint = nullptr);
// 0 when the entity is invisible; otherwise 1 unless its layer is off, frozen, hidden or locked (1 when the
// layer cannot be read).
int isEntityVisible(const AcDbEntity* entity);
