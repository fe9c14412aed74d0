#include "host/rx/module_loader.h"

#include <algorithm>
#include <dlfcn.h>
#include <exception>

#include "host/filing/text_codec.h"
#include "host/lisp/lisp_functions.h"
#include "host/rx/host_versions.h"

namespace host {
namespace {

std::vector<std::unique_ptr<Module>>& modules() {
    static std::vector<std::unique_ptr<Module>> loaded;
    return loaded;
}

Module* find(void* appId) {
    for (auto& m : modules())
        if (m.get() == appId) return m.get();
    return nullptr;
}

Module*& current() {
    static Module* module = nullptr;
    return module;
}

// A module's answer to a message; an exception escaping the module counts as a refusal.
bool send(Module* module, AcRx::AppMsgCode message) {
    try {
        return sendToModule(module, message) == AcRx::kRetOK;
    } catch (...) {
        return false;
    }
}

// The module's entry point when it is built for the emulated host: the entry point of the host's family, and
// a version handshake that answers this host's version. Otherwise null, and `error` says what it is built
// for.
AcRxEntryPointFunction builtForThisHost(void* handle, const std::string& path, std::string& error) {
    const HostFacts& host = emulatedHost();
    auto entry = reinterpret_cast<AcRxEntryPointFunction>(dlsym(handle, entryPointName(host.zrx)));
    if (!entry) {
        error = dlsym(handle, entryPointName(!host.zrx))
                    ? "module " + path + " is built for " + (host.zrx ? "ObjectARX" : "ZRX") +
                          " hosts; this host emulates " + host.product
                    : "module " + path + " has no entry point " + entryPointName(host.zrx);
        return nullptr;
    }
    auto handshake = reinterpret_cast<int (*)()>(dlsym(handle, apiVersionName(host.zrx)));
    if (!handshake) {
        error = "module " + path + " does not say which host it is built for (it has no " +
                apiVersionName(host.zrx) + ")";
        return nullptr;
    }
    const int version = handshake();
    if (version == host.apiVersion) return entry;
    const HostFacts* builtFor = hostAnswering(host.zrx, version);
    error = "module " + path + " is built for " +
            (builtFor ? std::string(builtFor->product)
                      : "an unknown host (version " + std::to_string(version) + ")") +
            "; this host emulates " + host.product;
    return nullptr;
}

std::string baseName(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

AcRx::AppRetCode sendToModule(Module* module, AcRx::AppMsgCode message) {
    struct Current {
        Module* outer = current();
        ~Current() { current() = outer; }
    } scope;
    current() = module;
    return module->entryPoint(message, module);
}

Module* currentModule() {
    return current();
}

Module* loadModule(const std::string& path, std::string& error) {
    void* handle = dlopen(path.find('/') == std::string::npos ? ("./" + path).c_str() : path.c_str(),
                          RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        error = "cannot load module " + path + ": " + (why ? why : "unknown reason");
        return nullptr;
    }
    // The same file under any name gives the same handle: its registrations are already in place.
    for (const auto& m : modules()) {
        if (m->handle != handle) continue;
        dlclose(handle);
        error = "module " + path + " is already loaded (as " + m->path + ")";
        return nullptr;
    }
    AcRxEntryPointFunction entry = builtForThisHost(handle, path, error);
    if (!entry) {
        dlclose(handle);
        return nullptr;
    }
    auto module = std::make_unique<Module>();
    module->path = path;
    module->handle = handle;
    module->entryPoint = entry;
    Module* raw = module.get();
    modules().push_back(std::move(module));
    if (!send(raw, AcRx::kInitAppMsg)) {
        error = "module " + path + " refused to initialise";
        send(raw, AcRx::kUnloadAppMsg);
        dlclose(raw->handle);
        modules().pop_back();
        return nullptr;
    }
    return raw;
}

bool sendToModules(AcRx::AppMsgCode message) {
    bool all = true;
    for (auto& m : modules())
        all = send(m.get(), message) && all;
    return all;
}

bool unloadModule(Module* module, bool force) {
    auto& all = modules();
    auto it = std::find_if(all.begin(), all.end(), [module](const auto& m) { return m.get() == module; });
    if (it == all.end() || (module->locked && !force)) return false;
    send(module, AcRx::kUnloadAppMsg);
    undefineFunctionsOf(module);
    dlclose(module->handle);
    all.erase(it);
    return true;
}

void unloadAllModules() {
    while (!modules().empty())
        unloadModule(modules().back().get(), true);
}

const std::vector<std::unique_ptr<Module>>& loadedModules() {
    return modules();
}

} // namespace host

bool acrxUnlockApplication(void* appId) {
    host::Module* module = host::find(appId);
    if (module) module->locked = false;
    return module != nullptr;
}

bool acrxLockApplication(void* appId) {
    host::Module* module = host::find(appId);
    if (module) module->locked = true;
    return module != nullptr;
}

bool acrxApplicationIsLocked(const ACHAR* moduleName) {
    std::string name = moduleName ? host::toUtf8(moduleName) : "";
    for (const auto& m : host::loadedModules())
        if (host::baseName(m->path) == name || m->path == name) return m->locked;
    return false;
}
