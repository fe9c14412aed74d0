#pragma once
// Modules (plug-ins) loaded with dlopen and driven through their entry point.
#include <memory>
#include <string>
#include <vector>

#include "host/rx/rx_app.h"

namespace host {

struct Module {
    std::string path;
    void* handle = nullptr;
    AcRxEntryPointFunction entryPoint = nullptr;
    bool locked = true;
    bool mdiAware = false; // works with several drawings open at once
};

// Loads the module and sends it the initialisation message. A module must be built for the emulated host
// (host/host_versions.h): it exports that family's entry point ("acrxEntryPoint" or "zcrxEntryPoint") and a
// version handshake ("acrxGetApiVersion" or "zcrxGetApiVersion") answering the host's version. On failure (no
// file, built for another host, already loaded, the module refuses) nothing stays loaded and `error` says
// why.
Module* loadModule(const std::string& path, std::string& error);
// Sends one module a message and answers what it says. While the module handles it, it is the current
// module: what it defines then (LISP functions) belongs to it.
AcRx::AppRetCode sendToModule(Module* module, AcRx::AppMsgCode message);
// The module handling a message now, or null.
Module* currentModule();
// Sends a message to every loaded module, in load order; answers false when one refuses.
bool sendToModules(AcRx::AppMsgCode message);
// Sends the unload message and closes the module; a locked one is refused unless forced.
bool unloadModule(Module* module, bool force = false);
// Unloads every module, last loaded first (at the end of the host, and between tests).
void unloadAllModules();
const std::vector<std::unique_ptr<Module>>& loadedModules();

} // namespace host
