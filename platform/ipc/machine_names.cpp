#include "platform/ipc/machine_names.h"

#include <cstdlib>

namespace platform {

const std::string& machineNamespace() {
    // Never destroyed: the library's unload step runs after the static destructors and still needs the names.
    static const std::string* prefix = [] {
        const char* value = std::getenv("ZORTA_NAMESPACE");
        return new std::string(value ? value : "");
    }();
    return *prefix;
}

std::string machineName(std::string_view name) {
    std::string full = machineNamespace();
    full.append(name);
    return full;
}

} // namespace platform
