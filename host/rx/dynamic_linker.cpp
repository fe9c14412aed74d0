#include "host/rx/dynamic_linker.h"

#include "host/rx/module_loader.h"

HOST_DEFINE_MEMBERS_WITH(AcRxDynamicLinker, AcRxObject, L"", nullptr)

AcRxDynamicLinker* acrxDynamicLinker = [] {
    auto* linker = new AcRxDynamicLinker;
    acrxSysRegistry()->atPut(L"DynamicLinker", linker);
    return linker;
}();

namespace {

host::Module* loaded(const void* appId) {
    for (const auto& m : host::loadedModules())
        if (m.get() == appId) return m.get();
    return nullptr;
}

} // namespace

bool AcRxDynamicLinker::registerAppMDIAware(void* appId) {
    host::Module* module = loaded(appId);
    if (module) module->mdiAware = true;
    return module != nullptr;
}

bool AcRxDynamicLinker::isAppMDIAware(void* appId) const {
    host::Module* module = loaded(appId);
    return module && module->mdiAware;
}
