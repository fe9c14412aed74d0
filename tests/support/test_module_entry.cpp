#include "tests/support/test_module_entry.h"

#include "host/lisp/lisp_functions.h"
#include "host/rx/dynamic_linker.h"
#include "host/rx/target_host.h"

extern "C" int acrxGetApiVersion() {
    return host::target::kFacts.apiVersion;
}

namespace testing_support {

AcRx::AppRetCode answerLispModule(AcRx::AppMsgCode message, void* appId,
                                  std::span<const LispFunction> functions, bool (*call)(int code)) {
    switch (message) {
    case AcRx::kInitAppMsg:
        acrxUnlockApplication(appId);
        acrxDynamicLinker->registerAppMDIAware(appId);
        break;
    case AcRx::kLoadDwgMsg:
        for (const auto& f : functions)
            acedDefun(f.name, f.code);
        break;
    case AcRx::kUnloadDwgMsg:
        for (const auto& f : functions)
            acedUndef(f.name, f.code);
        break;
    case AcRx::kInvkSubrMsg:
        return call(acedGetFunCode()) ? AcRx::AppRetCode(RSRSLT) : AcRx::kRetError;
    default:
        break;
    }
    return AcRx::kRetOK;
}

} // namespace testing_support
