// What the entity adds to the host's open, close, erase and saving to older formats.
#include <cmath>

#include "entity/core/boundary.h"
#include "entity/core/class_state.h"
#include "entity/core/poly_arc3d.h"
#include "geometry/points/angle_units.h"
#include "host/entities/polylines.h"
#include "platform/ui/keyboard.h"
#include "services/output/output.h"
#include "services/startup/shared_records.h"

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

// Formats that know no polyline of this kind get a host polyline instead: a 2-D one for a flat polyline
// whose mode asks for nothing else, a 3-D one (arcs cut into chords) otherwise.
bool CPolyArc3D::savesAs3dPolyline() const {
    if ((m_f70 & 8) || (m_f71 & 3) == 3) return true;
    for (const P_Vertex* v = m_pHead; v; v = v->pVN)
        if (std::fabs(v->pt.z - m_pHead->pt.z) > _ecpt) return true;
    return false;
}

Acad::ErrorStatus CPolyArc3D::decomposeForSave(AcDb::AcDbDwgVersion version, AcDbObject*& replaceObj,
                                               AcDbObjectId& replaceId, bool& exchangeXData) {
    constexpr double kChordDeviation = 0.02;
    try {
        if (version > AcDb::kDHL_1013)
            return AcDbCurve::decomposeForSave(version, replaceObj, replaceId, exchangeXData);
        AcDbObject* replacement = savesAs3dPolyline()
                                      ? static_cast<AcDbObject*>(to3d(0, kChordDeviation, nullptr))
                                      : to2d(0, nullptr);
        // Without a conversion the entity is saved as it is.
        if (!replacement) return AcDbCurve::decomposeForSave(version, replaceObj, replaceId, exchangeXData);
        replaceObj = replacement;
        return Acad::eOk;
    } catch (...) {
        return entity_boundary::reportFailure("\nProbleme avec CPolyArc3D::decomposeForSave()");
    }
}
