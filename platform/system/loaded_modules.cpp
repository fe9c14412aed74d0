#include "platform/system/loaded_modules.h"

#include <dlfcn.h>
#include <strings.h>

namespace platform {

std::string sharedObjectName(std::string_view windowsName) {
    constexpr std::string_view kDll = ".DLL";
    std::string_view stem = windowsName;
    if (stem.size() > kDll.size() &&
        strncasecmp(stem.data() + stem.size() - kDll.size(), kDll.data(), kDll.size()) == 0)
        stem.remove_suffix(kDll.size());
    std::string name = "lib";
    name.append(stem);
    name.append(".so");
    return name;
}

void* findLoadedModule(std::string_view windowsName) {
    void* module = dlopen(sharedObjectName(windowsName).c_str(), RTLD_LAZY | RTLD_NOLOAD);
    // RTLD_NOLOAD still counts a reference; GetModuleHandleA takes none, and the module stays loaded by
    // whoever loaded it, so the handle remains valid.
    if (module) dlclose(module);
    return module;
}

void* findModuleSymbol(void* module, const char* symbol) {
    return module && symbol ? dlsym(module, symbol) : nullptr;
}

void* moduleOfAddress(const void* address) {
    Dl_info info{};
    return dladdr(address, &info) ? info.dli_fbase : nullptr;
}

} // namespace platform
