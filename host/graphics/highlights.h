#pragma once
// What each entity has highlighted: the whole of it, or the parts under some graphics markers. The drawing
// shows it; tests ask for it.
#include <set>

#include "host/db/db_object_id.h"
#include "host/rx/adesk.h"

namespace host {

struct Highlight {
    bool whole = false;
    std::set<Adesk::GsMarker> markers;
    bool empty() const { return !whole && markers.empty(); }
};

// What the entity has highlighted (nothing for an entity never highlighted).
Highlight highlightOf(AcDbObjectId id);
void setHighlight(AcDbObjectId id, const Highlight& highlight);
// Test support: forgets every highlight.
void resetHighlights();

} // namespace host
