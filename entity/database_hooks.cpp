// What the entity adds to the host's open, close and erase.
#include "entity/boundary.h"
#include "entity/class_state.h"
#include "entity/poly_arc3d.h"
#include "platform/keyboard.h"
#include "services/output.h"
#include "services/shared_records.h"

// A program of the product family sets SelectAcAdInputEnCours while it selects: bit 0 or 1 a selection in
// progress, bit 3 announce without the Control key.
void CPolyArc3D::announceOnOpen() const {
    const std::int32_t selecting = SelectAcAdInputEnCours;
    if (!(selecting & 3) || !((selecting & 8) || platform::isControlKeyDown())) {
        entity_state::lastAnnounced = nullptr;
        return;
    }
    if (stub() == entity_state::lastAnnounced) return;
    mprintf(L"\n %s %s plan %s de %d Sommets ", m_Kind == kTavroKind ? L"TAVROPOLY" : L"ZORTAPOLY",
            linetype(), layer(), m_nVertex);
    entity_state::lastAnnounced = stub();
}

Acad::ErrorStatus CPolyArc3D::subOpen(AcDb::OpenMode mode) {
    const Acad::ErrorStatus es = AcDbCurve::subOpen(mode);
    if (es == Acad::eOk && mode == AcDb::kForRead) announceOnOpen();
    return es;
}

Acad::ErrorStatus CPolyArc3D::subClose() {
    if (isWriteEnabled() && isModified()) MajExtremite();
    return AcDbCurve::subClose();
}

Acad::ErrorStatus CPolyArc3D::subErase(bool erasing) {
    try {
        POLYModif(1);
        disableUndoRecording(false);
        return AcDbCurve::subErase(erasing);
    } catch (...) {
        return entity_boundary::reportFailure("\nProbleme avec CPolyArc3D::subErase()");
    }
}
