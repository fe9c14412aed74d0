#include "plugin/application.h"

#include "host/acut.h"
#include "host/database.h"
#include "host/documents.h"
#include "host/dynamic_linker.h"
#include "host/rx_app.h"
#include "host/target_host.h"
#include "plugin/edit_reactor.h"
#include "plugin/lisp_table.h"
#include "plugin/menu_install.h"
#include "plugin/print.h"
#include "plugin/registration.h"
#include "plugin/spaces.h"
#include "services/fvar.h"

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
