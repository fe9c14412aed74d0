// The editor's life: opening on an entity or a new one, the entity opened and closed around each step, the
// pending vertices, the menus and the end.
#include "plugin/editor/qpoly_edit.h"

#include "cadutil/command_line/print.h"
#include "cadutil/database/host_variables.h"
#include "cadutil/database/spaces.h"
#include "host/editor/menus.h"
#include "plugin/editor/segment_jig.h"

namespace {

AcDbFullSubentPathArray g_wholeEntityMark;

constexpr const ACHAR* kMenuGroups[] = {L"qel", L"qellite", L"ZORTAPOLY"};

} // namespace

AcDbFullSubentPathArray* const qpoly_edit::kWholeEntityHighlighted = &g_wholeEntityMark;

qpoly_edit::qpoly_edit(AcDbObjectId editedId, CPolyArc3D* templateEntity, int readOnlyFallback) {
    resbuf rb{};
    int shortcutMenu = 0;
    if (getVar("SHORTCUTMENU", &rb) == RTNORM && rbToInt(&shortcutMenu, &rb) == RTNORM) {
        savedShortcutMenu = shortcutMenu;
        setVarShort("SHORTCUTMENU", 0);
    }
    id = editedId;
    if (!id.isNull()) {
        if (recordUndoImage()) {
            openWrite();
        } else if (readOnlyFallback) {
            openRead();
            closeEntity();
            return;
        } else {
            id.setNull();
        }
    }
    if (id.isNull()) {
        if (!templateEntity) {
            msgBox("Pas d'ID de Poly Valide en Entr\xe9"
                   "e >> *** Erreur le 28/12/2011***");
            return;
        }
        createFromTemplate(templateEntity);
        if (!entity) return;
    }
    if (entity->kindWord() == CPolyArc3D::kTavroKind || entity->kindWord() == CPolyArc3D::kPolyArcKind)
        entity->setLastFlagCPolyArc3D();
    entity->setVisibility(AcDb::kVisible);
    // The editor's own steps are not recorded one by one: the image taken on opening brings the whole back.
    entity->disableUndoRecording(true);
    entity->assertWriteEnabled(false, true);
    closeEntity();
}

qpoly_edit::~qpoly_edit() {
    closeEntity();
    removeHighlight();
    delete jig;
}

bool qpoly_edit::recordUndoImage() {
    if (!openWrite()) return false;
    entity->disableUndoRecording(false);
    entity->assertWriteEnabled(true, true);
    closeEntity();
    return true;
}

void qpoly_edit::createFromTemplate(CPolyArc3D* templateEntity) {
    CPolyArc3D* created = templateEntity->newCPolyArc3D();
    if (!created) return;
    if (appendEntityToSpace(id, created, -1).isNull()) {
        delete created;
        return;
    }
    m_created = true;
    created->setDatabaseDefaults();
    if (resbuf* xdata = templateEntity->xData()) {
        created->setXData(xdata);
        acutRelRb(xdata);
    }
    created->close();
    openWrite();
}

void qpoly_edit::openEntity(AcDb::OpenMode mode) {
    closeEntity();
    if (id.isNull() || acdbOpenObject(entity, id, mode) != Acad::eOk) {
        entity = nullptr;
        return;
    }
    openState |= mode == AcDb::kForWrite ? 0x303u : 0x101u;
}

CPolyArc3D* qpoly_edit::openRead() {
    openEntity(AcDb::kForRead);
    return entity;
}

CPolyArc3D* qpoly_edit::openWrite() {
    openEntity(AcDb::kForWrite);
    if (entity) entity->assertWriteEnabled();
    return entity;
}

void qpoly_edit::closeEntity() {
    if (entity) entity->close();
    entity = nullptr;
    openState &= ~0xFFu;
}

bool qpoly_edit::inList(const P_Vertex* v) const {
    return v && entity && (*entity)[v] >= 0;
}

int qpoly_edit::setMenus(int mode) {
    static constexpr const char* kWords[] = {"1", "PSAISIE", "PMODIF", "PWAY"};
    if (mode == menuMode) return 0;
    menuMode = mode;
    const ACHAR* group = nullptr;
    for (const ACHAR* candidate : kMenuGroups)
        if (acedIsMenuGroupLoaded(candidate)) {
            group = candidate;
            break;
        }
    if (!group) return 1;
    if (mode < 0 || mode > 3) return 0;
    std::wstring word(kWords[mode], kWords[mode] + std::char_traits<char>::length(kWords[mode]));
    std::wstring popup = L"P0=" + std::wstring(group) + L".COMMAND_" + word;
    for (wchar_t& c : popup)
        c = static_cast<wchar_t>(std::towupper(c));
    acedMenuCmd(popup.c_str());
    acedMenuCmd((L"A1=" + std::wstring(group) + L".AUX1").c_str());
    return 1;
}

void qpoly_edit::dropPendingVertex(P_Vertex*& pending) {
    if (!pending) return;
    P_Vertex* v = pending;
    pending = nullptr;
    if (!inList(v)) return;
    const bool wasCurrent = v == current;
    const bool wasStretchEnd = v == wayFixed || v == wayMoving;
    if (wasCurrent) {
        P_Vertex* before = entity->Bxyz(v);
        P_Vertex* after = entity->Nxyz(v);
        current = direction > 0 ? (before ? before : after) : (after ? after : before);
    }
    if (v == wayFixed) wayFixed = nullptr;
    if (v == wayMoving) wayMoving = nullptr;
    if (v == arcMiddle) arcMiddle = nullptr;
    // The rubber vertex takes the generated vertices of its segment with it (an arc shaped on the vertex it
    // was added to): left behind, they would end the polyline on a copy of that vertex.
    entity->D(v, &pending == &rubber ? -direction : 0);
    if (wasCurrent || wasStretchEnd) setWay(current, kOneSegment);
}

void qpoly_edit::dropPending() {
    if (!entity && id.isNull()) {
        arcMiddle = rubber = nullptr;
        return;
    }
    if (!arcMiddle && !rubber) return;
    const bool wasOpen = (openState & kOpen) != 0;
    if (!isOpenForWrite() && !openWrite()) {
        arcMiddle = rubber = nullptr;
        return;
    }
    dropPendingVertex(arcMiddle);
    dropPendingVertex(rubber);
    if (!wasOpen) closeEntity();
}

void qpoly_edit::close() {
    if (savedShortcutMenu > 0) setVarShort("SHORTCUTMENU", static_cast<short>(savedShortcutMenu));
    dropPending();
    closeEntity();
    if (openWrite()) {
        highlightStretch(0);
        entity->unhighlight();
        if (entity->GetCount(0) >= 2) {
            entity->disableUndoRecording(false);
        } else {
            entity->RemoveAll();
            // An entity the user opened comes back with UNDO; one made by this session was never there.
            entity->disableUndoRecording(m_created);
            entity->erase();
        }
        closeEntity();
    }
    delete jig;
    jig = nullptr;
}
