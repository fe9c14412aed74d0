// A module for the host's tests: it registers a class, a command, an editor reactor and a service, and
// takes them all back when it is unloaded (unless ZHOST_TEST_LEAK is set, to show what the host reports).
#include <cstdlib>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/editor/acut.h"
#include "host/editor/editor.h"
#include "host/editor/editor_commands.h"
#include "host/entities/point_ray_face.h"
#include "host/rx/rx_app.h"
#include "host/rx/target_host.h"

namespace {

class TestPoint : public AcDbPoint {
public:
    AcRxClass* isA() const override { return acrxFindAcRxClass(L"TestPoint"); }
};

AcRxObject* makeTestPoint() {
    return new TestPoint;
}

class Reactor : public AcEditorReactor {
public:
    void commandEnded(const ACHAR* name) override { acutPrintf(L"\n%s fini", name); }
};

Reactor reactor;

void addPoint() {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    AcDbBlockTableRecord* model = nullptr;
    if (acdbOpenObject(model, db->modelSpaceId(), AcDb::kForWrite) != Acad::eOk) return;
    auto* point = new TestPoint;
    point->setPosition(AcGePoint3d(1, 2, 3));
    model->appendAcDbEntity(point);
    point->close();
    model->close();
    acutPrintf(L"point en 1,2,3"); // on the line the command's name ended, as modules print
}

} // namespace

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode message, void* appId) {
    switch (message) {
    case AcRx::kInitAppMsg:
        acrxUnlockApplication(appId);
        newAcRxClass(L"TestPoint", L"AcDbPoint", 33, 174, 0, makeTestPoint, L"TESTPOINT", L"zhost tests");
        acedRegCmds->addCommand(L"TEST_GROUP", L"TESTADD", L"AJOUTE", Acad::kModal, addPoint);
        acedEditor->addReactor(&reactor);
        acrxRegisterService(L"TestService");
        break;
    case AcRx::kLoadDwgMsg:
        acdbRegApp(L"TESTAPP");
        break;
    case AcRx::kUnloadAppMsg:
        if (std::getenv("ZHOST_TEST_LEAK")) break;
        acedEditor->removeReactor(&reactor);
        acedRegCmds->removeGroup(L"TEST_GROUP");
        deleteAcRxClass(acrxFindAcRxClass(L"TestPoint"));
        delete acrxServiceDictionary()->remove(L"TestService");
        break;
    default:
        break;
    }
    return AcRx::kRetOK;
}
