#pragma once
// Selection sets: what a selection prompt chose, kept by the host under a name until it is freed. Each
// member remembers how it was chosen (a pick with its graphics marker and point, or not) for acedSSNameX.
#include <vector>

#include "host/db/db_object_id.h"
#include "host/db/resbuf.h"
#include "host/ge/ge.h"

int acedSSLength(const ads_name ss, Adesk::Int32* length);
int acedSSName(const ads_name ss, Adesk::Int32 index, ads_name entity);
// How member `index` was chosen: (1 <name> marker (0 (x y z))) for a pick, (0 <name> 0) otherwise. The
// caller frees the chain.
int acedSSNameX(resbuf** description, const ads_name ss, Adesk::Int32 index, unsigned int flags = 0);
int acedSSFree(const ads_name ss);
// Without a set, a new set holding `entity` (an empty one without it too); with one, `entity` added to it
// (once) and `result` names that set. RTERROR for a name that designates no set or no entity.
int acedSSAdd(const ads_name entity, const ads_name ss, ads_name result);
// Removes the entity from the set; RTERROR when the set or the entity is none or the entity is no member.
int acedSSDel(const ads_name entity, const ads_name ss);
// RTNORM when the entity is a member of the set, else RTERROR.
int acedSSMemb(const ads_name entity, const ads_name ss);
// The pick-first set: what was selected before a command started. Null clears it.
int acedSSSetFirst(const ads_name pset, const ads_name unused);
int acedSSGetFirst(resbuf** gripSet, resbuf** pickSet);

namespace host {

struct SelectionMember {
    AcDbObjectId id;
    bool picked = false;        // chosen by a pick at a point
    Adesk::GsMarker marker = 0; // picked: the graphics marker of the part hit
    AcGePoint3d point;          // picked: the point (world)
};

// A member chosen without a pick, and one picked at a point.
inline SelectionMember chosenMember(AcDbObjectId id) {
    SelectionMember m;
    m.id = id;
    return m;
}
inline SelectionMember pickedMember(AcDbObjectId id, Adesk::GsMarker marker, const AcGePoint3d& point) {
    SelectionMember m = chosenMember(id);
    m.picked = true;
    m.marker = marker;
    m.point = point;
    return m;
}

// Keeps `members` as a new set and names it.
void newSelectionSet(std::vector<SelectionMember> members, ads_name name);
// The members of a set; null for a name that designates none.
const std::vector<SelectionMember>* selectionMembers(const ads_name name);
const std::vector<SelectionMember>& pickFirst();
void setPickFirst(std::vector<SelectionMember> members);
// The last set the SELECT command made (the "previous" selection).
const std::vector<SelectionMember>& previousSelection();
void setPreviousSelection(std::vector<SelectionMember> members);
// Sets not freed yet (tests look for leaks).
int liveSelectionSets();
void resetSelectionSets();

} // namespace host
