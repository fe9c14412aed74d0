#include "host/graphics/highlights.h"

#include <map>

#include "host/entities/entity.h"

namespace host {

namespace {

std::map<AcDbObjectId, Highlight>& highlights() {
    static std::map<AcDbObjectId, Highlight> table;
    return table;
}

} // namespace

Highlight highlightOf(AcDbObjectId id) {
    auto it = highlights().find(id);
    return it == highlights().end() ? Highlight{} : it->second;
}

void setHighlight(AcDbObjectId id, const Highlight& highlight) {
    if (highlight.empty())
        highlights().erase(id);
    else
        highlights()[id] = highlight;
}

void resetHighlights() {
    highlights().clear();
}

} // namespace host

namespace {

// Turns the path's parts on or off in the entity's highlight.
Acad::ErrorStatus changeHighlight(const AcDbEntity& entity, const AcDbFullSubentPath& path, bool on) {
    const AcDbObjectId id = entity.objectId();
    if (id.isNull()) return Acad::eNotInDatabase;
    host::Highlight highlight = host::highlightOf(id);
    if (path.subentId().type() == AcDb::kNullSubentType) {
        highlight.whole = on;
        if (!on) highlight.markers.clear();
    } else {
        AcDbGsMarkerArray markers;
        Acad::ErrorStatus es = entity.getGsMarkersAtSubentPath(path, markers);
        if (es != Acad::eOk) return es;
        for (Adesk::GsMarker marker : markers)
            if (on)
                highlight.markers.insert(marker);
            else
                highlight.markers.erase(marker);
    }
    host::setHighlight(id, highlight);
    return Acad::eOk;
}

} // namespace

Acad::ErrorStatus AcDbEntity::highlight(const AcDbFullSubentPath& path, bool) const {
    return changeHighlight(*this, path, true);
}

Acad::ErrorStatus AcDbEntity::unhighlight(const AcDbFullSubentPath& path, bool) const {
    return changeHighlight(*this, path, false);
}
