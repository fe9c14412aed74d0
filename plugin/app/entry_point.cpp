// The module's entry: the host's version handshake and its application messages.
#include "cadutil/command_line/print.h"
#include "host/rx/rx_app.h"
#include "host/rx/target_host.h"
#include "plugin/app/application.h"
#include "plugin/app/lisp_table.h"

extern "C" int acrxGetApiVersion() {
    return host::target::kFacts.apiVersion;
}

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode message, void* appId) {
    try {
        switch (message) {
        case AcRx::kInitAppMsg:
            initApplication(appId);
            break;
        case AcRx::kUnloadAppMsg:
            unloadApplication();
            break;
        case AcRx::kLoadDwgMsg:
            loadDrawing();
            break;
        case AcRx::kUnloadDwgMsg:
            unloadDrawing();
            break;
        case AcRx::kInvkSubrMsg:
            invokeLispFunction();
            break;
        default:
            break;
        }
    } catch (...) {
        msgprintf("\nProbleme avec acrxEntryPoint(%d)", static_cast<int>(message));
    }
    return AcRx::kRetOK;
}
