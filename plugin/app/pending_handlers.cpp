// Commands and LISP functions whose work is not written yet. Each command registers its help topic and then
// ends the way the command ends when it cannot go on: silently. The LISP functions answer nil. The double
// click starts no editor session yet.
#include "host/lisp/lisp_functions.h"
#include "plugin/app/command_handlers.h"
#include "plugin/app/help.h"

namespace {

constexpr const ACHAR* kPage = L"ZORTAPOLY";

int endsWithHelp(const ACHAR* topic, const ACHAR* page) {
    setCmdHelp(L"", topic, page);
    return 0;
}

} // namespace

int c_get_qpoly() {
    return endsWithHelp(L"id_Z3D_poly", kPage);
}
int c_get_comme() {
    return endsWithHelp(L"ID_Z3D_AS", kPage);
}
int c_pst_qpoly() {
    return endsWithHelp(L"ID_Z3D_suit", kPage);
}
int c_inv_qpoly() {
    return endsWithHelp(L"ID_Z3D_inv", kPage);
}
int c_modif_qpoly() {
    return endsWithHelp(L"id_Z3D_mod", kPage);
}
int c_SetTefColor() {
    return endsWithHelp(L"ID_Z3D_TEFCOLOR", kPage);
}
int c_polyz() {
    return endsWithHelp(L"id_Z3D_PZ", kPage);
}
int c_polyLH() {
    return endsWithHelp(L"id_Z3D_PLH", kPage);
}
int c_Z3dSpace() {
    return endsWithHelp(L"ID_Z3D_Z3DSPACE", nullptr);
}
int c_EDelParc() {
    return endsWithHelp(L"ID_Z3D_EDELPARC", nullptr);
}
int c_PolyLisse() {
    return endsWithHelp(L"ID_Z3D_POLYLISSE", nullptr);
}
int c_EpurePoints() {
    return endsWithHelp(L"ID_Z3D_EPUR_PTS", nullptr);
}
int c_LisseCNiv() {
    return endsWithHelp(L"ID_Z3D_LISSENIV", nullptr);
}
int c_Extend() {
    return endsWithHelp(L"ID_ZOR_EXTEND", L"ZortaPoly");
}
int c_ApplyCarto() {
    return 0;
}

int lisp_pending() {
    acedRetNil();
    return 1;
}

void editPolylineAtPick(const AcDbObjectId&, const AcGePoint3d&) {}
