// Registration of the two classes with the host, their class look-ups and their casts.
#include "entity/core/class_state.h"
#include "entity/core/poly_classes.h"
#include "host/rx/target_host.h"
#include "services/output/output.h"
#include "services/settings/settings_store.h"

namespace {

constexpr int kDwgVersion = 33;
constexpr int kMaintenanceVersion = 174;
constexpr int kProxyFlags = 3071;
constexpr const ACHAR* kApplication = L"ZORTAPOLY : polyligne 3D avec arcs";

} // namespace

template <class Self> AcRxClass* RegisteredPoly<Self>::desc() {
    if (!gpDesc) gpDesc = host::target::findClass(Self::className());
    return gpDesc;
}

template <class Self> Self* RegisteredPoly<Self>::cast(const AcRxObject* o) {
    AcRxClass* c = desc();
    return o && c && o->isKindOf(c) ? dynamic_cast<Self*>(const_cast<AcRxObject*>(o)) : nullptr;
}

template <class Self> AcRxClass* RegisteredPoly<Self>::isA() const {
    AcRxClass* c = desc();
    return c ? c : AcDbCurve::desc();
}

// Another class under the name or the DXF name is left in place: the registration is refused and reported.
template <class Self> bool RegisteredPoly<Self>::rxInit(AppNameChangeFuncPtr callback) {
    AcDbCurve::desc(); // the parent is found by name
    AcRxClass* existing = host::target::findClass(Self::className());
    if (existing && existing == gpDesc) return true;
    gpDesc = existing ? nullptr
                      : newAcRxClass(Self::className(), L"AcDbCurve", kDwgVersion, kMaintenanceVersion,
                                     kProxyFlags, createObject, Self::dxfName(), kApplication, callback);
    if (!gpDesc) {
        mprintf(L"\nProbleme avec %s::rxInit() : une autre classe porte le nom %s ou %s", Self::className(),
                Self::className(), Self::dxfName());
        return false;
    }
    entity_state::recognisedClass(Self::kKind) = gpDesc;
    return true;
}

template <class Self> void RegisteredPoly<Self>::rxUninit() {
    if (gpDesc && host::target::findClass(Self::className()) == gpDesc) deleteAcRxClass(gpDesc);
    AcRxClass*& recognised = entity_state::recognisedClass(Self::kKind);
    if (recognised == gpDesc) recognised = nullptr;
    gpDesc = nullptr;
}

template class RegisteredPoly<PolyArc3D>;
template class RegisteredPoly<tavro_poly>;

int tavro_poly::m_iniTavroPoly = 0;

bool tavro_poly::rxInit(AppNameChangeFuncPtr callback) {
    if (!RegisteredPoly::rxInit(callback)) return false;
    geti_ini("ZORTA", "TAVRO", "lr", "TAVROPOLY", &m_iniTavroPoly);
    return true;
}
