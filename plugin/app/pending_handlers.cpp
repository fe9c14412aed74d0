// Commands whose work is not written yet. Each command registers its help topic and then ends the way the
// command ends when it cannot go on: silently. The double click and ZOR_PAS start no editor session yet.
#include "plugin/app/command_handlers.h"
#include "plugin/app/help.h"

namespace {

constexpr const ACHAR* kPage = L"ZORTAPOLY";

int endsWithHelp(const ACHAR* topic, const ACHAR* page) {
    setCmdHelp(L"", topic, page);
    return 0;
}

} // namespace

int c_pst_qpoly() {
    return endsWithHelp(L"ID_Z3D_suit", kPage);
}
int c_modif_qpoly() {
    return endsWithHelp(L"id_Z3D_mod", kPage);
}

void editPolylineAtPick(const AcDbObjectId&, const AcGePoint3d&) {}
void editNewPolyline() {}
