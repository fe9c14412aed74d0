#include "entity/core/class_state.h"

#include "entity/core/poly_arc3d.h"

namespace entity_state {
int lastKind = CPolyArc3D::kPolyArcKind;
const host::ObjectStub* lastAnnounced = nullptr;
double headerOnlySwitch = 1.0;
AcRxClass* tavroClass = nullptr;
AcRxClass* polyArcClass = nullptr;

AcRxClass*& recognisedClass(int kind) {
    return kind == CPolyArc3D::kTavroKind ? tavroClass : polyArcClass;
}
} // namespace entity_state

CPolyArc3D::NodeBlock* CPolyArc3D::gm_pBlocks = nullptr;
P_Vertex* CPolyArc3D::gm_pNodeFree = nullptr;
int CPolyArc3D::gm_nCount = 0;
int CPolyArc3D::gm_nelements = 0;
int CPolyArc3D::g_PolyEntgetOption = CPolyArc3D::g_PolyEntgetOptDef;
int CPolyArc3D::m_Sz3DSpaceOpt = 1;
int CPolyArc3D::m_PolyArc3dCmdeFlag = 0;

void CPolyArc3D::resetClassState() {
    g_PolyEntgetOption = g_PolyEntgetOptDef;
    m_Sz3DSpaceOpt = 1;
    m_PolyArc3dCmdeFlag = 0;
    entity_state::lastKind = kPolyArcKind;
    entity_state::lastAnnounced = nullptr;
    entity_state::headerOnlySwitch = 1.0;
}
