#include "plugin/app/application.h"

#include "cadutil/command_line/print.h"
#include "cadutil/database/spaces.h"
#include "host/db/database.h"
#include "host/editor/acut.h"
#include "host/editor/documents.h"
#include "host/rx/dynamic_linker.h"
#include "host/rx/rx_app.h"
#include "host/rx/target_host.h"
#include "plugin/app/edit_reactor.h"
#include "plugin/app/lisp_table.h"
#include "plugin/app/menu_install.h"
#include "plugin/app/registration.h"
#include "services/startup/fvar.h"

namespace {

constexpr std::int32_t kPluginLoaded = 4;
constexpr const ACHAR* kService = L"ZortaPoly";

AcEditor* editor() {
    return AcEditor::cast(acrxSysRegistry()->at(host::target::kEditorKey));
}

} // namespace

void initApplication(void* appId) {
    acrxUnlockApplication(appId);
    if (auto* linker = AcRxDynamicLinker::cast(acrxSysRegistry()->at(L"DynamicLinker")))
        linker->registerAppMDIAware(appId);
    g_widePrintHook = acutPrintf;
    g_printHook = cmdprintf;
    registerClassesAndCommands();
    registerDemandLoad();
    vfVar.pluginFlags |= kPluginLoaded;
    if (!acrxServiceIsRegistered(kService)) acrxRegisterService(kService);
    g_pEditReactor = new myeditreact;
    if (AcEditor* e = editor()) e->addReactor(g_pEditReactor);
}

void unloadApplication() {
    if (g_pEditReactor) {
        if (AcEditor* e = editor()) e->removeReactor(g_pEditReactor);
        delete g_pEditReactor;
        g_pEditReactor = nullptr;
    }
    delete acrxServiceDictionary()->remove(kService);
    unloadRegistrations();
    unloadMenu();
    vfVar.pluginFlags &= ~kPluginLoaded;
}

void loadDrawing() {
    acdbRegApp(L"ZORTA");
    AcApDocument* doc = acDocManager->curDocument();
    if (g_pEditReactor) g_pEditReactor->dwgFileOpened(doc ? doc->database() : workingDatabase(), nullptr);
    defunLispFunctions();
}

void unloadDrawing() {
    undefLispFunctions();
}
