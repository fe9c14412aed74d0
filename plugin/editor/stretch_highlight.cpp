// Showing the selected stretch: one highlighted edge per segment, or the whole entity when the stretch covers
// it; and the view test of the moving keywords.
#include "cadutil/command_line/print.h"
#include "host/entities/entity.h"
#include "host/selection/selection_sets.h"
#include "host/selection/ssget.h"
#include "plugin/editor/cursor_position.h"
#include "plugin/editor/editor_state.h"
#include "plugin/editor/qpoly_edit.h"
#include "services/startup/startup.h"

void qpoly_edit::removeHighlight() {
    if (highlightPath == kWholeEntityHighlighted) {
        if (entity) entity->unhighlight();
    } else if (highlightPath) {
        if (entity)
            for (const AcDbFullSubentPath& path : *highlightPath)
                entity->unhighlight(path);
        delete highlightPath;
    }
    highlightPath = nullptr;
}

int qpoly_edit::highlightStretch(int flag) {
    const bool wasClosed = (openState & kOpen) == 0;
    if (wasClosed && !openRead()) return 0;
    removeHighlight();
    int segments = 0;
    if (goState == 0) {
        segments = 0;
    } else if (!flag) {
        segments = 1;
    } else {
        P_Vertex *start, *end;
        getStretch(start, end);
        if (!inList(start)) {
            msgprintf("\n******** ERREUR ***pv1 = %p ****", static_cast<void*>(start));
            editor_state::errorBeep();
        } else {
            auto* paths = new AcDbFullSubentPathArray;
            for (P_Vertex* v = start; v && segments <= entity->GetCount();) {
                if (v == end && segments >= minSegments) break;
                P_Vertex* next = entity->N(v);
                if (!next) break;
                // Segment k - 1 draws under marker k.
                paths->append(AcDbFullSubentPath(id, AcDb::kEdgeSubentType, (*entity)[v]));
                ++segments;
                v = next;
                if (v == start && v != end) break;
            }
            const int everySegment = entity->GetCount() - 1 + (entity->f70() & 1);
            if (segments < everySegment) {
                highlightPath = paths;
                for (const AcDbFullSubentPath& path : *paths)
                    entity->highlight(path);
            } else {
                delete paths;
                highlightPath = kWholeEntityHighlighted;
                entity->highlight();
            }
        }
    }
    if (wasClosed) closeEntity();
    return segments;
}

int qpoly_edit::viewTest(const CPoint3d* point) {
    editor_state::EditorGlobals& state = editor_state::globals();
    if (state.zoomTestMode == editor_state::kNoViewTest) return 1;
    CPoint3d p;
    if (point) {
        p = *point;
    } else if (current) {
        p = current->pt;
    }
    if (entity) p = entity->WorldPoint(&p);
    if (state.zoomTestMode == editor_state::kCentreView) {
        if (p == state.lastViewPoint) return 1;
        if (services::libraryModule()) setCursorPos(p);
        state.lastViewPoint = p;
        return 1;
    }
    ads_point at = {p.x, p.y, p.z};
    ads_name found;
    if (acedSSGet(nullptr, at, nullptr, nullptr, found) != RTNORM) return 0;
    acedSSFree(found);
    return 1;
}
