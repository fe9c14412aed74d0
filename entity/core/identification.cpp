// Recognising entities of the family, whichever module registered their classes.
#include "entity/core/class_state.h"
#include "entity/core/poly_classes.h"

#include <cwchar>

int isCPolyArc3D(const AcRxObject* o) {
    if (!o) return 0;
    AcRxClass* c = o->isA();
    if (c && c == entity_state::tavroClass) return CPolyArc3D::kTavroKind;
    if (c && c == entity_state::polyArcClass) return CPolyArc3D::kPolyArcKind;
    if (!o->isKindOf(AcDbCurve::desc())) return 0;
    // The kind word is read only from an object that is one.
    const auto* poly = dynamic_cast<const CPolyArc3D*>(o);
    if (!poly) return 0;
    if (c == AcDbCurve::desc()) return 10;
    const int kind = poly->kindWord();
    if (std::wcscmp(c->dxfName(), L"ZORTAPOLY") == 0 && kind == CPolyArc3D::kPolyArcKind) {
        entity_state::polyArcClass = c;
        return kind;
    }
    if (std::wcscmp(c->dxfName(), L"TAVROPOLY") == 0 && kind == CPolyArc3D::kTavroKind) {
        entity_state::tavroClass = c;
        return kind;
    }
    return 0;
}

CPolyArc3D* CPolyArc3D::castPolyArc3D(void* p) {
    auto* o = static_cast<AcRxObject*>(p);
    return isCPolyArc3D(o) ? dynamic_cast<CPolyArc3D*>(o) : nullptr;
}

CPolyArc3D* CPolyArc3D::cast(const AcRxObject* o) {
    return castPolyArc3D(const_cast<AcRxObject*>(o));
}

AcRxClass* CPolyArc3D::desc() {
    if (entity_state::lastKind == kPolyArcKind && PolyArc3D::desc()) return PolyArc3D::desc();
    if (AcRxClass* tavro = tavro_poly::desc()) return tavro;
    return PolyArc3D::desc();
}
